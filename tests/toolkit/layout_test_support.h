// Building blocks the toolkit's layout tests share.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

#include "core/container.h"
#include "core/label.h"

namespace talvoro::ui {

// Adds a label with the given attributes to `parent`; every attribute must be taken.
inline CControlUI* add_label(
    CContainerUI& parent, std::initializer_list<std::pair<const char*, const char*>> attributes) {
    auto label = std::make_unique<CLabelUI>();
    for (auto [name, value] : attributes) {
        EXPECT_TRUE(label->set_attribute(name, value)) << name << "=" << value;
    }
    return parent.add(std::move(label));
}

}  // namespace talvoro::ui
