#include "picture_set.h"

namespace talvoro::skins {

ui::Canvas& PictureSet::add(const std::string& name, int width, int height) {
    captions_.set_picture(name);
    pictures_.push_back({name, ui::Canvas(width, height, scale_)});
    return pictures_.back().canvas;
}

void PictureSet::add(const std::string& name, ui::Canvas canvas) {
    pictures_.push_back({name, std::move(canvas)});
}

}  // namespace talvoro::skins
