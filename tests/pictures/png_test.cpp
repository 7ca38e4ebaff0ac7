// PNG variants: how each colour type and bit depth arrives, with or without
// transparency, interlaced or not; and damaged data after an intact beginning.
#include <gtest/gtest.h>
#include <png.h>

#include "fixtures.h"
#include "media/pictures.h"
#include "media/png_reader.h"
#include "media/scaling.h"

namespace {

constexpr int SIZE = 9;                 // large enough for all seven interlace passes
constexpr int MARK_X = 3, MARK_Y = 5;   // the one pixel that differs from the background

struct PngCase {
    const char* name;
    int color_type;
    int bit_depth;
    bool interlaced;
    std::vector<uint16_t> background;   // samples of every pixel but the mark
    std::vector<uint16_t> mark;
    int expected_depth;
    std::vector<uint8_t> expected_background;
    std::vector<uint8_t> expected_mark;
    bool palette_alpha = false;
    bool transparent_background = false;  // a tRNS colour equal to the background
};

const std::vector<uint8_t> PALETTE = {0, 0, 0, 10, 200, 30, 250, 5, 6};
const std::vector<uint8_t> PALETTE_ALPHA = {0, 128, 77};

PngPicture picture_of(const PngCase& c) {
    PngPicture p;
    p.width = p.height = SIZE;
    p.color_type = c.color_type;
    p.bit_depth = c.bit_depth;
    p.interlaced = c.interlaced;
    for (int i = 0; i < SIZE * SIZE; ++i) {
        const auto& pixel = i == MARK_Y * SIZE + MARK_X ? c.mark : c.background;
        p.samples.insert(p.samples.end(), pixel.begin(), pixel.end());
    }
    if (c.color_type == PNG_COLOR_TYPE_PALETTE) p.palette = PALETTE;
    if (c.palette_alpha) p.palette_alpha = PALETTE_ALPHA;
    if (c.transparent_background) {
        p.grey_or_rgb_transparent = true;
        std::copy(c.background.begin(), c.background.end(), p.transparent);
    }
    return p;
}

std::vector<uint8_t> pixel(const Image& image, int x, int y) {
    const auto* at = &image.pixels[(size_t(y) * image.width + x) * channels_of(image)];
    return {at, at + channels_of(image)};
}

TEST(PngReader, Variants) {
    const PngCase cases[] = {
        {"palette", PNG_COLOR_TYPE_PALETTE, 8, false, {0}, {2}, 24, {0, 0, 0}, {250, 5, 6}},
        {"palette 4-bit", PNG_COLOR_TYPE_PALETTE, 4, false, {1}, {2}, 24, {10, 200, 30}, {250, 5, 6}},
        {"palette with tRNS", PNG_COLOR_TYPE_PALETTE, 8, false, {0}, {2}, 32, {0, 0, 0, 0}, {250, 5, 6, 77}, true},
        {"grey 1-bit", PNG_COLOR_TYPE_GRAY, 1, false, {0}, {1}, 24, {0, 0, 0}, {255, 255, 255}},
        {"grey 2-bit", PNG_COLOR_TYPE_GRAY, 2, false, {1}, {2}, 24, {85, 85, 85}, {170, 170, 170}},
        {"grey 4-bit", PNG_COLOR_TYPE_GRAY, 4, false, {0}, {9}, 24, {0, 0, 0}, {153, 153, 153}},
        {"grey 8-bit", PNG_COLOR_TYPE_GRAY, 8, false, {0}, {77}, 24, {0, 0, 0}, {77, 77, 77}},
        {"grey 16-bit", PNG_COLOR_TYPE_GRAY, 16, false, {0}, {0x4D10}, 24, {0, 0, 0}, {77, 77, 77}},
        {"grey 2-bit with tRNS", PNG_COLOR_TYPE_GRAY, 2, false, {1}, {2}, 32, {85, 85, 85, 0}, {170, 170, 170, 255}, false, true},
        {"grey 8-bit with tRNS ignored", PNG_COLOR_TYPE_GRAY, 8, false, {5}, {77}, 24, {5, 5, 5}, {77, 77, 77}, false, true},
        {"grey 16-bit with tRNS ignored", PNG_COLOR_TYPE_GRAY, 16, false, {5}, {0x4D10}, 24, {0, 0, 0}, {77, 77, 77}, false, true},
        {"grey with alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {0, 0}, {77, 100}, 32, {0, 0, 0, 0}, {77, 77, 77, 100}},
        {"RGB with tRNS ignored", PNG_COLOR_TYPE_RGB, 8, false, {1, 2, 3}, {10, 20, 30}, 24, {1, 2, 3}, {10, 20, 30}, false, true},
        {"RGB 16-bit", PNG_COLOR_TYPE_RGB, 16, false, {0, 0, 0}, {0x1234, 0xABCD, 0xFF00}, 24, {0, 0, 0}, {0x12, 0xAB, 0xFF}},
        {"RGBA", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {0, 0, 0, 255}, {10, 20, 30, 40}, 32, {0, 0, 0, 255}, {10, 20, 30, 40}},
        {"RGBA 16-bit", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, {0, 0, 0, 0}, {0x0A00, 0x1400, 0x1E00, 0x2800}, 32, {0, 0, 0, 0}, {10, 20, 30, 40}},
        {"RGB interlaced", PNG_COLOR_TYPE_RGB, 8, true, {0, 0, 0}, {10, 20, 30}, 24, {0, 0, 0}, {10, 20, 30}},
        {"grey 1-bit interlaced", PNG_COLOR_TYPE_GRAY, 1, true, {0}, {1}, 24, {0, 0, 0}, {255, 255, 255}},
        {"palette with tRNS interlaced", PNG_COLOR_TYPE_PALETTE, 8, true, {1}, {2}, 32, {10, 200, 30, 128}, {250, 5, 6, 77}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = read_png(encode_png(picture_of(c)));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, SIZE);
        EXPECT_EQ(image->height, SIZE);
        EXPECT_EQ(image->depth, c.expected_depth);
        EXPECT_EQ(pixel(*image, MARK_X, MARK_Y), c.expected_mark);
        EXPECT_EQ(pixel(*image, MARK_X + 1, MARK_Y), c.expected_background);
        EXPECT_EQ(pixel(*image, SIZE - 1, SIZE - 1), c.expected_background);
    }
}

TEST(PngReader, TruncatedDataKeepsTheRowsReadAndLeavesTheRestBlack) {
    const Image whole = photo_like(64, 48, 24);
    auto bytes = encode_png(whole);
    bytes.resize(bytes.size() / 2);
    expect_top_rows_then_black(*read_png(bytes), whole);
}

// A file is resampled row by row while it is decoded; the result must be the
// one that decoding it whole and then scaling gives.
TEST(PngReader, LoadingAFileStreamsToTheSameWorkingPictureAsDecodingWhole) {
    for (int depth : {24, 32}) {
        SCOPED_TRACE(depth);
        const Image picture = photo_like(1003, 517, depth);
        ASSERT_TRUE(load_picture_file(write_file("p.png", encode_png(picture))));
        EXPECT_EQ(loaded_picture_size().width, 1003);
        EXPECT_EQ(loaded_picture_size().height, 517);
        scale_working_picture();
        EXPECT_EQ(image_at(WORKING_PICTURE)->pixels, resample_picture(picture, 400, 300).pixels);
    }
}

}  // namespace
