// The shapes every skin picture is built from, drawn with the painting layer. Pictures
// differ only in captions and in which of these they combine.
#pragma once

#include <array>
#include <string_view>

#include "render/canvas.h"
#include "render/font_style.h"
#include "render/rect.h"

namespace talvoro::skins {

using ui::Canvas;
using ui::Color;
using ui::Rect;

// The main window and the corners its shape cuts off.
inline constexpr int kWindowWidth = 1025;
inline constexpr int kWindowHeight = 701;
inline constexpr int kWindowChamfer = 12;
// True where the main window is opaque: a rectangle with 45-degree chamfered corners.
bool window_shape_contains(int x, int y);

// The main control page's picture and the mouse's eleven buttons inside it, in the order
// of the button table (left click first).
inline constexpr int kMousePictureWidth = 1005;
inline constexpr int kMousePictureHeight = 560;
inline constexpr std::array<Rect, 11> kMouseButtonRects{{
    {455, 270, 490, 318},  // left click
    {516, 270, 552, 318},  // right click
    {494, 286, 514, 318},  // wheel
    {496, 328, 510, 341},  // DPI up
    {496, 342, 510, 353},  // DPI down
    {612, 311, 629, 339},  // right flank, front
    {623, 339, 636, 364},  // right flank, back
    {378, 311, 394, 339},  // left flank, front
    {371, 339, 383, 363},  // left flank, back
    {586, 286, 603, 307},  // profile, right
    {402, 286, 420, 307},  // profile, left
}};

enum class ButtonLook { kNormal, kLit };

void fill_window_background(Canvas& canvas, const Rect& rect);
void draw_panel(Canvas& canvas, const Rect& rect);
// Antialiased shapes.
void fill_round_rect(Canvas& canvas, const Rect& rect, int radius, Color color);
void fill_circle(Canvas& canvas, double cx, double cy, double radius, Color color);
void stroke_circle(Canvas& canvas, double cx, double cy, double radius, double width, Color color);
// The accent line under a selected tab or a title.
void draw_tab_underline(Canvas& canvas, int left, int right, int baseline);
// A flat push button with a centred caption; `lit` is the pressed/active look.
void draw_button(Canvas& canvas, const Rect& rect, std::string_view caption,
                 const ui::FontStyle& font, bool lit);
// A popup's frame: vignetted window colour, a title band with the product name and its
// underline, and the 1 px accent border.
void draw_popup_frame(Canvas& canvas, std::string_view product, const ui::FontStyle& font,
                      int caption_height);
// A round badge with a "?" (question) or "!" (notice) inside.
void draw_badge(Canvas& canvas, double cx, double cy, double radius, char sign);

// The mouse seen from above without its buttons; the same in every picture of it.
void draw_mouse_shell(Canvas& canvas);
// Button `index` of kMouseButtonRects, never painting outside its rectangle.
void draw_mouse_button(Canvas& canvas, size_t index, ButtonLook look);

// The 14 x 14 macro step icons on black.
enum class StepIcon { kTimer, kKeyDown, kKeyUp, kMouse };
void draw_step_icon(Canvas& canvas, StepIcon icon);

}  // namespace talvoro::skins
