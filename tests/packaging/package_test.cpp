// The Debian package as a user gets it: built with cpack from this build, unpacked into a folder
// of its own and run from there (and, on a CI machine as root, installed with apt, run from /usr
// and removed again). Prints the package's size and the program's start to its first frame from
// the package beside the same from build/bin.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/linux/first_frame.h"
#include "support/linux/xvfb_display.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "support/wait_for.h"
#include "talvoro_version.h"

namespace talvoro::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAppId = "example.talvoro.MouseUtility";
const std::vector<std::string> kPrograms = {"talvoro_gui", "talvoro_cli", "talvoro_probe",
                                            "talvoro_virtual_mouse"};

// Every regular file and link under `root`, as paths relative to it.
std::set<std::string> files_under(const std::string& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory() || entry.is_symlink()) {
            files.insert(entry.path().lexically_relative(root).string());
        }
    }
    return files;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// The package and the tools around it, made once for all the tests below.
class PackageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        work_ = new TempFolder();
        const std::string out = work_->file("out");
        const ProgramResult made =
            run_program(TALVORO_CPACK_COMMAND,
                        {"-G", "DEB", "--config",
                         std::string(TALVORO_BUILD_DIR) + "/CPackConfig.cmake", "-B", out},
                        300);
        ASSERT_EQ(made.exit_status, 0) << made.out << made.err;
        for (const auto& entry : fs::directory_iterator(out)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("talvoro_", 0) == 0 && entry.path().extension() == ".deb") {
                package_ = new std::string(entry.path().string());
            }
        }
        ASSERT_NE(package_, nullptr) << "cpack made no talvoro_*.deb in " << out;
        root_ = new std::string(work_->file("root"));
        const ProgramResult unpacked = run_program("/usr/bin/dpkg-deb", {"-x", *package_, *root_});
        ASSERT_EQ(unpacked.exit_status, 0) << unpacked.err;
        xvfb_ = new XvfbDisplay();
    }
    static void TearDownTestSuite() {
        delete xvfb_;
        delete root_;
        delete package_;
        delete work_;
    }
    void SetUp() override {
        if (package_ == nullptr || root_ == nullptr) {
            GTEST_SKIP() << "no package was made";
        }
    }

    static std::string usr(const std::string& relative) { return *root_ + "/usr/" + relative; }

    // The checks a user's first minute makes, against the programs under `bin` and their library:
    // the version, the mouse found by the probe, the window's first frame with the UI dump
    // written and the data kept under XDG_DATA_HOME. Returns the first frame's time.
    static double run_installed(const std::string& bin) {
        TempFolder home;
        const ScopedEnv hid_dir("TALVORO_HID_DIR", home.file("hid"));
        const ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
        const ScopedEnv runtime("XDG_RUNTIME_DIR", home.path());
        const ScopedEnv user_home("HOME", home.path());
        const ScopedEnv data_home("XDG_DATA_HOME", home.file("data"));
        const ScopedEnv dump("TALVORO_UI_DUMP", home.file("ui.json"));
        const ScopedEnv display("DISPLAY", xvfb_->display());
        unsetenv("TALVORO_DATA_DIR");
        mkdir(home.file("hid").c_str(), 0700);

        const ProgramResult version = run_program(bin + "/talvoro_cli", {"--version"});
        EXPECT_EQ(version.exit_status, 0);
        EXPECT_EQ(version.out, std::string("talvoro_cli ") + kTalvoroVersion + "\n");

        VirtualMouseProcess mouse(home.file("hid"), {}, "talvoro", bin + "/talvoro_virtual_mouse");
        const ProgramResult listed = run_program(bin + "/talvoro_probe", {"--list"});
        EXPECT_EQ(listed.exit_status, 0) << listed.err;
        EXPECT_NE(listed.out.find("taken"), std::string::npos) << listed.out;

        const std::set<std::string> bin_before = files_under(bin);
        const FirstFrame frame = start_until_first_frame(bin + "/talvoro_gui");
        EXPECT_GE(frame.ms, 0) << "no first frame from " << bin;
        // The window is up, and with it the library found by its SONAME and the mouse read. The
        // dump follows the frame it describes.
        std::string ui;
        wait_for(
            [&] {
                ui = file_contents(home.file("ui.json"));
                return ui.find("maincontrolbtn") != std::string::npos;
            },
            2);
        EXPECT_NE(ui.find("\"controls\""), std::string::npos) << "no UI dump";
        EXPECT_NE(ui.find("maincontrolbtn"), std::string::npos);
        stop_program(frame.pid);
        EXPECT_TRUE(fs::is_directory(home.file("data/talvoro/profile")))
            << "the data is not kept under XDG_DATA_HOME";
        EXPECT_EQ(files_under(bin), bin_before) << "the program wrote into " << bin;
        return frame.ms;
    }

    static TempFolder* work_;
    static std::string* package_;
    static std::string* root_;
    static XvfbDisplay* xvfb_;
};

TempFolder* PackageTest::work_ = nullptr;
std::string* PackageTest::package_ = nullptr;
std::string* PackageTest::root_ = nullptr;
XvfbDisplay* PackageTest::xvfb_ = nullptr;

// What the package carries, where the desktop and the tools that build against it look.
TEST_F(PackageTest, CarriesTheWholeProgramInItsPlaces) {
    const std::set<std::string> files = files_under(*root_);
    std::vector<std::string> expected = {
        "usr/include/talvoro_api.h",
        "usr/lib/libtalvoro_api.so",
        "usr/lib/libtalvoro_api.so.1",
        "usr/lib/pkgconfig/talvoro-api.pc",
        "usr/lib/udev/rules.d/70-talvoro.rules",
        "usr/share/bash-completion/completions/talvoro_cli",
        std::string("usr/share/applications/") + kAppId + ".desktop",
        std::string("usr/share/metainfo/") + kAppId + ".metainfo.xml",
        std::string("usr/share/icons/hicolor/scalable/apps/") + kAppId + ".svg",
        "usr/share/talvoro/TalvoroSkin/Background_mask.bmp",
        "usr/share/talvoro/TalvoroSkin3/Background_mask.bmp",
        "usr/share/talvoro/layouts/main_window.xml",
        "usr/share/doc/talvoro/copyright",
        "usr/share/doc/talvoro/changelog.gz",
    };
    for (const char* size : {"16x16", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
        expected.push_back(std::string("usr/share/icons/hicolor/") + size + "/apps/" + kAppId +
                           ".png");
    }
    for (const std::string& program : kPrograms) {
        expected.push_back("usr/bin/" + program);
        expected.push_back("usr/share/man/man1/" + program + ".1.gz");
    }
    for (const std::string& file : expected) {
        EXPECT_TRUE(files.count(file)) << file << " is not in the package";
    }
    // Nothing of the build's own: tests, benchmarks, build tools.
    for (const std::string& file : files) {
        EXPECT_EQ(file.find("test"), std::string::npos) << file;
        EXPECT_EQ(file.find("bench"), std::string::npos) << file;
        EXPECT_EQ(file.find("maker"), std::string::npos) << file;
    }

    const ProgramResult dynamic =
        run_program("/usr/bin/readelf", {"-d", usr("lib/libtalvoro_api.so.1")});
    EXPECT_NE(dynamic.out.find("Library soname: [libtalvoro_api.so.1]"), std::string::npos)
        << dynamic.out;

    // Dependencies found by shlibdeps: the window's libraries, versioned.
    const ProgramResult fields =
        run_program("/usr/bin/dpkg-deb", {"-f", *package_, "Depends", "Installed-Size"});
    EXPECT_TRUE(std::regex_search(fields.out, std::regex("libsdl2-2\\.0-0 \\(>= [0-9.]+\\)")))
        << fields.out;
    EXPECT_NE(fields.out.find("libc6"), std::string::npos) << fields.out;
    std::printf("package %s: %lld KiB packed; %s", fs::path(*package_).filename().c_str(),
                static_cast<long long>(fs::file_size(*package_) / 1024), fields.out.c_str());

    // Debian's own checker finds no error; its warnings about a library shipped in the
    // program's package are the one-package choice.
    const ProgramResult lintian =
        run_program("/usr/bin/lintian", {"--tag-display-limit", "0", *package_}, 300);
    std::istringstream tags(lintian.out);
    for (std::string tag; std::getline(tags, tag);) {
        EXPECT_NE(tag.rfind("E: ", 0), 0u) << tag;
    }
}

// The desktop's own validators pass the entry and the metadata; the udev rule opens only the
// mouse's hidraw nodes, to the user at the seat.
TEST_F(PackageTest, DesktopFilesValidateAndTheRuleNamesOnlyTheMouse) {
    const ProgramResult entry =
        run_program("/usr/bin/desktop-file-validate",
                    {usr(std::string("share/applications/") + kAppId + ".desktop")});
    EXPECT_EQ(entry.exit_status, 0) << entry.out << entry.err;
    EXPECT_EQ(entry.out + entry.err, "");
    const std::string metainfo = usr(std::string("share/metainfo/") + kAppId + ".metainfo.xml");
    const ProgramResult appstream =
        run_program("/usr/bin/appstreamcli", {"validate", "--no-net", metainfo});
    EXPECT_EQ(appstream.exit_status, 0) << appstream.out << appstream.err;
    const std::string meta = file_contents(metainfo);
    EXPECT_NE(meta.find(std::string("<release version=\"") + kTalvoroVersion + "\""),
              std::string::npos);
    char modalias[64];
    std::snprintf(modalias, sizeof modalias, "<modalias>usb:v%04Xp%04Xd*</modalias>",
                  TALVORO_VENDOR_ID, TALVORO_PRODUCT_ID);
    EXPECT_NE(meta.find(modalias), std::string::npos) << meta;

    std::istringstream rules(file_contents(usr("lib/udev/rules.d/70-talvoro.rules")));
    char vendor[32];
    char product[32];
    std::snprintf(vendor, sizeof vendor, "ATTRS{idVendor}==\"%04x\"", TALVORO_VENDOR_ID);
    std::snprintf(product, sizeof product, "ATTRS{idProduct}==\"%04x\"", TALVORO_PRODUCT_ID);
    int rule_count = 0;
    for (std::string line; std::getline(rules, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        ++rule_count;
        EXPECT_NE(line.find("SUBSYSTEM==\"hidraw\""), std::string::npos) << line;
        EXPECT_NE(line.find(vendor), std::string::npos) << line;
        EXPECT_NE(line.find(product), std::string::npos) << line;
        EXPECT_NE(line.find("TAG+=\"uaccess\""), std::string::npos) << line;
        EXPECT_EQ(line.find("MODE"), std::string::npos) << "no mode for everyone: " << line;
    }
    EXPECT_EQ(rule_count, 1);
}

// A program of someone else's built with the package's pkg-config file and header, linked to its
// library and run against the package's virtual mouse.
TEST_F(PackageTest, LibraryBuildsAgainstItsPkgConfigFile) {
    TempFolder folder;
    const std::string source = folder.file("reader.c");
    std::ofstream(source) << "#include <stdio.h>\n#include <talvoro_api.h>\n"
                             "int main(void) {\n  uint16_t version = 0;\n"
                             "  if (!Open_QX_device() || Get_fw_version(&version) != 1) return 1;\n"
                             "  printf(\"%u\\n\", version);\n  return 0;\n}\n";
    const ScopedEnv pkg_path("PKG_CONFIG_PATH", usr("lib/pkgconfig"));
    const ProgramResult flags =
        run_program("/usr/bin/pkg-config", {"--cflags", "--libs", "talvoro-api"});
    ASSERT_EQ(flags.exit_status, 0) << flags.err;
    std::vector<std::string> args = {source, "-o", folder.file("reader"),
                                     "-Wl,-rpath," + usr("lib")};
    std::istringstream words(flags.out);
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    const ProgramResult built = run_program("/usr/bin/cc", args);
    ASSERT_EQ(built.exit_status, 0) << built.err;

    const ScopedEnv hid_dir("TALVORO_HID_DIR", folder.path());
    const ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    VirtualMouseProcess mouse(folder.path(), {"--firmware", "205"}, "talvoro",
                              usr("bin/talvoro_virtual_mouse"));
    const ProgramResult read = run_program(folder.file("reader"), {});
    EXPECT_EQ(read.exit_status, 0) << read.err;
    EXPECT_EQ(read.out, "205\n");
}

// Unpacked anywhere, the programs find their pictures and library relative to themselves and
// keep the user's data out of their own folder; no slower to start than from build/bin.
TEST_F(PackageTest, UnpackedProgramsRunFromTheirFolder) {
    ASSERT_FALSE(xvfb_->display().empty());
    std::vector<double> packaged;
    std::vector<double> built;
    for (int run = 0; run < 3; ++run) {
        packaged.push_back(run_installed(usr("bin")));
        const TempFolder data;
        const ScopedEnv data_dir("TALVORO_DATA_DIR", data.path());
        const ScopedEnv display("DISPLAY", xvfb_->display());
        const ScopedEnv runtime("XDG_RUNTIME_DIR", data.path());
        const ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
        const ScopedEnv hid_dir("TALVORO_HID_DIR", data.path());
        const FirstFrame frame =
            start_until_first_frame(std::string(TALVORO_BUILD_DIR) + "/bin/talvoro_gui");
        stop_program(frame.pid);
        built.push_back(frame.ms);
    }
    std::printf("first frame, median of 3: from the package %.1f ms, from build/bin %.1f ms\n",
                median(packaged), median(built));
}

// On a CI machine as root: installed for real, run from /usr, and removed without a trace.
TEST_F(PackageTest, InstallsAndRemovesCleanlyWithApt) {
    if (std::getenv("CI") == nullptr || geteuid() != 0) {
        GTEST_SKIP() << "installs into the system only on CI as root";
    }
    const std::string folder = fs::path(*package_).parent_path().string();
    const std::string name = "./" + fs::path(*package_).filename().string();
    const std::string apt = "cd '" + folder + "' && DEBIAN_FRONTEND=noninteractive apt-get ";
    const ProgramResult installed =
        run_program("/bin/sh", {"-c", apt + "install -y -q --no-install-recommends " + name}, 300);
    ASSERT_EQ(installed.exit_status, 0) << installed.out << installed.err;
    const ProgramResult listed = run_program("/usr/bin/dpkg", {"-L", "talvoro"});
    ASSERT_EQ(listed.exit_status, 0) << listed.err;

    run_installed("/usr/bin");

    const ProgramResult removed = run_program("/bin/sh", {"-c", apt + "purge -y -q talvoro"}, 300);
    ASSERT_EQ(removed.exit_status, 0) << removed.out << removed.err;
    std::istringstream paths(listed.out);
    int files = 0;
    for (std::string path; std::getline(paths, path);) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (fs::is_directory(status)) {
            continue;  // shared folders such as /usr/bin stay
        }
        ++files;
        EXPECT_FALSE(fs::exists(status)) << path << " is left after removal";
    }
    EXPECT_GT(files, 20);
    EXPECT_FALSE(fs::exists("/usr/share/talvoro")) << "its folders are left after removal";
}

}  // namespace
}  // namespace talvoro::test
