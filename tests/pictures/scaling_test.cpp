// Stretching to the board's size: area average for 24-bit pictures, the
// Mitchell-Netravali filter for 32-bit ones, aspect ratio not kept.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "media/pictures.h"
#include "media/scaling.h"
#include "rules/board.h"

namespace {

Image row_picture(int depth, std::vector<uint8_t> values) {
    auto image = *make_blank_image(int(values.size()), 1, depth);
    for (size_t x = 0; x < values.size(); ++x)
        for (int c = 0; c < channels_of(image); ++c) image.pixels[x * channels_of(image) + c] = values[x];
    return image;
}

std::vector<uint8_t> first_channel(const Image& image) {
    std::vector<uint8_t> values;
    for (size_t i = 0; i < image.pixels.size(); i += channels_of(image)) values.push_back(image.pixels[i]);
    return values;
}

TEST(AreaAverage, KnownValues) {
    const struct {
        const char* name;
        std::vector<uint8_t> source;
        std::vector<uint8_t> expected;
    } cases[] = {
        {"three to two: weights 1 and 1/2", {30, 90, 150}, {50, 130}},
        {"four to two: pairs", {0, 100, 200, 250}, {50, 225}},
        {"two to three: the middle straddles", {10, 110}, {10, 60, 110}},
        {"five to one: the mean", {10, 20, 30, 40, 51}, {30}},
    };
    for (const auto& c : cases) {
        const Image out = resample_picture(row_picture(24, c.source), int(c.expected.size()), 1);
        EXPECT_EQ(first_channel(out), c.expected) << c.name;
    }
}

TEST(AreaAverage, TwoByTwoBlocksBecomeTheirMeans) {
    Image source = *make_blank_image(4, 2, 24);
    const uint8_t values[2][4] = {{0, 10, 100, 101}, {20, 30, 200, 202}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) source.pixels[(y * 4 + x) * 3 + 1] = values[y][x];
    const Image out = resample_picture(source, 2, 1);
    EXPECT_EQ(out.pixels, (std::vector<uint8_t>{0, 15, 0, 0, 151, 0}));
}

// At unchanged size the kernel is 1/18, 16/18, 1/18 at the whole offsets; when
// shrinking by two it is widened to twice its reach, and its negative lobes make
// a step overshoot, which is clamped.
TEST(Mitchell, KnownValues) {
    const struct {
        const char* name;
        std::vector<uint8_t> source;
        std::vector<uint8_t> expected;
    } cases[] = {
        {"a lone bright pixel at the same size", {0, 0, 255, 0, 0}, {0, 14, 227, 14, 0}},
        {"a step shrunk by two", {0, 0, 0, 0, 255, 255, 255, 255}, {0, 28, 227, 255}},
        {"a constant", {77, 77, 77, 77, 77, 77}, {77, 77, 77}},
    };
    for (const auto& c : cases) {
        const Image out = resample_picture(row_picture(32, c.source), int(c.expected.size()), 1);
        EXPECT_EQ(out.depth, 32);
        EXPECT_EQ(first_channel(out), c.expected) << c.name;
        EXPECT_EQ(out.pixels[3], out.pixels[0]) << c.name << ": alpha filtered like colour";
    }
}

void expect_pixel(const Image& image, int x, int y, std::vector<uint8_t> colour) {
    const auto* at = &image.pixels[(size_t(y) * image.width + x) * channels_of(image)];
    EXPECT_EQ(std::vector<uint8_t>(at, at + colour.size()), colour) << "at " << x << "," << y;
}

// Four quadrants of distinct colours: after stretching they meet exactly at the
// centre and reach every edge, so nothing was cut off and no bars were added.
Image quadrants(int width, int height) {
    Image image = *make_blank_image(width, height, 24);
    const uint8_t colours[4][3] = {{200, 0, 0}, {0, 0, 200}, {0, 200, 0}, {250, 250, 250}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::copy_n(colours[(x >= width / 2) + 2 * (y >= height / 2)], 3, &image.pixels[(size_t(y) * width + x) * 3]);
    return image;
}

TEST(ScaleWorkingPicture, StretchesPortraitAndTinyPicturesToTheBoard) {
    for (const auto& [width, height] : {std::pair{300, 400}, std::pair{2, 2}, std::pair{2, 6}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        ASSERT_TRUE(load_picture_file(write_file("q.bmp", encode_bmp(quadrants(width, height)))));
        scale_working_picture();
        const auto picture = image_at(WORKING_PICTURE);
        ASSERT_EQ(picture->width, PICTURE_WIDTH);
        ASSERT_EQ(picture->height, PICTURE_HEIGHT);
        expect_pixel(*picture, 0, 0, {200, 0, 0});
        expect_pixel(*picture, 199, 149, {200, 0, 0});
        expect_pixel(*picture, 200, 0, {0, 0, 200});
        expect_pixel(*picture, 399, 149, {0, 0, 200});
        expect_pixel(*picture, 0, 299, {0, 200, 0});
        expect_pixel(*picture, 199, 150, {0, 200, 0});
        expect_pixel(*picture, 200, 150, {250, 250, 250});
        expect_pixel(*picture, 399, 299, {250, 250, 250});
    }
}

TEST(ScaleWorkingPicture, ShrinksAPictureWithAlphaKeepingThirtyTwoBits) {
    ASSERT_TRUE(load_picture_file(write_file("big.png", encode_png(solid(801, 333, 32, 9, 99, 199, 128)))));
    scale_working_picture();
    const auto picture = image_at(WORKING_PICTURE);
    ASSERT_EQ(picture->width, PICTURE_WIDTH);
    ASSERT_EQ(picture->height, PICTURE_HEIGHT);
    ASSERT_EQ(picture->depth, 32);
    expect_pixel(*picture, 0, 0, {9, 99, 199, 128});
    expect_pixel(*picture, 250, 160, {9, 99, 199, 128});
}

}  // namespace
