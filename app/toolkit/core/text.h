// Text over several lines, wrapped at word boundaries.
#pragma once
#include "core/label.h"

namespace talvoro::ui {

class CTextUI : public CLabelUI {
  public:
    std::string_view class_name() const override { return "Text"; }

  protected:
    unsigned text_flags() const override { return kTextWordBreak; }
};

}  // namespace talvoro::ui
