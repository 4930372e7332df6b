// talvoro_probe as a user runs it: --list names every collection of every
// interface with its verdict.
#include <gtest/gtest.h>

#include <string>

#include "composite_descriptors.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

TEST(ProbeList, NamesEveryCollectionAndWhyItIsTakenOrPassedOver) {
    TempFolder folder;
    ScopedEnv hid_dir("TALVORO_HID_DIR", folder.path());
    ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    const std::string file = write_descriptor(
        folder.file("composite.desc"), composite({&kKeyboardCollection, &kConsumerCollection}));
    VirtualMouseProcess mouse(folder.path(), {"--config-descriptor", file});

    const ProgramResult result = run_program(built_program("talvoro_probe"), {"--list"});
    EXPECT_EQ(result.exit_status, 0) << result.out << result.err;
    const std::string& out = result.out;
    const size_t config = out.find(mouse.socket_path(1));
    ASSERT_NE(config, std::string::npos) << out;
    const auto line_with = [&](const std::string& text) {
        const size_t at = out.find(text, config);
        if (at == std::string::npos)
            return std::string();
        const size_t begin = out.rfind('\n', at) + 1;
        return out.substr(begin, out.find('\n', at) - begin);
    };
    EXPECT_NE(line_with("configuration interface"), "") << out;
    EXPECT_NE(line_with("collection 1  usage 0001:0006")
                  .find("passed over: not the configuration collection (usage page)"),
              std::string::npos)
        << out;
    EXPECT_NE(line_with("collection 2  usage 000C:0001").find("passed over"), std::string::npos)
        << out;
    EXPECT_NE(line_with("collection 3  usage FF01:0002").find("feature 1041  taken"),
              std::string::npos)
        << out;
    // The pointer interface before it: one collection, passed over.
    EXPECT_NE(out.find("collection 1  usage 0001:0002"), std::string::npos) << out;
    EXPECT_LT(out.find(mouse.socket_path(0)), config);
}

}  // namespace
}  // namespace talvoro::test
