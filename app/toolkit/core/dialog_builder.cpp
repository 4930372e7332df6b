#include "core/dialog_builder.h"

#include <pugixml.hpp>

#include "core/attribute_values.h"
#include "core/button.h"
#include "core/combo.h"
#include "core/container.h"
#include "core/edit.h"
#include "core/horizontal_layout.h"
#include "core/label.h"
#include "core/list.h"
#include "core/list_container_element.h"
#include "core/list_label_element.h"
#include "core/option.h"
#include "core/paint_manager.h"
#include "core/slider.h"
#include "core/tab_layout.h"
#include "core/text.h"
#include "core/vertical_layout.h"
#include "render/debug_log.h"

namespace talvoro::ui {
namespace {

// Deeper nesting than any real layout; keeps a hostile file from exhausting the stack.
constexpr int kMaxDepth = 200;

bool is_declaration(std::string_view element) {
    return element == "Font" || element == "Image" || element == "Default";
}

}  // namespace

std::unique_ptr<CControlUI> CDialogBuilder::create(std::string_view xml,
                                                   IDialogBuilderCallback* callback,
                                                   CPaintManagerUI* manager) {
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_buffer(xml.data(), xml.size());
    if (!parsed) {
        debug_log(std::string("layout: malformed XML: ") + parsed.description());
        return nullptr;
    }
    callback_ = callback;
    manager_ = manager;
    defaults_.clear();
    return build(document.document_element());
}

std::unique_ptr<CControlUI> CDialogBuilder::create_from_file(const std::string& path,
                                                             IDialogBuilderCallback* callback,
                                                             CPaintManagerUI* manager) {
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed) {
        debug_log("layout: cannot read " + path + ": " + parsed.description());
        return nullptr;
    }
    callback_ = callback;
    manager_ = manager;
    defaults_.clear();
    return build(document.document_element());
}

std::unique_ptr<CControlUI> CDialogBuilder::build(const pugi::xml_node& root) {
    if (!root) {
        return nullptr;
    }
    if (std::string_view(root.name()) != "Window") {
        // A layout may be a bare control tree, as pages are.
        return build_control(root, 0);
    }
    read_window(root);
    for (pugi::xml_node child : root.children()) {
        if (child.type() != pugi::node_element || is_declaration(child.name())) {
            continue;
        }
        if (auto control = build_control(child, 0)) {
            return control;
        }
    }
    return nullptr;
}

void CDialogBuilder::read_window(const pugi::xml_node& window) {
    if (manager_ != nullptr) {
        for (pugi::xml_attribute attribute : window.attributes()) {
            manager_->set_window_attribute(attribute.name(), attribute.value());
        }
    }
    for (pugi::xml_node child : window.children()) {
        std::string_view element = child.name();
        if (element == "Default") {
            std::string_view name = child.attribute("name").value();
            if (!name.empty()) {
                defaults_[std::string(name)] = child.attribute("value").value();
            }
        } else if (element == "Font" && manager_ != nullptr) {
            FontStyle font;
            font.family = child.attribute("name").value();
            if (auto size = parse_int(child.attribute("size").value()); size && *size > 0) {
                font.pixel_size = *size;
            }
            font.bold = child.attribute("bold").as_bool();
            font.underline = child.attribute("underline").as_bool();
            font.italic = child.attribute("italic").as_bool();
            manager_->add_font(font, child.attribute("default").as_bool());
        } else if (element == "Image" && manager_ != nullptr) {
            // Loaded now so that a missing picture shows up in the debug log at start.
            std::string_view file = child.attribute("name").value();
            std::optional<Color> mask = parse_color(child.attribute("mask").value());
            if (!file.empty() && !manager_->image_cache().get(std::string(file), mask)) {
                debug_log("layout: cannot load image " + std::string(file));
            }
        }
    }
}

std::unique_ptr<CControlUI> CDialogBuilder::make_control(std::string_view element) {
    if (element == "VerticalLayout") {
        return std::make_unique<CVerticalLayoutUI>();
    }
    if (element == "HorizontalLayout") {
        return std::make_unique<CHorizontalLayoutUI>();
    }
    if (element == "TabLayout") {
        return std::make_unique<CTabLayoutUI>();
    }
    if (element == "Container") {
        return std::make_unique<CContainerUI>();
    }
    if (element == "Label") {
        return std::make_unique<CLabelUI>();
    }
    if (element == "Text") {
        return std::make_unique<CTextUI>();
    }
    if (element == "Button") {
        return std::make_unique<CButtonUI>();
    }
    if (element == "Option") {
        return std::make_unique<COptionUI>();
    }
    if (element == "Combo") {
        return std::make_unique<CComboUI>();
    }
    if (element == "ListLabelElement") {
        return std::make_unique<CListLabelElementUI>();
    }
    if (element == "Control") {
        return std::make_unique<CControlUI>();
    }
    // Input controls: slider, edit, list and its rows.
    if (element == "Slider") {
        return std::make_unique<CSliderUI>();
    }
    if (element == "Edit") {
        return std::make_unique<CEditUI>();
    }
    if (element == "List") {
        return std::make_unique<CListUI>();
    }
    if (element == "ListContainerElement") {
        return std::make_unique<CListContainerElementUI>();
    }
    if (callback_ != nullptr) {
        return callback_->create_control(element);
    }
    return nullptr;
}

std::unique_ptr<CControlUI> CDialogBuilder::build_control(const pugi::xml_node& node, int depth) {
    if (depth > kMaxDepth) {
        debug_log("layout: nesting too deep, rest skipped");
        return nullptr;
    }
    std::string_view element = node.name();
    std::unique_ptr<CControlUI> control = make_control(element);
    if (!control) {
        debug_log("layout: unknown element " + std::string(element) + " skipped");
        return nullptr;
    }
    if (manager_ != nullptr) {
        control->set_manager(manager_, nullptr);
    }
    if (auto it = defaults_.find(element); it != defaults_.end()) {
        for (const auto& [name, value] : parse_attribute_list(it->second)) {
            control->set_attribute(name, value);
        }
    }
    for (pugi::xml_attribute attribute : node.attributes()) {
        control->set_attribute(attribute.name(), attribute.value());
    }
    auto* container = dynamic_cast<CContainerUI*>(control.get());
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        if (container == nullptr) {
            debug_log("layout: " + std::string(element) + " cannot hold children");
            break;
        }
        container->add(build_control(child, depth + 1));
    }
    return control;
}

}  // namespace talvoro::ui
