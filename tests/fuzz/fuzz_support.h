// What the fuzz targets share: a scratch folder of the process for readers that take a path, and
// checks that end the run with a reproducer when a property beyond "no crash" fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace talvoro::fuzz {

// Stops the run like a crash, so libFuzzer keeps the input as a reproducer.
[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

// A folder of this process, in memory where the system offers one, made once.
const std::string& scratch_folder();

// scratch_folder() + name, holding exactly the `size` bytes at `data`.
std::string write_scratch_file(const char* name, const uint8_t* data, size_t size);

// The whole file, or empty when it cannot be read.
std::string read_whole_file(const std::string& path);

// True when `field` has a NUL within its `size` bytes.
inline bool terminated(const char* field, size_t size) {
    return std::memchr(field, '\0', size) != nullptr;
}
template <size_t N>
bool terminated(const char (&field)[N]) {
    return terminated(field, N);
}

}  // namespace talvoro::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::talvoro::fuzz::fail(#condition, __FILE__, __LINE__))
