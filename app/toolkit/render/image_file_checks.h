// Checks made on a picture file before the decoder sees it, for the faults of the decoder we
// link (stb_image as the distribution ships it) that a hostile file could reach: each refuses a
// file the decoder would mishandle and passes everything else on unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

namespace talvoro::ui {

// False for a PNG with a chunk that claims more bytes than the file holds: the decoder sizes
// its buffer of compressed data from the claims before reading, so a file of a hundred bytes
// could make it allocate gigabytes.
bool png_chunks_fit(const uint8_t* bytes, size_t size);

// False for a JPEG with a Huffman table of more than 256 codes: the decoder writes the code
// lengths into a table of 257 entries without counting them.
bool jpeg_huffman_tables_fit(const uint8_t* bytes, size_t size);

// Both of the above.
bool fit_for_decoder(const uint8_t* bytes, size_t size);

}  // namespace talvoro::ui
