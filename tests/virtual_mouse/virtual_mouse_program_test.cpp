// The program on its system's transport, spoken to in the wire format by a raw client.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "raw_client.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/utf8_path.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(utf8_path(path), error));
}

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

// Hosts that leave at any point (at once, after a request, with many others still connected)
// cost the mouse nothing: more come and go than it holds connections at once, and it still
// answers.
TEST(VirtualMouseProgramTest, HostsThatComeAndGoLeaveTheMouseServing) {
    TempFolder folder;
    VirtualMouseProcess mouse(folder.path());
    std::vector<std::unique_ptr<RawClient>> staying;
    for (int i = 0; i < 40; ++i) {
        staying.push_back(std::make_unique<RawClient>(mouse.socket_path(i % 2)));
        ASSERT_TRUE(staying.back()->connected()) << i;
    }
    for (int i = 0; i < 150; ++i) {
        RawClient passing(mouse.socket_path(1));
        ASSERT_TRUE(passing.connected()) << i;
        if (i % 3 == 1) {
            const Bytes info = passing.exchange({kInfo});
            ASSERT_FALSE(info.empty()) << "passing host " << i;
            EXPECT_EQ(info[0], kOk);
        } else if (i % 3 == 2) {
            EXPECT_TRUE(passing.send_only({kInfo}));  // and leaves without its reply
        }
    }
    for (size_t i = 0; i < staying.size(); ++i) {
        const Bytes info = staying[i]->exchange({kInfo});
        ASSERT_FALSE(info.empty()) << "staying host " << i;
        EXPECT_EQ(info[0], kOk);
    }
    RawClient last(mouse.socket_path(1));
    EXPECT_EQ(last.set_command(0x03), Bytes{kOk});
    EXPECT_EQ(mouse.stop(), 0);
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

TEST(VirtualMouseProgramTest, RequestsUnplugAndPlugInTheInterfaces) {
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
    ASSERT_TRUE(again.connected());
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
int run_to_end(const std::vector<std::string>& args) {
    return run_program(TALVORO_VIRTUAL_MOUSE_PATH, args, 10).exit_status;
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

}  // namespace
}  // namespace talvoro::test
