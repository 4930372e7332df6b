// The application object: start-up in its fixed order (a display named, one instance per user,
// the store, the folders, the language and its skin, the device library, the main window), the
// message loop, and the end.
#pragma once

#include <memory>
#include <string>

#include "device/device_api_binding.h"
#include "shell/oskel_main_wnd.h"
#include "shell/shell_services.h"
#include "store/store_allocation.h"

namespace talvoro::platform {
class SingleInstance;
}

namespace talvoro::shell {

inline constexpr const char* kApplicationName = "talvoro_gui";
inline constexpr const char* kMainWindowTitle = " Morvane Talvoro Mouse Utility ";
inline constexpr const char* kAlreadyRunning =
    "AP have been opened, please load it from the right-bottom corner ! ";

struct AppOptions {
    ShellServices services;
    // The device library's file, found beside the program first.
    std::string library_file = kDeviceLibraryFile;
    // Folder of the single-instance lock and socket; empty: the user's runtime folder.
    std::string instance_folder;
    // Whether windows go to the display (tests run them headless).
    bool use_display = true;
};

class COskelMiceApp {
  public:
    explicit COskelMiceApp(AppOptions options);
    ~COskelMiceApp();

    enum class Start {
        kRunning,         // the main window is up
        kSecondInstance,  // another instance runs: it was signalled, or the user told
        kNoLibrary,       // the device library could not be loaded
        kNoDisplay,       // no window can be shown
        kNoMemory,        // not even for the store
    };
    // Everything before the message loop.
    Start start();
    // Start-up, the message loop, the end: the process's exit status.
    int init_instance();

    COskelMainWnd* main_window() const { return main_window_.get(); }
    ProfileStore* store() const { return store_.get(); }
    const DeviceApiBinding& binding() const { return binding_; }

  private:
    AppOptions options_;
    ProfileStorePtr store_;
    DeviceApiBinding binding_;
    std::unique_ptr<COskelMainWnd> main_window_;
    // Declared last: its listener posts to the window, so it ends first.
    std::unique_ptr<platform::SingleInstance> instance_;
};

}  // namespace talvoro::shell
