// The pictures of one skin folder as they are drawn, before they are written: each with its
// file name, and the captions log that checks every caption painted into them.
#pragma once

#include <deque>
#include <string>

#include "caption_log.h"
#include "render/canvas.h"

namespace talvoro::skins {

struct SkinPicture {
    std::string name;  // file name; ".bmp" files are written as 24-bit BMP, the rest as PNG
    ui::Canvas canvas;
};

class PictureSet {
  public:
    // The pictures are drawn `scale` times the layouts' size.
    explicit PictureSet(CaptionLog& captions, ui::DisplayScale scale = {})
        : captions_(captions), scale_(scale) {}
    ui::DisplayScale scale() const { return scale_; }

    // A new transparent picture of logical size; the captions painted next are reported under
    // its name.
    ui::Canvas& add(const std::string& name, int width, int height);
    // Adds a picture drawn elsewhere.
    void add(const std::string& name, ui::Canvas canvas);

    CaptionLog& captions() { return captions_; }
    const std::deque<SkinPicture>& pictures() const { return pictures_; }

  private:
    CaptionLog& captions_;
    ui::DisplayScale scale_;
    // A deque, so that a picture being drawn stays put while later ones are added.
    std::deque<SkinPicture> pictures_;
};

}  // namespace talvoro::skins
