// Which pictures a skin folder holds, their sizes and what each shows. The layouts take
// the pictures' cells by source rectangles; the sizes here are the layouts' control sizes.
#pragma once

#include "captions.h"
#include "picture_set.h"

namespace talvoro::skins {

// Pictures without captions, the same in every folder: drawn once.
void add_shared_pictures(PictureSet& pictures);
// Pictures carrying the captions of one language.
void add_language_pictures(const Captions& captions, PictureSet& pictures);

// The parts, one per window or page.
void add_shared_window_pictures(PictureSet& pictures);
void add_window_pictures(const Captions& captions, PictureSet& pictures);
void add_profile_pictures(const Captions& captions, PictureSet& pictures);
void add_shared_main_control_pictures(PictureSet& pictures);
void add_main_control_pictures(const Captions& captions, PictureSet& pictures);
void add_performance_pictures(const Captions& captions, PictureSet& pictures);
void add_shared_macro_pictures(PictureSet& pictures);
void add_macro_pictures(const Captions& captions, PictureSet& pictures);
void add_support_pictures(const Captions& captions, PictureSet& pictures);
void add_shared_popup_pictures(PictureSet& pictures);
void add_popup_pictures(const Captions& captions, PictureSet& pictures);

}  // namespace talvoro::skins
