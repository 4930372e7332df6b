// Builds a control tree from an XML layout: a Window element with its attributes, Font,
// Image and Default declarations, then one tree of controls.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/control.h"

namespace pugi {
class xml_node;
}

namespace talvoro::ui {

class CPaintManagerUI;

// Makes controls for element names the toolkit does not know.
class IDialogBuilderCallback {
  public:
    virtual ~IDialogBuilderCallback() = default;
    // Null when the name is not the callback's either.
    virtual std::unique_ptr<CControlUI> create_control(std::string_view name) = 0;
};

class CDialogBuilder {
  public:
    // Null for malformed XML or a layout without controls. With a manager, the window's
    // attributes and fonts go to it and the tree's controls know it (the tree is not made
    // its root: the caller decides). Without one, the declarations only serve the build.
    std::unique_ptr<CControlUI> create(std::string_view xml,
                                       IDialogBuilderCallback* callback = nullptr,
                                       CPaintManagerUI* manager = nullptr);
    std::unique_ptr<CControlUI> create_from_file(const std::string& path,
                                                 IDialogBuilderCallback* callback = nullptr,
                                                 CPaintManagerUI* manager = nullptr);

  private:
    std::unique_ptr<CControlUI> build(const pugi::xml_node& root);
    void read_window(const pugi::xml_node& window);
    std::unique_ptr<CControlUI> build_control(const pugi::xml_node& node, int depth);
    std::unique_ptr<CControlUI> make_control(std::string_view element);

    IDialogBuilderCallback* callback_ = nullptr;
    CPaintManagerUI* manager_ = nullptr;
    // Attribute lists by element name, applied before an element's own attributes.
    std::map<std::string, std::string, std::less<>> defaults_;
};

}  // namespace talvoro::ui
