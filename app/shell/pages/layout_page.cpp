#include "shell/pages/layout_page.h"

#include "layouts/layout_table.h"
#include "platform/program_paths.h"
#include "render/debug_log.h"

namespace talvoro::shell {

LayoutPage::LayoutPage(int resource_id, ui::IDialogBuilderCallback* callback)
    : resource_id_(resource_id) {
    const std::string path = layouts::layout_path(resource_directory(), resource_id);
    ui::CDialogBuilder builder;
    std::unique_ptr<ui::CControlUI> root = builder.create_from_file(path, callback);
    if (root == nullptr) {
        ui::debug_log("page layout " + path + " could not be built; the page stays empty");
        return;
    }
    add(std::move(root));
}

void LayoutPage::bind(PageHost& host, const MainWindowControls& controls) {
    host_ = &host;
    controls_ = &controls;
}

bool LayoutPage::on_notify(ui::TNotifyUI&) {
    return false;
}

}  // namespace talvoro::shell
