#include "support/virtual_mouse_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>

#include "support/mouse_child.h"
#include "support/utf8_path.h"

namespace talvoro::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds kDeadline{5};
constexpr std::chrono::milliseconds kPollStep{2};

// Whether anything is at `path`; a link is not followed.
bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(utf8_path(path), error));
}

}  // namespace

VirtualMouseProcess::VirtualMouseProcess(const std::string& folder, std::vector<std::string> args,
                                         std::string name, std::string program)
    : folder_(folder),
      name_(std::move(name)),
      state_file_(folder + "/" + name_ + ".state"),
      child_(std::make_unique<MouseChild>()) {
    std::vector<std::string> arguments = {
        std::move(program),  "--dir", folder_, "--name", name_, "--state", state_file_,
        "--exit-with-parent"};
    arguments.insert(arguments.end(), args.begin(), args.end());
    std::string error;
    if (!child_->start(arguments, &error)) {
        ADD_FAILURE() << error;
        return;
    }
    // "ready" and the line's end, which is "\r\n" on Windows.
    std::string output;
    if (!child_->read_until(output, "ready", kDeadline) ||
        !child_->read_until(output, "\n", kDeadline)) {
        ADD_FAILURE() << "the virtual mouse did not get ready; it printed: '" << output << "'";
        return;
    }
    for (int number : {0, 1}) {
        if (exists(socket_path(number)))
            interfaces_.push_back(number);
    }
}

VirtualMouseProcess::~VirtualMouseProcess() {
    if (child_->running())
        stop();
}

void VirtualMouseProcess::wait_for_sockets(bool present, const char* what) {
    const auto deadline = Clock::now() + kDeadline;
    for (;;) {
        bool done = true;
        for (int number : interfaces_)
            done = done && exists(socket_path(number)) == present;
        if (done)
            return;
        if (Clock::now() >= deadline) {
            ADD_FAILURE() << "the virtual mouse did not " << what << " within 5 s";
            return;
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

void VirtualMouseProcess::unplug() {
    if (!child_->running())
        return;
    if (!child_->request(MouseRequest::kUnplug))
        ADD_FAILURE() << "cannot ask the virtual mouse to unplug";
    wait_for_sockets(false, "unplug");
}

void VirtualMouseProcess::plug_in() {
    if (!child_->running())
        return;
    if (!child_->request(MouseRequest::kPlugIn))
        ADD_FAILURE() << "cannot ask the virtual mouse to plug in";
    wait_for_sockets(true, "plug in");
}

int VirtualMouseProcess::stop() {
    if (!child_->running())
        return exit_status_;
    if (!child_->request(MouseRequest::kStop))
        ADD_FAILURE() << "cannot ask the virtual mouse to stop";
    if (const std::optional<int> status = child_->wait(kDeadline)) {
        exit_status_ = *status;
    } else {
        ADD_FAILURE() << "the virtual mouse did not stop within 5 s; killing it";
        exit_status_ = child_->kill();
    }
    return exit_status_;
}

void VirtualMouseProcess::kill() {
    if (child_->running())
        exit_status_ = child_->kill();
}

std::vector<uint8_t> VirtualMouseProcess::read_state() const {
    // On Windows the mouse's rename of a new state into place holds the file for a moment, and
    // an open then fails with a sharing violation: try again rather than read nothing.
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    for (;;) {
        std::ifstream file(utf8_path(state_file_), std::ios::binary);
        if (file.is_open() || Clock::now() >= deadline)
            return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        std::this_thread::sleep_for(kPollStep);
    }
}

std::string VirtualMouseProcess::socket_path(int interface_number) const {
    return folder_ + "/" + name_ + ".if" + std::to_string(interface_number) + ".hid";
}

}  // namespace talvoro::test
