#include "linux/signal_events.h"

#include <signal.h>
#include <sys/signalfd.h>

#include <cerrno>
#include <cstring>

namespace talvoro::virtual_mouse::posix {

std::optional<SignalEvents> SignalEvents::open(std::initializer_list<int> signals,
                                               std::string* error) {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : signals)
        sigaddset(&set, signal);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) {
        if (error != nullptr)
            *error = std::string("cannot block signals: ") + std::strerror(errno);
        return std::nullopt;
    }
    UniqueFd fd(signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
    if (!fd.valid()) {
        if (error != nullptr)
            *error = std::string("signalfd: ") + std::strerror(errno);
        return std::nullopt;
    }
    return SignalEvents(std::move(fd));
}

std::optional<int> SignalEvents::next() {
    signalfd_siginfo info{};
    for (;;) {
        const ssize_t n = ::read(fd_.get(), &info, sizeof info);
        if (n == static_cast<ssize_t>(sizeof info))
            return static_cast<int>(info.ssi_signo);
        if (n < 0 && errno == EINTR)
            continue;
        return std::nullopt;
    }
}

}  // namespace talvoro::virtual_mouse::posix
