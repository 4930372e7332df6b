// The program on its sockets, spoken to in the wire format by a raw client.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

extern char** environ;

namespace talvoro::test {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kInfo = 1, kSetFeature = 2, kGetFeature = 3;
constexpr uint8_t kFailed = 0, kOk = 1;

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// A host connection to one interface socket.
class RawClient {
  public:
    explicit RawClient(const std::string& path) {
        fd_ = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { close(fd_); }
    bool connected() const { return connected_; }

    // Sends one packet and returns the reply packet; empty when the mouse
    // closed the connection or did not answer within 2 s.
    Bytes exchange(const Bytes& packet) {
        if (send(fd_, packet.data(), packet.size(), MSG_NOSIGNAL) < 0)
            return {};
        return receive();
    }
    Bytes receive() {
        pollfd waiting{fd_, POLLIN, 0};
        if (poll(&waiting, 1, 2000) <= 0)
            return {};
        Bytes reply(8192);
        const ssize_t n = recv(fd_, reply.data(), reply.size(), 0);
        reply.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return reply;
    }
    Bytes set_command(uint8_t code, uint8_t slot = 0) {
        Bytes packet(1 + 64, 0);
        packet[0] = kSetFeature;
        packet[1] = 0x60;
        packet[2] = code;
        packet[6] = slot;
        return exchange(packet);
    }
    Bytes get_report(uint8_t id, uint16_t length) {
        return exchange({kGetFeature, static_cast<uint8_t>(length & 0xFF),
                         static_cast<uint8_t>(length >> 8), id});
    }

  private:
    int fd_ = -1;
    bool connected_ = false;
};

TEST(VirtualMouseProgramTest, InfoNamesTheMouseAndEachInterfacesDescriptor) {
    TempFolder folder;
    VirtualMouseProcess mouse(folder.path());
    RawClient config(mouse.socket_path(1));
    ASSERT_TRUE(config.connected());
    const Bytes info = config.exchange({kInfo});
    ASSERT_GT(info.size(), 10u);
    EXPECT_EQ(info[0], kOk);
    EXPECT_EQ(info[1] | info[2] << 8, TALVORO_VENDOR_ID);
    EXPECT_EQ(info[3] | info[4] << 8, TALVORO_PRODUCT_ID);
    EXPECT_EQ(info[5] | info[6] << 8, 0x0100);
    EXPECT_EQ(Bytes(info.begin() + 7, info.begin() + 10), (Bytes{0x06, 0x01, 0xFF}));

    RawClient pointer(mouse.socket_path(0));
    ASSERT_TRUE(pointer.connected());
    const Bytes pointer_info = pointer.exchange({kInfo});
    ASSERT_GT(pointer_info.size(), 11u);
    EXPECT_EQ(Bytes(pointer_info.begin() + 7, pointer_info.begin() + 11),
              (Bytes{0x05, 0x01, 0x09, 0x02}));
    // The pointer interface has no feature reports.
    EXPECT_EQ(pointer.set_command(0x03), Bytes{kFailed});
    EXPECT_EQ(pointer.get_report(0x60, 64), Bytes{kFailed});

    // Malformed requests fail, and the mouse goes on serving.
    EXPECT_EQ(config.exchange({0x99}), Bytes{kFailed});
    EXPECT_EQ(config.exchange({kInfo, 0}), Bytes{kFailed});
    EXPECT_EQ(config.exchange({kSetFeature}), Bytes{kFailed});
    EXPECT_EQ(config.get_report(0x60, 0xFFFF), Bytes{kFailed});
    EXPECT_EQ(config.get_report(0x60, 63), Bytes{kFailed});
    EXPECT_EQ(config.exchange(Bytes(6000, kSetFeature)), Bytes{kFailed});
    EXPECT_EQ(config.exchange({kInfo}).at(0), kOk);
}

TEST(VirtualMouseProgramTest, IdsComeFromTheCommandLine) {
    TempFolder folder;
    VirtualMouseProcess mouse(folder.path(), {"--vendor-id", "0x1234", "--product-id", "0x5678",
                                              "--interfaces", "config"});
    EXPECT_FALSE(exists(mouse.socket_path(0)));
    RawClient config(mouse.socket_path(1));
    const Bytes info = config.exchange({kInfo});
    ASSERT_GE(info.size(), 7u);
    EXPECT_EQ(Bytes(info.begin() + 1, info.begin() + 5), (Bytes{0x34, 0x12, 0x78, 0x56}));
}

TEST(VirtualMouseProgramTest, ReplyAskedForTooEarlyReadsStatusZero) {
    TempFolder folder;
    VirtualMouseProcess mouse(folder.path());
    RawClient host(mouse.socket_path(1));
    ASSERT_EQ(host.set_command(0x04, 2), Bytes{kOk});
    const Bytes early = host.get_report(0x60, 64);  // the slot change takes 300 ms
    ASSERT_EQ(early.size(), 65u);
    EXPECT_EQ(early[0], kOk);
    EXPECT_EQ(early[1], 0x60);
    EXPECT_EQ(early[2], 0);

    ASSERT_EQ(host.set_command(0x03), Bytes{kOk});
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const Bytes slot = host.get_report(0x60, 64);
    ASSERT_EQ(slot.size(), 65u);
    EXPECT_EQ(slot[2], 1);
    EXPECT_EQ(slot[17], 2);
    const Bytes state = mouse.read_state();
    ASSERT_EQ(state.size(), 10244u);
    EXPECT_EQ(state[10240], 2);
}

TEST(VirtualMouseProgramTest, SignalsUnplugAndPlugInTheSockets) {
    TempFolder folder;
    VirtualMouseProcess mouse(folder.path());
    RawClient before(mouse.socket_path(1));
    ASSERT_TRUE(before.connected());
    mouse.unplug();
    EXPECT_FALSE(exists(mouse.socket_path(0)));
    EXPECT_FALSE(exists(mouse.socket_path(1)));
    EXPECT_TRUE(before.exchange({kInfo}).empty());  // the old connection is gone

    mouse.plug_in();
    RawClient after(mouse.socket_path(1));
    ASSERT_TRUE(after.connected());
    EXPECT_EQ(after.exchange({kInfo}).at(0), kOk);
    EXPECT_EQ(mouse.stop(), 0);
    EXPECT_FALSE(exists(mouse.socket_path(0)));
    EXPECT_FALSE(exists(mouse.socket_path(1)));
}

TEST(VirtualMouseProgramTest, FaultUnplugsUntilPluggedInAgain) {
    TempFolder folder;
    VirtualMouseProcess mouse(folder.path(), {"--unplug-after", "1"});
    RawClient host(mouse.socket_path(1));
    EXPECT_EQ(host.set_command(0x03), Bytes{kFailed});  // the mouse left instead
    EXPECT_TRUE(host.get_report(0x60, 64).empty());     // and closed the connection
    EXPECT_FALSE(exists(mouse.socket_path(1)));
    mouse.plug_in();
    RawClient again(mouse.socket_path(1));
    EXPECT_EQ(again.set_command(0x03), Bytes{kOk});
}

TEST(VirtualMouseProgramTest, StateFileSurvivesARestart) {
    TempFolder folder;
    {
        VirtualMouseProcess mouse(folder.path(), {"--firmware", "140"});
        RawClient host(mouse.socket_path(1));
        EXPECT_EQ(host.set_command(0x30), Bytes{kOk});
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(host.get_report(0x60, 64).at(2), 1);
    }
    VirtualMouseProcess mouse(folder.path());
    const Bytes state = mouse.read_state();
    ASSERT_EQ(state.size(), 10244u);
    EXPECT_EQ(state[10241], 1);  // dark
    EXPECT_EQ(state[10242], 140);
    EXPECT_EQ(state[10243], 0);
}

// Runs the program to its end; its exit status.
int run_to_end(std::vector<std::string> args) {
    args.insert(args.begin(), TALVORO_VIRTUAL_MOUSE_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// --config-descriptor: the configuration interface serves the file's bytes
// whole, up to the 4096 a hidraw node may carry, and still answers its
// feature reports; the pointer interface keeps its own.
TEST(VirtualMouseProgramTest, ServesTheConfigurationDescriptorItIsGiven) {
    TempFolder folder;
    const auto write = [&](const std::string& name, const Bytes& bytes) {
        std::ofstream(folder.file(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return folder.file(name);
    };
    Bytes longest(4096);
    for (size_t i = 0; i < longest.size(); ++i)
        longest[i] = static_cast<uint8_t>(i * 7);
    {
        VirtualMouseProcess mouse(folder.path(), {"--config-descriptor", write("long", longest)});
        RawClient config(mouse.socket_path(1));
        const Bytes info = config.exchange({kInfo});
        ASSERT_EQ(info.size(), 7u + longest.size());
        EXPECT_EQ(Bytes(info.begin() + 7, info.end()), longest);
        EXPECT_EQ(config.set_command(0x30), Bytes{kOk}) << "feature reports still answered";
        RawClient pointer(mouse.socket_path(0));
        const Bytes pointer_info = pointer.exchange({kInfo});
        ASSERT_GT(pointer_info.size(), 9u);
        EXPECT_EQ(pointer_info[7], 0x05) << "the pointer keeps its descriptor";
    }
    EXPECT_EQ(run_to_end({"--dir", folder.path(), "--config-descriptor", folder.file("none")}), 2);
    EXPECT_EQ(run_to_end({"--dir", folder.path(), "--config-descriptor", write("empty", {})}), 2);
    longest.push_back(0);
    EXPECT_EQ(run_to_end({"--dir", folder.path(), "--config-descriptor", write("over", longest)}),
              2);
    EXPECT_FALSE(exists(folder.file("talvoro.if1.hid")));
}

TEST(VirtualMouseProgramTest, ServesOnlyIntoAPrivateFolder) {
    TempFolder folder;
    const std::string shared = folder.file("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(chmod(shared.c_str(), 0777), 0);
    EXPECT_EQ(run_to_end({"--dir", shared}), 2);
    EXPECT_FALSE(exists(shared + "/talvoro.if1.hid"));
    EXPECT_EQ(run_to_end({"--dir", folder.path(), "--refuse", "0x100"}), 2);

    const std::string fresh = folder.file("hid");  // a missing folder is made private
    {
        VirtualMouseProcess mouse(fresh);
        EXPECT_TRUE(exists(mouse.socket_path(1)));
    }
    struct stat info {};
    ASSERT_EQ(stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace talvoro::test
