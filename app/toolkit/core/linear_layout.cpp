#include "core/linear_layout.h"

#include <algorithm>

namespace talvoro::ui {

std::vector<int> share_extent(const std::vector<LinearItem>& items, int available, int gap) {
    std::vector<int> sizes(items.size(), 0);
    if (items.empty()) {
        return sizes;
    }
    long long left = available - static_cast<long long>(gap) * (items.size() - 1);
    int stretching = 0;
    for (const auto& item : items) {
        left -= item.margin_before + item.margin_after;
        if (item.fixed > 0) {
            left -= item.fixed;
        } else {
            ++stretching;
        }
    }
    left = std::max(left, 0LL);
    int share = stretching > 0 ? static_cast<int>(left / stretching) : 0;
    int remainder = stretching > 0 ? static_cast<int>(left % stretching) : 0;
    int seen = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        int size = item.fixed;
        if (size <= 0) {
            ++seen;
            size = share + (seen == stretching ? remainder : 0);
        }
        if (item.max > 0) {
            size = std::min(size, item.max);
        }
        sizes[i] = std::max(size, item.min);
    }
    return sizes;
}

void CLinearLayoutUI::layout_children() {
    const bool across = axis_ == Axis::kHorizontal;
    const Rect client = client_rect();
    std::vector<CControlUI*> flow;
    std::vector<LinearItem> extents;
    for (const auto& item : items()) {
        if (!item->visible()) {
            continue;
        }
        if (item->is_float()) {
            place_float(*item);
            continue;
        }
        flow.push_back(item.get());
        const Rect& pad = item->padding();
        extents.push_back(across ? LinearItem{item->fixed_width(), pad.left, pad.right,
                                              item->min_width(), item->max_width()}
                                 : LinearItem{item->fixed_height(), pad.top, pad.bottom,
                                              item->min_height(), item->max_height()});
    }
    const std::vector<int> shares =
        share_extent(extents, across ? client.width() : client.height(), child_padding());
    int at = across ? client.left : client.top;
    for (size_t i = 0; i < flow.size(); ++i) {
        CControlUI& child = *flow[i];
        const Rect& pad = child.padding();
        if (across) {
            // Along the row: the share; across it: fixed, or the client's height.
            const int top = client.top + pad.top;
            const int height = child.clamp_height(
                child.fixed_height() > 0 ? child.fixed_height() : client.bottom - pad.bottom - top);
            at += pad.left;
            child.set_pos(Rect{at, top, at + shares[i], top + height});
            at += shares[i] + pad.right + child_padding();
        } else {
            const int left = client.left + pad.left;
            const int width = child.clamp_width(
                child.fixed_width() > 0 ? child.fixed_width() : client.right - pad.right - left);
            at += pad.top;
            child.set_pos(Rect{left, at, left + width, at + shares[i]});
            at += shares[i] + pad.bottom + child_padding();
        }
    }
}

}  // namespace talvoro::ui
