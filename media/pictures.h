// The game's images: the working picture (image 12) and the twelve tile images
// (0 to 11), made, decoded, scaled to the board and cut into tiles.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/image.h"

constexpr int WORKING_PICTURE = 12;

// Makes the JPEG and then the PNG reader ready; once at start-up.
void init_picture_readers();
// Image `tile` as a black 98 x 98 24-bit square.
void create_tile_image(int tile);
// Images 0 to 11, each a black square.
void create_tile_images();
// Decodes the built-in picture into image 12, unscaled. True when it was made.
bool load_builtin_picture();
// Decodes the player's file into image 12. False when the file cannot be read
// or no reader accepts its beginning. A picture whose format allows it is
// averaged to 400 x 300 while it is decoded, so image 12 may already have the
// board's size; scale_working_picture does the rest either way.
bool load_picture_file(const std::string& path);
// The player's picture as decoded and turned upright, before any scaling, from
// the last load_picture_file that succeeded.
struct PictureSize {
    int width = 0;
    int height = 0;
};
PictureSize loaded_picture_size();
// Makes image 12 exactly 400 x 300 (untouched if it already is).
void scale_working_picture();
// Replaces images 0 to 10 by exact copies of their squares of image 12.
void cut_tiles();

// A picture from bytes at its full size, recognised by content (bitmap, JPEG,
// PNG in that order).
std::optional<Image> decode_picture(std::span<const uint8_t> bytes);
