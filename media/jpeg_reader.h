// The JPEG reader: baseline and progressive JPEG from memory to 24-bit RGB,
// greyscale as three equal channels, CMYK and YCCK converted to colour, turned
// upright by the Exif orientation tag. It can decode at a reduced scale.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/image.h"

struct JpegPicture {
    Image image;     // upright, at the scale it was decoded
    int width = 0;   // the full picture's upright size
    int height = 0;
};

// Decodes at full size. Nothing when the header cannot be read, declares a size
// beyond the picture limits, or decompression cannot start. Data damaged after
// that point gives the rows decoded before the damage; the rows after it stay black.
std::optional<Image> read_jpeg(std::span<const uint8_t> bytes);
// Decodes at the smallest of the DCT scales 1/8, 1/4, 1/2 and 1 whose upright
// result, shrunk by area average to min_width x min_height, stays faithful to
// the full-size picture. At 1/8 a progressive stream's AC scans are skipped
// unread, since only the DC coefficients reach that scale.
std::optional<JpegPicture> read_jpeg_for(std::span<const uint8_t> bytes, int min_width, int min_height);
