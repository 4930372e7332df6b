// The virtual-HID folder the program serves into, as Windows guards it: a real folder (the
// user's profile keeps other users out), never a link that sends the files elsewhere.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int run_to_end(const std::vector<std::string>& args) {
    return run_program(TALVORO_VIRTUAL_MOUSE_PATH, args, 10).exit_status;
}

TEST(VirtualMouseFolderTest, ServesOnlyIntoARealFolder) {
    TempFolder folder;
    const std::string file = folder.file("plain");
    HANDLE made = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    CloseHandle(made);
    EXPECT_EQ(run_to_end({"--dir", file}), 2) << "a file is no folder";

    const std::string elsewhere = folder.file("elsewhere");
    const std::string link = folder.file("link");
    ASSERT_TRUE(CreateDirectoryA(elsewhere.c_str(), nullptr));
    const bool linked = CreateSymbolicLinkA(
        link.c_str(), elsewhere.c_str(),
        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    const DWORD link_attributes = GetFileAttributesA(link.c_str());
    // Wine makes a link it cannot report as a reparse point; Windows, given the right to make
    // links (developer mode), makes a real one.
    if (linked && link_attributes != INVALID_FILE_ATTRIBUTES &&
        (link_attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        EXPECT_EQ(run_to_end({"--dir", link}), 2) << "a link to a folder is refused";
        EXPECT_FALSE(exists(elsewhere + "/talvoro.if1.hid"));
    } else {
        std::printf("note: no directory link could be made here; the link case was not run\n");
    }
    EXPECT_EQ(run_to_end({"--dir", folder.path(), "--refuse", "0x100"}), 2);

    const std::string fresh = folder.file("hid");  // a missing folder is made
    {
        VirtualMouseProcess mouse(fresh);
        EXPECT_TRUE(exists(mouse.socket_path(1)));
    }
    const DWORD attributes = GetFileAttributesA(fresh.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(exists(fresh + "/talvoro.if1.hid")) << "stopping removes the files";
}

}  // namespace
}  // namespace talvoro::test
