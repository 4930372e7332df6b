// Shared set-up of the library's tests: a private virtual-HID folder, only
// the virtual backend (so no test reaches real hardware), and a recording
// replacement of the protocol sleep.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "sleep.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "talvoro_api.h"

namespace talvoro::test {

// Every wait the library asked for since the last clear.
std::vector<std::chrono::milliseconds>& recorded_waits();

class LibraryTest : public ::testing::Test {
  protected:
    LibraryTest();
    ~LibraryTest() override;

    // Starts a virtual mouse that answers at once (the sleep is replaced, so
    // the mouse must not enforce the protocol's waits).
    VirtualMouseProcess& start_mouse(std::vector<std::string> args = {},
                                     const std::string& name = "talvoro");

    // The 2048-byte image of `slot` in the mouse's state file.
    std::vector<uint8_t> state_image(const VirtualMouseProcess& mouse, int slot) const;

    TempFolder folder_;
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path()};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    std::vector<std::unique_ptr<VirtualMouseProcess>> mice_;

  private:
    SleepFunction previous_sleep_;
};

}  // namespace talvoro::test
