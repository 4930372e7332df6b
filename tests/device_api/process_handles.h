// How many handles (descriptors on Linux) the test process holds, so tests
// can show that a path through the library leaks none.
#pragma once

namespace talvoro::test {

int open_handle_count();

}  // namespace talvoro::test
