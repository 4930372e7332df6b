// Draws every skin picture of the four language folders into OUTPUT_DIR: each at the layouts'
// size, and again at twice that size for displays scaled past 100 % ("Name@2x.png").
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "bmp_writer.h"
#include "captions.h"
#include "picture_set.h"
#include "render/image_cache.h"
#include "render/png_writer.h"
#include "skin_pictures.h"

namespace talvoro::skins {
namespace {

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The file a picture is written to in a set drawn at `density`.
std::string file_name(const SkinPicture& picture, int density) {
    return ui::picture_file_at_density(picture.name, density);
}

// A BMP picture keeps no alpha; its larger twin, a PNG, must not keep any either, so that the
// colour keys the layouts give it find the same pixels.
ui::Image without_alpha(const ui::Image& image) {
    ui::Image opaque = image;
    for (int y = 0; y < opaque.height(); ++y) {
        for (int x = 0; x < opaque.width(); ++x) {
            ui::Color c = opaque.pixel(x, y);
            c.a = 255;
            opaque.set_pixel(x, y, c);
        }
    }
    return opaque;
}

bool write_pictures(const std::filesystem::path& folder, const PictureSet& pictures, int density) {
    bool ok = true;
    for (const SkinPicture& picture : pictures.pictures()) {
        const std::string path = (folder / file_name(picture, density)).string();
        const bool bmp = ends_with(picture.name, ".bmp");
        const bool written = bmp && density == 1 ? write_bmp(picture.canvas.image(), path)
                             : bmp ? ui::write_png(without_alpha(picture.canvas.image()), path)
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
                 const PictureSet& shared, int density) {
    bool ok = true;
    for (const SkinPicture& picture : shared.pictures()) {
        const std::string name = file_name(picture, density);
        std::error_code error;
        // Removed first: MinGW's library refuses to overwrite even when told to.
        std::filesystem::remove(folder / name, error);
        std::filesystem::copy_file(first / name, folder / name, error);
        if (error) {
            std::fprintf(stderr, "talvoro_skin_maker: cannot copy %s: %s\n",
                         (folder / name).string().c_str(), error.message().c_str());
            ok = false;
        }
    }
    return ok;
}

bool make_folder(const std::filesystem::path& folder, const Captions& captions, int density) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "talvoro_skin_maker: cannot create %s: %s\n", folder.string().c_str(),
                     error.message().c_str());
        return false;
    }
    CaptionLog log;
    PictureSet pictures(log, *ui::DisplayScale::from_percent(100 * density));
    add_language_pictures(captions, pictures);
    report_overflows(captions, log);
    return write_pictures(folder, pictures, density);
}

}  // namespace
}  // namespace talvoro::skins

int main(int argc, char** argv) {
    using namespace talvoro::skins;
    if (argc != 2) {
        std::fprintf(stderr, "usage: talvoro_skin_maker OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::filesystem::path first = root / all_captions().front().folder;
    bool ok = true;
    for (int density : {1, 2}) {
        CaptionLog shared_log;
        PictureSet shared(shared_log, *talvoro::ui::DisplayScale::from_percent(100 * density));
        add_shared_pictures(shared);
        for (const Captions& captions : all_captions()) {
            const std::filesystem::path folder = root / captions.folder;
            ok = make_folder(folder, captions, density) && ok;
            ok = (folder == first ? write_pictures(folder, shared, density)
                                  : copy_shared(first, folder, shared, density)) &&
                 ok;
        }
    }
    return ok ? 0 : 1;
}
