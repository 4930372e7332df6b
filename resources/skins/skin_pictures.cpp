#include "skin_pictures.h"

namespace talvoro::skins {

void add_shared_pictures(PictureSet& pictures) {
    add_shared_window_pictures(pictures);
    add_shared_main_control_pictures(pictures);
    add_shared_macro_pictures(pictures);
    add_shared_popup_pictures(pictures);
}

void add_language_pictures(const Captions& captions, PictureSet& pictures) {
    add_window_pictures(captions, pictures);
    add_profile_pictures(captions, pictures);
    add_main_control_pictures(captions, pictures);
    add_performance_pictures(captions, pictures);
    add_macro_pictures(captions, pictures);
    add_support_pictures(captions, pictures);
    add_popup_pictures(captions, pictures);
}

}  // namespace talvoro::skins
