// Walking a row of stops with the keys (Tab order, a menu's entries, an option group).
#pragma once
#include <algorithm>
#include <vector>

namespace talvoro::ui {

// The item after (forwards) or before `from` in `items`, round the ends; the first or the last
// when `from` is not one of them; null when there are none.
template <typename T>
T* step_round(const std::vector<T*>& items, const T* from, bool forwards) {
    if (items.empty()) {
        return nullptr;
    }
    const auto at = std::find(items.begin(), items.end(), from);
    if (at == items.end()) {
        return forwards ? items.front() : items.back();
    }
    const size_t index = static_cast<size_t>(at - items.begin());
    const size_t count = items.size();
    return items[forwards ? (index + 1) % count : (index + count - 1) % count];
}

}  // namespace talvoro::ui
