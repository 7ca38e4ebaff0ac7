// Bitmaps: the platform's reader turns every kind into 24-bit colour, and plain
// bitmaps streamed row by row give exactly what that reader and scaling give.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "media/pictures.h"
#include "media/scaling.h"

namespace {

std::vector<uint8_t> top_down_bmp(const Image& picture, int bits) {
    Image flipped = picture;
    const size_t stride = row_bytes(picture);
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(&picture.pixels[stride * (picture.height - 1 - y)], stride, &flipped.pixels[stride * y]);
    auto bytes = encode_bmp(flipped, bits, 7);
    const uint32_t height = uint32_t(-picture.height);
    for (int i = 0; i < 4; ++i) bytes[22 + i] = uint8_t(height >> 8 * i);
    return bytes;
}

TEST(Bitmap, EveryKindBecomesTwentyFourBitColour) {
    const Image picture = photo_like(37, 23, 24);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"24-bit", encode_bmp(picture)},
        {"32-bit, fourth byte 0", encode_bmp(picture, 32, 0)},
        {"32-bit, fourth byte 128", encode_bmp(picture, 32, 128)},
        {"24-bit top-down", top_down_bmp(picture, 24)},
    };
    for (const auto& c : cases) {
        const auto image = read_bitmap(c.bytes);
        ASSERT_TRUE(image) << c.name;
        EXPECT_EQ(image->depth, 24) << c.name;
        EXPECT_EQ(image->pixels, picture.pixels) << c.name;
    }
}

TEST(Bitmap, StreamedLoadEqualsReadingWholeThenScaling) {
    const Image picture = photo_like(1021, 613, 24);
    const Image expected = resample_picture(picture, 400, 300);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"24-bit", encode_bmp(picture)},
        {"32-bit", encode_bmp(picture, 32, 200)},
        {"24-bit top-down", top_down_bmp(picture, 24)},
        {"32-bit top-down", top_down_bmp(picture, 32)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(load_picture_file(write_file("p.bmp", c.bytes)));
        EXPECT_EQ(loaded_picture_size().width, 1021);
        EXPECT_EQ(loaded_picture_size().height, 613);
        scale_working_picture();
        EXPECT_EQ(image_at(WORKING_PICTURE)->pixels, expected.pixels);
    }
}

}  // namespace
