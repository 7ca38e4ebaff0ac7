// The PNG reader: PNG to 8 bits per channel. Palette and grey are expanded to
// colour and 16-bit channels reduced. The picture is 32-bit RGBA when it has an
// alpha channel, or a transparency chunk on a palette or on grey of fewer than
// 8 bits; otherwise 24-bit RGB (other transparency chunks are ignored).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/image.h"

// The stream: bytes already in memory, then (when fd is not -1) the rest of an
// open file, read in pieces.
struct PngInput {
    std::span<const uint8_t> bytes;
    int fd = -1;
    bool verify_checksums = false;  // read_png_for only; read_png always verifies
};

struct PngLoad {
    Image image;     // the picture, or the picture already resampled
    int width = 0;   // the picture's own size
    int height = 0;
};

// True when the bytes begin with the PNG signature.
bool has_png_signature(std::span<const uint8_t> bytes);
// The whole picture. Nothing when the signature or a chunk before the image
// data cannot be read, or the header declares a size beyond the picture limits.
// Damaged image data gives the rows read before the damage; the rest stay black.
std::optional<Image> read_png(std::span<const uint8_t> bytes);
// As read_png, but a picture of another size than target_width x target_height
// and not interlaced is resampled (scaling.h) row by row as it is decoded, so
// only the target and a row are held. Damaged data gives what was read anyway,
// so the checksums need not be verified.
std::optional<PngLoad> read_png_for(const PngInput& input, int target_width, int target_height);
