#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/single_instance.h"
#include "support/temp_folder.h"

namespace talvoro::platform {
namespace {

using Role = SingleInstance::Role;
using test::ScopedEnv;
using test::TempFolder;

// Messages the first instance heard, and on which thread.
struct Heard {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<uint32_t> messages;
    std::thread::id thread;

    std::function<void(uint32_t)> callback() {
        return [this](uint32_t message) {
            std::lock_guard lock(mutex);
            messages.push_back(message);
            thread = std::this_thread::get_id();
            changed.notify_all();
        };
    }
    std::vector<uint32_t> wait_for(size_t count) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::seconds(5), [&] { return messages.size() >= count; });
        return messages;
    }
};

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Runs `body` in a child process and returns its exit status.
int in_child(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What a start in another process finds.
int role_in_child(const std::string& name, const std::string& folder) {
    return in_child([&] { return static_cast<int>(SingleInstance(name, folder).acquire()); });
}

// Sends raw bytes to the socket, as a confused or hostile client might.
void send_raw(const std::string& path, const std::string& bytes) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

TEST(SingleInstance, TheSecondObjectInOneProcessFindsTheLockTaken) {
    TempFolder folder;
    SingleInstance first("talvoro_gui", folder.path());
    SingleInstance second("talvoro_gui", folder.path());
    EXPECT_EQ(first.acquire(), Role::kFirst);
    // flock belongs to the open file, so a second open in this process conflicts too.
    EXPECT_EQ(second.acquire(), Role::kFirstHasNoWindow);
    EXPECT_EQ(first.lock_path(), folder.file("talvoro_gui.lock"));
    // A process that does not hold the lock cannot listen.
    EXPECT_FALSE(second.listen([](uint32_t) {}));
}

TEST(SingleInstance, ASecondProcessSignalsTheFirstWithMessage1127) {
    TempFolder folder;
    SingleInstance first("talvoro_gui", folder.path());
    ASSERT_EQ(first.acquire(), Role::kFirst);
    Heard heard;
    ASSERT_TRUE(first.listen(heard.callback()));
    EXPECT_FALSE(first.listen(heard.callback()));  // once is enough

    EXPECT_EQ(role_in_child("talvoro_gui", folder.path()), static_cast<int>(Role::kSignalledFirst));
    EXPECT_EQ(heard.wait_for(1), std::vector<uint32_t>{kSecondInstanceMessage});
    EXPECT_NE(heard.thread, std::this_thread::get_id());
}

TEST(SingleInstance, AHolderThatNeverListensIsNotSignalled) {
    TempFolder folder;
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        SingleInstance first("talvoro_gui", folder.path());
        const char role = static_cast<char>(first.acquire());
        [[maybe_unused]] ssize_t n = ::write(ready[1], &role, 1);
        char byte;
        n = ::read(release[0], &byte, 1);
        ::_exit(0);
    }
    char role = -1;
    ASSERT_EQ(::read(ready[0], &role, 1), 1);
    EXPECT_EQ(role, static_cast<char>(Role::kFirst));

    SingleInstance second("talvoro_gui", folder.path());
    EXPECT_EQ(second.acquire(), Role::kFirstHasNoWindow);

    // Once the holder is gone, the lock is free again.
    ASSERT_EQ(::write(release[1], "x", 1), 1);
    ::waitpid(holder, nullptr, 0);
    SingleInstance third("talvoro_gui", folder.path());
    EXPECT_EQ(third.acquire(), Role::kFirst);
    for (int fd : {ready[0], ready[1], release[0], release[1]}) {
        ::close(fd);
    }
}

TEST(SingleInstance, ASocketLeftByACrashedInstanceIsNoFalseSignal) {
    TempFolder folder;
    // An instance that listened and then died without cleaning up.
    const int crashed = in_child([&] {
        SingleInstance first("talvoro_gui", folder.path());
        const bool ok = first.acquire() == Role::kFirst && first.listen([](uint32_t) {});
        ::_exit(ok ? 0 : 1);  // no clean-up, as in a crash
        return 1;
    });
    ASSERT_EQ(crashed, 0);
    SingleInstance restarted("talvoro_gui", folder.path());
    ASSERT_TRUE(exists(restarted.socket_path()));
    EXPECT_EQ(restarted.acquire(), Role::kFirst);

    // The new holder has no window yet; the old socket must not pass for one.
    EXPECT_EQ(role_in_child("talvoro_gui", folder.path()),
              static_cast<int>(Role::kFirstHasNoWindow));

    Heard heard;
    ASSERT_TRUE(restarted.listen(heard.callback()));
    EXPECT_EQ(role_in_child("talvoro_gui", folder.path()), static_cast<int>(Role::kSignalledFirst));
    EXPECT_EQ(heard.wait_for(1).size(), 1u);
}

TEST(SingleInstance, OnlyWholeMessagesAreHeard) {
    TempFolder folder;
    SingleInstance first("app", folder.path());
    ASSERT_EQ(first.acquire(), Role::kFirst);
    Heard heard;
    ASSERT_TRUE(first.listen(heard.callback()));
    send_raw(first.socket_path(), std::string("\x67\x04", 2));  // half a message
    send_raw(first.socket_path(), std::string("\x2A\x00\x00\x00", 4));
    send_raw(first.socket_path(), std::string("\x67\x04\x00\x00\xFF\xFF", 6));  // extra bytes
    EXPECT_EQ(heard.wait_for(2), (std::vector<uint32_t>{42, 1127}));
}

TEST(SingleInstance, TheSocketGoesWithTheObjectButTheLockStays) {
    TempFolder folder;
    std::string socket_path;
    {
        SingleInstance first("app", folder.path());
        ASSERT_EQ(first.acquire(), Role::kFirst);
        ASSERT_TRUE(first.listen([](uint32_t) {}));
        socket_path = first.socket_path();
        EXPECT_TRUE(exists(socket_path));
    }
    EXPECT_FALSE(exists(socket_path));
    // Like the named mutex it stands for, the lock lasts until the process ends.
    SingleInstance later("app", folder.path());
    EXPECT_EQ(later.acquire(), Role::kFirstHasNoWindow);
    EXPECT_EQ(role_in_child("app", folder.path()), static_cast<int>(Role::kFirstHasNoWindow));
}

TEST(SingleInstance, AFolderOthersMayWriteToIsNotUsed) {
    TempFolder folder;
    const std::string shared = folder.file("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    SingleInstance first("app", shared);
    SingleInstance second("app", shared);
    // Nothing to share a lock in: every start runs, as it would without one.
    EXPECT_EQ(first.acquire(), Role::kFirst);
    EXPECT_EQ(second.acquire(), Role::kFirst);
    EXPECT_FALSE(first.listen([](uint32_t) {}));
    EXPECT_FALSE(exists(shared + "/app.lock"));
}

TEST(SingleInstance, FilesLiveInTheRuntimeFolder) {
    TempFolder runtime;
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
    SingleInstance instance("talvoro_gui");
    EXPECT_EQ(instance.lock_path(), runtime.file("talvoro_gui.lock"));
    EXPECT_EQ(instance.socket_path(), runtime.file("talvoro_gui.sock"));
    EXPECT_EQ(instance.acquire(), Role::kFirst);
    EXPECT_TRUE(exists(runtime.file("talvoro_gui.lock")));
}

TEST(SingleInstance, WithoutAPrivateRuntimeFolderAPrivateTmpFolderIsUsed) {
    ScopedEnv env("XDG_RUNTIME_DIR", "relative/not/usable");
    SingleInstance instance("talvoro_single_instance_test_" + std::to_string(::getpid()));
    const std::string expected = "/tmp/talvoro-" + std::to_string(::geteuid()) + "/";
    EXPECT_EQ(instance.lock_path().rfind(expected, 0), 0u) << instance.lock_path();
    struct stat info {};
    ASSERT_EQ(::stat(expected.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);
}

}  // namespace
}  // namespace talvoro::platform
