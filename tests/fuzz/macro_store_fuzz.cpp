// The macro store file (profile/Macros) read at start-up, and a .qxm macro file imported from the
// macro page (the same raw format; the first byte of the input picks which reader). Beyond no
// crash: the macro table keeps its count within the fifteen macros, every step count within 256
// and every text terminated; an import is written back to the store file and reads back the same.
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "platform/program_paths.h"
#include "store/macro_files.h"
#include "store/profile_files.h"
#include "store_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro;
    static const bool data_folder = [] {
        // The store file lives in the data folder: make it the scratch folder.
        setenv("TALVORO_DATA_DIR", fuzz::scratch_folder().c_str(), 1);
        return ensure_program_folders();
    }();
    FUZZ_CHECK(data_folder);
    if (size < 1) {
        return 0;
    }
    const bool import = (data[0] & 1) != 0;
    const std::string path =
        fuzz::write_scratch_file(import ? "macros.qxm" : "Macros", data + 1, size - 1);
    static auto macros = std::make_unique<MacroStore>();
    std::memset(macros.get(), 0, sizeof(MacroStore));
    const int result = import ? import_macro_file(*macros, path) : read_macro_store(*macros, path);
    FUZZ_CHECK(result == (size == 1 ? kStoreEmpty : kStoreRead));
    fuzz::check_macro_store(*macros);
    if (import && result == kStoreRead) {
        static auto again = std::make_unique<MacroStore>();
        FUZZ_CHECK(read_macro_store(*again, macro_store_path()) == kStoreRead);
        FUZZ_CHECK(std::memcmp(again.get(), macros.get(), sizeof(MacroStore)) == 0);
    }
    return 0;
}
