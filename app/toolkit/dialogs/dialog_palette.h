// The colours of the toolkit's own dialogs, the program's dark look: near-black surfaces, white
// text, one red accent.
#pragma once
#include <string>
#include <string_view>

namespace talvoro::ui {

// A layout with the palette's names in braces ("{panel}", "{accent}" ...) replaced by their
// colours, so the dialogs' layouts name colours by use. Unknown names are left as they are.
//   window #FF0E0E11   panel #FF16161B   line #FF2A2A31   field #FF000000
//   text #FFFFFFFF     secondary #FFA3A3AD
//   accent #FFFF3C3C   accent_hot #FFFF5C5C   accent_pressed #FFC82A2A   accent_dark #FF3C3C3C
//   button #FF24242B   button_hot #FF30303A   button_pressed #FF3C3C3C   row_hot #FF202027
std::string with_dialog_palette(std::string_view layout);

}  // namespace talvoro::ui
