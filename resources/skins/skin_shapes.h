// The controls every skin picture is built from: buttons, tabs, option chips, switches,
// check boxes, headings and frames, each in every state a user can reach. Pictures differ
// only in captions and in which of these they combine.
#pragma once

#include <array>
#include <string_view>

#include "antialias.h"
#include "caption_log.h"
#include "render/font_style.h"
#include "skin_icons.h"

namespace talvoro::skins {

// The main window and the corners its shape cuts off.
inline constexpr int kWindowWidth = 1025;
inline constexpr int kWindowHeight = 701;
// The band of the window the pages cover; the background shows above and below it.
inline constexpr int kPageTop = 84;
inline constexpr int kPageBottom = 648;
inline constexpr int kWindowChamfer = 12;
// True where the main window is opaque: a rectangle with 45-degree chamfered corners.
bool window_shape_contains(int x, int y);
// The same for a point in logical coordinates (a pixel's centre is x + 0.5 at 100 %).
bool window_shape_contains_at(double x, double y);

// The states a picture shows, one cell each, in the order the layouts take the cells:
// buttons normal, hot, pushed, disabled; options normal, hot, selected.
enum class State { kNormal, kHot, kPushed, kSelected, kDisabled };
inline constexpr std::array<State, 4> kButtonStates{State::kNormal, State::kHot, State::kPushed,
                                                    State::kDisabled};
inline constexpr std::array<State, 3> kOptionStates{State::kNormal, State::kHot, State::kSelected};
// Cell (column, row) of a sheet of equal cells.
Rect cell(int width, int height, int column, int row);

// The window colour, darkening softly toward the edges of `rect`.
void fill_window_background(Canvas& canvas, const Rect& rect);

// Push buttons: outlined, the one filled accent button of a group, or a bare icon.
enum class ButtonStyle { kOutline, kAccent, kGhost };
void draw_button(Canvas& canvas, CaptionLog& captions, const Rect& rect, std::string_view caption,
                 const ui::FontStyle& font, ButtonStyle style, State state,
                 Icon icon = Icon::kNone);
// The button in each of kButtonStates, one row of `height` each, in column `column`.
void draw_button_states(Canvas& canvas, CaptionLog& captions, int width, int height,
                        std::string_view caption, const ui::FontStyle& font, ButtonStyle style,
                        Icon icon = Icon::kNone, int column = 0);
// A small square button showing only an icon (close, language, the resolution steps).
void draw_icon_button(Canvas& canvas, const Rect& rect, Icon icon, State state,
                      ButtonStyle style = ButtonStyle::kGhost);

// A text tab; the selected one is underlined in the accent.
void draw_tab(Canvas& canvas, CaptionLog& captions, const Rect& rect, std::string_view caption,
              const ui::FontStyle& font, State state);
// One choice of a row of exclusive options.
void draw_chip(Canvas& canvas, CaptionLog& captions, const Rect& rect, std::string_view caption,
               const ui::FontStyle& font, State state);

// A switch, kToggleWidth x kToggleHeight, at (left, top).
inline constexpr int kToggleWidth = 26;
inline constexpr int kToggleHeight = 14;
void draw_toggle(Canvas& canvas, int left, int top, bool on, bool hot);
// A switch followed by its caption, filling `rect`.
void draw_switch_option(Canvas& canvas, CaptionLog& captions, const Rect& rect,
                        std::string_view caption, const ui::FontStyle& font, State state);
// A check box followed by its caption, filling `rect`.
void draw_check_option(Canvas& canvas, CaptionLog& captions, const Rect& rect,
                       std::string_view caption, const ui::FontStyle& font, State state);

// A section heading: an accent bar and the caption.
void draw_heading(Canvas& canvas, CaptionLog& captions, const Rect& rect, std::string_view caption,
                  const ui::FontStyle& font);

// A popup's frame over the whole canvas: vignetted window colour, a title band of
// `caption_height` with `title` (none when empty) and the 1 px accent border.
void draw_popup_frame(Canvas& canvas, CaptionLog& captions, std::string_view title,
                      const ui::FontStyle& font, int caption_height);
// A round badge with a "?" (question) or "!" (notice) inside.
void draw_badge(Canvas& canvas, double cx, double cy, double radius, char sign);

}  // namespace talvoro::skins
