// The program's X error policy, in a child on a private Xvfb with SDL's real x11 driver: an event
// sent to a window that is already gone is survived, any other error still ends the program as
// SDL's handler decides.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/sdl/sdl_video.h"
#include "support/linux/xvfb_display.h"

namespace talvoro::platform {
namespace {

enum class Request { kSendEvent, kMapWindow };

// Runs `request` against a window this child made and destroyed; the child's exit status.
int status_after(const std::string& display, Request request) {
    const pid_t child = fork();
    if (child == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        if (!sdl::ensure_sdl_video()) {
            _exit(3);
        }
        // A connection of its own, as SDL's wake-ups use one beside the event loop's.
        Display* other = XOpenDisplay(display.c_str());
        if (other == nullptr) {
            _exit(4);
        }
        const Window gone =
            XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 10, 10, 0, 0, 0);
        XDestroyWindow(other, gone);
        if (request == Request::kSendEvent) {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = gone;
            event.xclient.format = 32;
            XSendEvent(other, gone, False, NoEventMask, &event);
        } else {
            XMapWindow(other, gone);
        }
        XSync(other, False);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(DisplayErrors, OnlyAnEventToAGoneWindowIsSurvived) {
    test::XvfbDisplay xvfb;
    ASSERT_FALSE(xvfb.display().empty()) << "Xvfb could not be started (scripts/test installs it)";
    EXPECT_EQ(status_after(xvfb.display(), Request::kSendEvent), 0);
    const int mapped = status_after(xvfb.display(), Request::kMapWindow);
    EXPECT_NE(mapped, 0) << "a BadWindow on any other request still ends the program";
    EXPECT_NE(mapped, 3) << "SDL's x11 driver did not start";
    EXPECT_NE(mapped, 4);
}

}  // namespace
}  // namespace talvoro::platform
