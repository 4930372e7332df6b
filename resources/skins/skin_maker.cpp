// Draws every skin picture of the four language folders into OUTPUT_DIR.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "bmp_writer.h"
#include "captions.h"
#include "picture_set.h"
#include "render/png_writer.h"
#include "skin_pictures.h"

namespace talvoro::skins {
namespace {

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool write_pictures(const std::filesystem::path& folder, const PictureSet& pictures) {
    bool ok = true;
    for (const SkinPicture& picture : pictures.pictures()) {
        const std::string path = (folder / picture.name).string();
        const bool written = ends_with(picture.name, ".bmp")
                                 ? write_bmp(picture.canvas.image(), path)
                                 : ui::write_png(picture.canvas.image(), path);
        if (!written) {
            std::fprintf(stderr, "talvoro_skin_maker: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

// A caption that does not fit is reported, not fatal: the pictures are still usable, and
// the skins tests fail on it.
void report_overflows(const Captions& captions, const CaptionLog& log) {
    for (const CaptionOverflow& overflow : log.overflows()) {
        std::fprintf(stderr, "talvoro_skin_maker: %s/%s: \"%s\" needs %dx%d pixels, has %dx%d\n",
                     captions.folder.c_str(), overflow.picture.c_str(), overflow.text.c_str(),
                     overflow.needed.width, overflow.needed.height, overflow.room.width,
                     overflow.room.height);
    }
}

// Every folder carries the shared pictures too, so that each one is a complete skin (the
// program reads the window mask from the English folder only). They are encoded once, into
// `first`, and copied from there.
bool copy_shared(const std::filesystem::path& first, const std::filesystem::path& folder,
                 const PictureSet& shared) {
    bool ok = true;
    for (const SkinPicture& picture : shared.pictures()) {
        std::error_code error;
        // Removed first: MinGW's library refuses to overwrite even when told to.
        std::filesystem::remove(folder / picture.name, error);
        std::filesystem::copy_file(first / picture.name, folder / picture.name, error);
        if (error) {
            std::fprintf(stderr, "talvoro_skin_maker: cannot copy %s: %s\n",
                         (folder / picture.name).string().c_str(), error.message().c_str());
            ok = false;
        }
    }
    return ok;
}

bool make_folder(const std::filesystem::path& folder, const Captions& captions) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "talvoro_skin_maker: cannot create %s: %s\n", folder.string().c_str(),
                     error.message().c_str());
        return false;
    }
    CaptionLog log;
    PictureSet pictures(log);
    add_language_pictures(captions, pictures);
    report_overflows(captions, log);
    return write_pictures(folder, pictures);
}

}  // namespace
}  // namespace talvoro::skins

int main(int argc, char** argv) {
    using namespace talvoro::skins;
    if (argc != 2) {
        std::fprintf(stderr, "usage: talvoro_skin_maker OUTPUT_DIR\n");
        return 2;
    }
    CaptionLog shared_log;
    PictureSet shared(shared_log);
    add_shared_pictures(shared);
    const std::filesystem::path root = argv[1];
    const std::filesystem::path first = root / all_captions().front().folder;
    bool ok = true;
    for (const Captions& captions : all_captions()) {
        const std::filesystem::path folder = root / captions.folder;
        ok = make_folder(folder, captions) && ok;
        ok = (folder == first ? write_pictures(folder, shared)
                              : copy_shared(first, folder, shared)) &&
             ok;
    }
    return ok ? 0 : 1;
}
