#include "shell/pages/laser_levels.h"

#include "shell/main_window_controls.h"
#include "shell/pages/page_host.h"

namespace talvoro::shell {

void LaserLevels::bind(PageHost& host, const MainWindowControls& controls) {
    host_ = &host;
    controls_ = &controls;
}

bool LaserLevels::on_notify(ui::TNotifyUI&) {
    return false;
}

void LaserLevels::show(int) {}

}  // namespace talvoro::shell
