#include "render/image_file_checks.h"

#include <cstring>

namespace talvoro::ui {
namespace {

uint32_t big_endian_32(const uint8_t* at) {
    return (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | at[3];
}

}  // namespace

bool png_chunks_fit(const uint8_t* bytes, size_t size) {
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < sizeof kSignature || std::memcmp(bytes, kSignature, sizeof kSignature) != 0) {
        return true;
    }
    constexpr size_t kFrame = 12;  // length, type and CRC around a chunk's data
    size_t at = sizeof kSignature;
    while (size - at >= kFrame) {
        const size_t length = big_endian_32(bytes + at);
        if (length > size - at - kFrame) {
            return false;
        }
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) {
            break;
        }
        at += kFrame + length;
    }
    return true;
}

bool jpeg_huffman_tables_fit(const uint8_t* bytes, size_t size) {
    // The decoder takes only files that start with a marker.
    if (size == 0 || bytes[0] != 0xFF) {
        return true;
    }
    // Past the end the decoder reads zeros, and so does this.
    const auto byte_at = [&](size_t at) -> uint32_t { return at < size ? bytes[at] : 0; };
    // Every "FF C4" may start a table segment, wherever the decoder's marker search lands; in
    // coded data an FF is always followed by 00, so no real data is mistaken for one.
    for (size_t marker = 0; marker + 1 < size; ++marker) {
        if (bytes[marker] != 0xFF || bytes[marker + 1] != 0xC4) {
            continue;
        }
        size_t at = marker + 2;
        long left = static_cast<long>((byte_at(at) << 8) | byte_at(at + 1)) - 2;
        at += 2;
        while (left > 0 && at < size) {
            ++at;  // table class and number
            uint32_t codes = 0;
            for (int length = 0; length < 16; ++length) {
                codes += byte_at(at++);
            }
            if (codes > 256) {
                return false;
            }
            at += codes;
            left -= 17 + static_cast<long>(codes);
        }
    }
    return true;
}

bool fit_for_decoder(const uint8_t* bytes, size_t size) {
    return png_chunks_fit(bytes, size) && jpeg_huffman_tables_fit(bytes, size);
}

}  // namespace talvoro::ui
