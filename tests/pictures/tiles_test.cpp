// From the player's file to the tiles: exact copies of the picture's squares,
// the black square untouched, the strips and the bottom-right square unused.
#include <gtest/gtest.h>

#include <set>

#include "fixtures.h"
#include "media/jpeg_reader.h"
#include "media/pictures.h"
#include "rules/board.h"

namespace {

void load_and_cut(const std::string& path) {
    create_tile_images();
    ASSERT_TRUE(load_picture_file(path));
    scale_working_picture();
    cut_tiles();
}

// Every pixel of tiles 0 to 10 equals the picture's pixel at its place.
void expect_tiles_cut_from(const Image& picture) {
    const int channels = channels_of(picture);
    for (int tile = 0; tile < BLANK_TILE; ++tile) {
        const auto image = image_at(tile);
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width, TILE_SIZE);
        ASSERT_EQ(image->depth, picture.depth);
        for (int y = 0; y < TILE_SIZE; ++y) {
            const size_t from = (size_t(CELL_PITCH * row_of(tile) + y) * picture.width + CELL_PITCH * column_of(tile)) * channels;
            ASSERT_TRUE(std::equal(&image->pixels[row_bytes(*image) * y], &image->pixels[row_bytes(*image) * (y + 1)],
                                   &picture.pixels[from]))
                << "tile " << tile << " row " << y;
        }
    }
}

void expect_black_square_tile() {
    const auto blank = image_at(BLANK_TILE);
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->width, TILE_SIZE);
    EXPECT_EQ(blank->height, TILE_SIZE);
    EXPECT_EQ(blank->depth, 24);
    EXPECT_EQ(std::count(blank->pixels.begin(), blank->pixels.end(), 0), long(blank->pixels.size()));
}

TEST(Tiles, FourHundredByThreeHundredPictureReachesTilesPixelForPixel) {
    const Image picture = photo_like(PICTURE_WIDTH, PICTURE_HEIGHT, 24);
    const auto jpeg = encode_jpeg(picture, {.quality = 85, .progressive = true});
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        Image expected;
    } cases[] = {
        {"png", encode_png(picture), picture},
        {"bmp", encode_bmp(picture), picture},
        {"jpg", jpeg, *read_jpeg(jpeg)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        load_and_cut(write_file(std::string("picture.") + c.name, c.bytes));
        EXPECT_EQ(image_at(WORKING_PICTURE)->pixels, c.expected.pixels);
        expect_tiles_cut_from(c.expected);
        expect_black_square_tile();
    }
}

TEST(Tiles, PictureWithAlphaGivesThirtyTwoBitTilesAndABlackSquareOfTwentyFour) {
    const Image picture = photo_like(PICTURE_WIDTH, PICTURE_HEIGHT, 32);
    load_and_cut(write_file("alpha.png", encode_png(picture)));
    EXPECT_EQ(image_at(WORKING_PICTURE)->depth, 32);
    expect_tiles_cut_from(picture);
    expect_black_square_tile();
}

// Pixels of the strips and of the bottom-right square carry a colour found
// nowhere else; no tile may contain it.
TEST(Tiles, StripsAndBottomRightSquareAppearInNoTile) {
    Image picture = solid(PICTURE_WIDTH, PICTURE_HEIGHT, 24, 10, 20, 30);
    for (int y = 0; y < PICTURE_HEIGHT; ++y) {
        for (int x = 0; x < PICTURE_WIDTH; ++x) {
            const bool strip = x % CELL_PITCH >= TILE_SIZE || y % CELL_PITCH >= TILE_SIZE;
            const bool corner = x >= 300 && y >= 200;
            if (strip || corner) picture.pixels[(size_t(y) * PICTURE_WIDTH + x) * 3] = 250;
        }
    }
    load_and_cut(write_file("strips.png", encode_png(picture)));
    for (int tile = 0; tile < BLANK_TILE; ++tile) {
        const auto image = image_at(tile);
        for (size_t i = 0; i < image->pixels.size(); i += 3) ASSERT_EQ(image->pixels[i], 10) << "tile " << tile;
    }
    expect_black_square_tile();
}

TEST(Tiles, SecondCutReplacesEveryTileButTheBlackSquare) {
    const Image first = solid(PICTURE_WIDTH, PICTURE_HEIGHT, 24, 200, 0, 0);
    const Image second = photo_like(PICTURE_WIDTH, PICTURE_HEIGHT, 24, 7);
    load_and_cut(write_file("first.bmp", encode_bmp(first)));
    ASSERT_TRUE(load_picture_file(write_file("second.bmp", encode_bmp(second))));
    scale_working_picture();
    cut_tiles();
    expect_tiles_cut_from(second);
    expect_black_square_tile();
}

TEST(Tiles, CutWithoutWorkingPictureLeavesTilesBlack) {
    free_image(WORKING_PICTURE);
    create_tile_images();
    cut_tiles();
    for (int tile = 0; tile < CELL_COUNT; ++tile) {
        const auto image = image_at(tile);
        ASSERT_TRUE(image);
        EXPECT_EQ(std::set<uint8_t>(image->pixels.begin(), image->pixels.end()), std::set<uint8_t>{0});
    }
}

}  // namespace
