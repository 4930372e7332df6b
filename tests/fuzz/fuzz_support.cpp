#include "fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace talvoro::fuzz {

const std::string& scratch_folder() {
    // Never destroyed: the clean-up at exit still needs the name.
    static const std::string* folder = [] {
        std::string pattern =
            (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::string("/tmp")) +
            "/talvoro-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        // A run that ends normally leaves nothing behind; a crash leaves the folder to look at.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratch_folder(), ignored);
        });
        return new std::string(pattern);
    }();
    return *folder;
}

std::string write_scratch_file(const char* name, const uint8_t* data, size_t size) {
    const std::string path = scratch_folder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size) ||
        std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();  // the harness itself failed: no input can be judged
    }
    return path;
}

std::string read_whole_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace talvoro::fuzz
