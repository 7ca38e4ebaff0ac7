// The twelve tile images: black squares at start-up, then exact copies of the
// working picture's squares. Image 11, the black square, is never cut.
#include <cstring>

#include "media/pictures.h"
#include "rules/board.h"

namespace {

// The size x size square of `picture` at (left, top), with its depth; nothing
// when the square does not lie inside the picture.
std::optional<Image> copy_square(const Image& picture, int left, int top, int size) {
    if (left + size > picture.width || top + size > picture.height) return std::nullopt;
    auto square = make_blank_image(size, size, picture.depth);
    if (!square) return std::nullopt;
    const int channels = channels_of(picture);
    const size_t out_stride = row_bytes(*square);
    for (int y = 0; y < size; ++y) {
        const size_t from = (size_t(top + y) * picture.width + left) * channels;
        std::memcpy(&square->pixels[out_stride * y], &picture.pixels[from], out_stride);
    }
    return square;
}

}  // namespace

void create_tile_image(int tile) { create_black_image(tile, TILE_SIZE, TILE_SIZE); }

void create_tile_images() {
    for (int tile = 0; tile < CELL_COUNT; ++tile) create_tile_image(tile);
}

void cut_tiles() {
    const auto picture = image_at(WORKING_PICTURE);
    if (!picture) return;
    for (int column = 0; column < GRID_COLUMNS; ++column) {
        for (int row = 0; row < GRID_ROWS; ++row) {
            const int tile = column + GRID_COLUMNS * row;
            if (tile == BLANK_TILE) continue;
            auto square = copy_square(*picture, CELL_PITCH * column, CELL_PITCH * row, TILE_SIZE);
            if (square) put_image(tile, std::move(*square));
        }
    }
}
