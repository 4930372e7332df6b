#include "shell/oskel_mice_app.h"

#include <cstdio>

#include "core/layout_pictures.h"
#include "core/paint_manager.h"
#include "layouts/layout_table.h"
#include "platform/desktop_display.h"
#include "platform/display_scale_sources.h"
#include "platform/program_paths.h"
#include "platform/sdl/event_loop.h"
#include "platform/sdl/sdl_window_backend.h"
#include "platform/single_instance.h"
#include "render/debug_log.h"
#include "render/image_cache.h"
#include "render/image_prefetch.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "store/profile_files.h"
#include "store/settings_file.h"

namespace talvoro::shell {
namespace {

// The main window's canvas at `scale`, with room to spare: warmed while the display connects.
size_t first_frame_scratch(ui::DisplayScale scale) {
    const ui::Size canvas = scale.to_physical(ui::Size{1025, 701});
    return size_t(canvas.width) * size_t(canvas.height) * 4 + (size_t{256} << 10);
}

}  // namespace

COskelMiceApp::COskelMiceApp(AppOptions options) : options_(std::move(options)) {}

COskelMiceApp::~COskelMiceApp() {
    instance_.reset();
    main_window_.reset();
}

COskelMiceApp::Start COskelMiceApp::start() {
    // Told before anything is taken: SDL would otherwise find out only after the slow part of
    // start-up, and then settle on a driver that shows nothing.
    if (options_.use_display && !platform::display_named_in_environment()) {
        return Start::kNoDisplay;
    }
    instance_ =
        std::make_unique<platform::SingleInstance>(kApplicationName, options_.instance_folder);
    switch (instance_->acquire()) {
        case platform::SingleInstance::Role::kFirst:
            break;
        case platform::SingleInstance::Role::kSignalledFirst:
            return Start::kSecondInstance;
        case platform::SingleInstance::Role::kFirstHasNoWindow:
            options_.services.notices->show_notice(kAlreadyRunning, kNoticeCaption);
            return Start::kSecondInstance;
    }

    // 7 MB of settings, zero until the mouse or the defaults fill them.
    store_ = allocate_zeroed_store();
    if (store_ == nullptr) {
        return Start::kNoMemory;
    }
    // Start-up goes on without them: a file that cannot be written there is told when it is.
    static_cast<void>(ensure_program_folders());
    set_language_index(read_language());
    ui::CPaintManagerUI::set_resource_path(skin_folder_path(language_index()));
    if (!binding_.bind(*options_.services.notices, options_.library_file.c_str())) {
        return Start::kNoLibrary;
    }
    if (options_.use_display) {
        // The desktop's scale; a display that tells its own (Wayland, Windows) may change it.
        ui::set_default_display_scale(platform::desktop_scale().scale);
        ui::set_display_scale_policy(
            [](double display_factor) { return platform::desktop_scale(display_factor).scale; });
    }
    // The main window's first pictures decode on another core while the display connects.
    std::vector<std::string> pictures;
    const std::string skin = skin_folder_path(language_index());
    const int density = ui::default_display_scale().picture_density();
    for (int layout : {layouts::kMainWindowLayout, layouts::kMainControlPageLayout}) {
        for (const std::string& file :
             ui::layout_picture_files(layouts::layout_path(resource_directory(), layout))) {
            pictures.push_back(skin + ui::picture_file_at_density(file, density));
        }
    }
    ui::prefetch_images(std::move(pictures), first_frame_scratch(ui::default_display_scale()));
    main_window_ = std::make_unique<COskelMainWnd>(*store_, binding_.api(), options_.services);
    if (options_.use_display && !platform::sdl::install_sdl_windows()) {
        main_window_.reset();
        return Start::kNoDisplay;
    }

    if (!main_window_->create_main(kMainWindowTitle)) {
        main_window_.reset();
        return Start::kNoDisplay;
    }
    COskelMainWnd* window = main_window_.get();
    if (!instance_->listen([window](uint32_t message) {
            window->post_message(ui::WindowMessage::kUser, message);
        })) {
        // The program runs on; a second start then opens a window of its own.
        ui::debug_log("single instance: cannot listen for a second start");
    }
    return Start::kRunning;
}

int COskelMiceApp::init_instance() {
    switch (start()) {
        case Start::kRunning:
            break;
        case Start::kSecondInstance:
            return 0;
        case Start::kNoLibrary:
        case Start::kNoMemory:
            return 1;
        case Start::kNoDisplay:
            std::fprintf(stderr,
                         "talvoro_gui: no display to open a window on; "
                         "'talvoro_cli show' shows the mouse's profiles without one\n");
            return 1;
    }
    platform::sdl::run_event_loop();
    main_window_.reset();
    return 0;
}

}  // namespace talvoro::shell
