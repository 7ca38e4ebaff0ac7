// JPEG pictures: the built-in ones, greyscale, Exif orientation, four-component
// colour, and damaged data after an intact beginning.
#include <gtest/gtest.h>

#include <set>

#include "fixtures.h"
#include "media/assets.h"
#include "media/jpeg_reader.h"
#include "media/scaling.h"
#include "media/pictures.h"
#include "rules/board.h"

namespace {

TEST(BuiltinPictures, DecodeFromMemoryToTheirSizes) {
    const struct {
        const char* name;
        const ByteBlock& block;
        int width, height;
    } cases[] = {
        {"builtin", BuiltinPicture, 400, 300},
        {"logo", LogoPicture, 92, 100},
        {"donate", DonatePicture, 107, 61},
    };
    for (const auto& c : cases) {
        const auto image = decode_picture(c.block.bytes());
        ASSERT_TRUE(image) << c.name;
        EXPECT_EQ(image->width, c.width) << c.name;
        EXPECT_EQ(image->height, c.height) << c.name;
        EXPECT_EQ(image->depth, 24) << c.name;
    }
    ASSERT_TRUE(load_builtin_picture());
    EXPECT_EQ(image_width(WORKING_PICTURE), PICTURE_WIDTH);
    EXPECT_EQ(image_height(WORKING_PICTURE), PICTURE_HEIGHT);
}

TEST(JpegReader, GreyscaleGivesTilesWithEqualChannels) {
    const auto path = write_file("grey.jpg", encode_jpeg(photo_like(640, 480, 24), {.grey = true}));
    create_tile_images();
    ASSERT_TRUE(load_picture_file(path));
    scale_working_picture();
    cut_tiles();
    for (int tile = 0; tile < BLANK_TILE; ++tile) {
        const auto& pixels = image_at(tile)->pixels;
        for (size_t i = 0; i < pixels.size(); i += 3) {
            ASSERT_EQ(pixels[i], pixels[i + 1]);
            ASSERT_EQ(pixels[i], pixels[i + 2]);
        }
    }
    const auto& first = image_at(0)->pixels;
    EXPECT_GT(std::set<uint8_t>(first.begin(), first.end()).size(), 10u) << "a picture, not a flat square";
}

// A 64 x 32 picture of eight 16 x 16 blocks, each its own colour. After turning
// upright, the block at each corner tells where the stored picture's blocks went.
const uint8_t BLOCK_COLOURS[8][3] = {{250, 0, 0},   {0, 250, 0},   {0, 0, 250},   {250, 250, 0},
                                     {250, 0, 250}, {0, 250, 250}, {250, 250, 250}, {0, 0, 0}};

Image eight_blocks() {
    Image image = *make_blank_image(64, 32, 24);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            std::copy_n(BLOCK_COLOURS[x / 16 + 4 * (y / 16)], 3, &image.pixels[(size_t(y) * 64 + x) * 3]);
    return image;
}

// The block (numbered as in the stored picture) whose colour sits near (x, y).
int block_at(const Image& image, int x, int y) {
    const uint8_t* p = &image.pixels[(size_t(y) * image.width + x) * 3];
    int best = -1, best_distance = 1 << 30;
    for (int b = 0; b < 8; ++b) {
        const int d = std::abs(p[0] - BLOCK_COLOURS[b][0]) + std::abs(p[1] - BLOCK_COLOURS[b][1]) +
                      std::abs(p[2] - BLOCK_COLOURS[b][2]);
        if (d < best_distance) best = b, best_distance = d;
    }
    return best_distance < 30 ? best : -1;
}

TEST(JpegReader, ExifOrientationTurnsThePictureUpright) {
    // Stored blocks:  0 1 2 3 / 4 5 6 7. Expected corner blocks when upright:
    // top-left, top-right, bottom-left.
    const struct {
        int orientation, width, height, top_left, top_right, bottom_left;
    } cases[] = {
        {1, 64, 32, 0, 3, 4}, {2, 64, 32, 3, 0, 7}, {3, 64, 32, 7, 4, 3}, {4, 64, 32, 4, 7, 0},
        {5, 32, 64, 0, 4, 3}, {6, 32, 64, 4, 0, 7}, {7, 32, 64, 7, 3, 4}, {8, 32, 64, 3, 7, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("orientation " + std::to_string(c.orientation));
        const auto image = read_jpeg(encode_jpeg(eight_blocks(), {.quality = 95, .orientation = c.orientation}));
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width, c.width);
        ASSERT_EQ(image->height, c.height);
        EXPECT_EQ(block_at(*image, 4, 4), c.top_left);
        EXPECT_EQ(block_at(*image, c.width - 5, 4), c.top_right);
        EXPECT_EQ(block_at(*image, 4, c.height - 5), c.bottom_left);
    }
}

TEST(JpegReader, FourComponentPicturesBecomeColour) {
    const struct {
        const char* name;
        uint8_t cmyk[4];
        bool inverted;
        uint8_t rgb[3];
    } cases[] = {
        {"plain red", {0, 255, 255, 0}, false, {255, 0, 0}},
        {"plain half black", {0, 0, 0, 128}, false, {127, 127, 127}},
        {"plain cyan", {255, 0, 0, 0}, false, {0, 255, 255}},
        {"inverted red", {0, 255, 255, 0}, true, {255, 0, 0}},
        {"inverted blue under some black", {255, 255, 0, 51}, true, {0, 0, 204}},
        {"inverted white", {0, 0, 0, 0}, true, {255, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = read_jpeg(encode_cmyk_jpeg(16, 16, c.cmyk, c.inverted));
        ASSERT_TRUE(image);
        ASSERT_EQ(image->depth, 24);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(image->pixels[8 * 16 * 3 + 8 * 3 + k], c.rgb[k], 4) << "channel " << k;
    }
}

TEST(JpegReader, TruncatedBaselineKeepsTheRowsReadAndLeavesTheRestBlack) {
    const auto bytes = encode_jpeg(photo_like(64, 64, 24));
    const Image whole = *read_jpeg(bytes);
    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + bytes.size() / 2);
    expect_top_rows_then_black(*read_jpeg(cut), whole);
}

TEST(JpegReader, TruncatedProgressiveGivesTheScansRead) {
    const Image picture = photo_like(64, 64, 24);
    const auto bytes = encode_jpeg(picture, {.progressive = true});
    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + bytes.size() * 2 / 3);
    const auto image = read_jpeg(cut);
    ASSERT_TRUE(image);
    // Every row was delivered from the scans that arrived: a coarse picture, not black.
    long difference = 0;
    for (size_t i = 0; i < picture.pixels.size(); ++i) difference += std::abs(image->pixels[i] - picture.pixels[i]);
    EXPECT_LT(difference / long(picture.pixels.size()), 30);
}

// At 1/8 a progressive picture is decoded without the AC scans of the
// components that reach the output through DC alone; it must still equal the
// same picture coded baseline: in grey, in 4:2:2 colour (chroma decoded from DC
// too), and in 4:2:0 colour (chroma keeps its AC scans, libjpeg uses them).
TEST(JpegReader, ProgressiveAtOneEighthWithoutUnusedAcScansEqualsBaseline) {
    const Image picture = photo_like(640, 480, 24);
    const struct {
        const char* name;
        JpegOptions options;
    } cases[] = {{"grey", {.grey = true}}, {"4:2:2", {.chroma_422 = true}}, {"4:2:0", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        JpegOptions progressive = c.options;
        progressive.progressive = true;
        const auto from_baseline = read_jpeg_scaled(bytes_in_memory(encode_jpeg(picture, c.options)), 8);
        const auto from_fewer_scans = read_jpeg_scaled(bytes_in_memory(encode_jpeg(picture, progressive)), 8);
        ASSERT_TRUE(from_baseline && from_fewer_scans);
        EXPECT_EQ(from_fewer_scans->image.width, 80);
        EXPECT_EQ(from_fewer_scans->image.pixels, from_baseline->image.pixels);
    }
}

double worst_channel_difference(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return 255;
    double sums[3] = {};
    for (size_t i = 0; i < a.pixels.size(); ++i) sums[i % 3] += std::abs(a.pixels[i] - b.pixels[i]);
    return *std::max_element(sums, sums + 3) / (double(a.width) * a.height);
}

// Large pictures are decoded at a reduced scale; the averaged picture must stay
// within one level (mean absolute difference per channel) of decoding at full
// size and then averaging. A small target reaches every scale cheaply.
TEST(JpegReader, ReducedDecodingStaysFaithful) {
    const struct {
        int width, height;
        JpegOptions options;
        int denominator;
    } cases[] = {
        {1200, 900, {}, 8},
        {1200, 900, {.progressive = true}, 8},
        {1100, 850, {}, 4},
        {900, 700, {.progressive = true}, 4},
        {560, 420, {}, 2},
        {299, 224, {}, 1},
        {1200, 900, {.orientation = 6}, 4},
        {1200, 900, {.chroma_422 = true}, 4},
        {1200, 900, {.progressive = true, .chroma_422 = true}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " orientation " +
                     std::to_string(c.options.orientation) + (c.options.progressive ? " progressive" : "") +
                     (c.options.chroma_422 ? " 4:2:2" : ""));
        const auto bytes = encode_jpeg(photo_like(c.width, c.height, 24, 3), c.options);
        const auto whole = read_jpeg(bytes);
        ASSERT_TRUE(whole);
        const int luma_down = c.options.chroma_422 ? 1 : 2;
        const std::vector<JpegSampling> sampling = {c.options.orientation == 6 ? JpegSampling{luma_down, 2} : JpegSampling{2, luma_down},
                                                    {1, 1}, {1, 1}};
        EXPECT_EQ(jpeg_scale_for(whole->width, whole->height, 100, 75, sampling), c.denominator);
        const auto reduced = read_jpeg_for(bytes_in_memory(bytes), 100, 75);
        ASSERT_TRUE(reduced);
        EXPECT_EQ(reduced->width, whole->width);
        EXPECT_EQ(reduced->height, whole->height);
        EXPECT_LT(worst_channel_difference(reduced->image, resample_picture(*whole, 100, 75)), 1.0);
    }
}

TEST(JpegReader, LoadingALargePictureReportsItsUprightSize) {
    const auto bytes = encode_jpeg(photo_like(2400, 1800, 24), {.orientation = 8});
    ASSERT_TRUE(load_picture_file(write_file("big.jpg", bytes)));
    EXPECT_EQ(loaded_picture_size().width, 1800);
    EXPECT_EQ(loaded_picture_size().height, 2400);
    scale_working_picture();
    const Image reference = resample_picture(*read_jpeg(bytes), PICTURE_WIDTH, PICTURE_HEIGHT);
    EXPECT_LT(worst_channel_difference(*image_at(WORKING_PICTURE), reference), 1.0);
}

}  // namespace
