// Pictures made by the tests: photo-like patterns, and encoders that write them
// as JPEG, PNG and bitmap bytes, plus files in a scratch folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image.h"

// Gradients with noise, so that every pixel differs from its neighbours.
Image photo_like(int width, int height, int depth, uint32_t seed = 1);
// A picture of one colour (alpha used only at depth 32).
Image solid(int width, int height, int depth, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);

struct JpegOptions {
    int quality = 90;
    bool progressive = false;
    bool grey = false;           // one component, from the red channel
    int orientation = 0;         // 1 to 8 writes an Exif block with that tag
    bool chroma_422 = false;     // chroma halved across only (else 4:2:0)
};
std::vector<uint8_t> encode_jpeg(const Image& image, const JpegOptions& options = {});
// Four components. `inverted` writes inks as 255 - ink with an Adobe marker,
// otherwise plain inks and no Adobe marker.
std::vector<uint8_t> encode_cmyk_jpeg(int width, int height, const uint8_t cmyk[4], bool inverted);
// Offset of the start-of-frame marker's precision byte (FF C0/C2 + 2 length bytes).
size_t jpeg_frame_offset(const std::vector<uint8_t>& jpeg);

// A PNG from raw samples (packed by bit depth here), as libpng writes it.
struct PngPicture {
    int width = 0;
    int height = 0;
    int color_type = 0;
    int bit_depth = 8;
    bool interlaced = false;
    std::vector<uint16_t> samples;   // width * height * samples per pixel
    std::vector<uint8_t> palette;    // RGB triples
    std::vector<uint8_t> palette_alpha;
    bool grey_or_rgb_transparent = false;
    uint16_t transparent[3] = {};    // grey in [0], or RGB
};
std::vector<uint8_t> encode_png(const PngPicture& picture);
// An 8-bit RGB or RGBA PNG of an image.
std::vector<uint8_t> encode_png(const Image& image);
// A bottom-up BI_RGB bitmap, 24-bit, or 32-bit with `fourth_byte` in every pixel.
std::vector<uint8_t> encode_bmp(const Image& rgb, int bits = 24, uint8_t fourth_byte = 0);

// A fresh scratch folder for one test, removed when the test program ends.
std::string scratch_folder();
std::string write_file(const std::string& name, const std::vector<uint8_t>& bytes);

// Rows [0, k) equal the whole picture's and rows [k, height) are black, for some
// k strictly inside the picture.
void expect_top_rows_then_black(const Image& got, const Image& whole);
