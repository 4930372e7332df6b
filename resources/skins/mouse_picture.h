// The main control page's picture of the mouse seen from above ("MCBox.bmp", and
// "MCBox2.bmp" with every button lit), with the lines from each button to its function
// field. The picture's coordinates are the page's: the page shows the part kMouseCrop.
#pragma once

#include <array>
#include <vector>

#include "render/canvas.h"
#include "render/rect.h"

namespace talvoro::skins {

// The part of the picture the page shows, between the two columns of function fields.
inline constexpr ui::Rect kMouseCrop{260, 96, 765, 452};
// Nothing beyond the shown part: every pixel more is decoded at each start for nothing.
inline constexpr int kMousePictureWidth = kMouseCrop.right;
inline constexpr int kMousePictureHeight = kMouseCrop.bottom;

// The mouse's eleven buttons, in the order of the button table (left click first). The
// page's picture labels show exactly these rectangles.
inline constexpr std::array<ui::Rect, 11> kMouseButtonRects{{
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

// The function fields' columns, as the page lays them out: the lines end on their edges.
inline constexpr int kLeftFieldsRight = 260;
inline constexpr int kRightFieldsLeft = 765;

// A line from button `button` (index into kMouseButtonRects) to its function field: pixel
// points joined by horizontal and vertical runs, both ends included. It starts just outside
// the button and ends on the pixel next to the field.
struct LeaderLine {
    size_t button;
    std::vector<ui::Point> points;
};
const std::vector<LeaderLine>& leader_lines();

enum class ButtonLook { kNormal, kLit };
ui::Canvas draw_mouse_picture(ButtonLook look, ui::DisplayScale scale = {});

}  // namespace talvoro::skins
