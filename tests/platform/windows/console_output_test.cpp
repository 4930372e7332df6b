#include <gtest/gtest.h>
#include <windows.h>

#include "console_output.h"

namespace talvoro {
namespace {

// The command-line programs in a console of their own: UTF-8 is what it is told to show. The
// test's own output stays where ctest reads it.
TEST(ConsoleOutput, AConsoleIsToldToShowUtf8) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    FreeConsole();
    if (AllocConsole() == FALSE) {
        GTEST_SKIP() << "no console can be made here";
    }
    ASSERT_NE(SetConsoleOutputCP(437), FALSE);
    use_utf8_console_output();
    EXPECT_EQ(GetConsoleOutputCP(), static_cast<UINT>(CP_UTF8));
    FreeConsole();
    SetStdHandle(STD_OUTPUT_HANDLE, out);
    SetStdHandle(STD_ERROR_HANDLE, err);
}

}  // namespace
}  // namespace talvoro
