// A layout file as the program builds its windows from it: the builder makes the control tree,
// the window lays it out, paints it and takes a click and a key. Beyond no crash: a layout the
// builder refuses leaves no control behind, and one it accepts is laid out inside the window.
#include <string_view>

#include "core/dialog_builder.h"
#include "core/paint_manager.h"
#include "fuzz_support.h"
#include "render/canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro::ui;
    static const bool pictures = [] {
        // Pictures a layout names are looked up in an empty folder: only the XML is under test.
        CPaintManagerUI::set_resource_path(talvoro::fuzz::scratch_folder() + "/");
        return true;
    }();
    FUZZ_CHECK(pictures);
    const std::string_view xml(reinterpret_cast<const char*>(data), size);
    CPaintManagerUI manager;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root = builder.create(xml, nullptr, &manager);
    if (root == nullptr) {
        FUZZ_CHECK(manager.find_control("") == nullptr);
        return 0;
    }
    constexpr Size kWindow{320, 240};
    manager.set_root(std::move(root));
    manager.set_client_size(kWindow);
    manager.update_layout();
    static Canvas canvas(kWindow.width, kWindow.height);
    manager.paint(canvas);
    manager.mouse_move(10, 10);
    manager.mouse_down(10, 10);
    manager.mouse_up(10, 10);
    manager.mouse_wheel(100, 100, -1);
    manager.key_down(9);
    manager.text_input("a");
    manager.update_layout();
    manager.paint(canvas);
    manager.close_all_overlays();
    return 0;
}
