// The player's file is an in-memory file reached through /proc, so the loader
// opens, checks and reads it in pieces exactly as it does a file on disk.
#include "fuzz/picture_input.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "media/pictures.h"
#include "rules/board.h"

namespace {

// The in-memory file, made once and rewritten for each input; -1 if none could be made.
int player_file() {
    static const int fd = memfd_create("tessaroo-fuzz-picture", MFD_CLOEXEC);
    return fd;
}

bool write_player_file(int fd, std::span<const uint8_t> bytes) {
    if (ftruncate(fd, 0) != 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(done));
        if (wrote <= 0) return false;
        done += size_t(wrote);
    }
    return true;
}

// Tile t is a TILE_SIZE square of the working picture's depth, equal byte for
// byte to its square of the picture.
bool tile_is_exact_copy(const Image& picture, int tile) {
    const auto square = image_at(tile);
    if (!square || square->width != TILE_SIZE || square->height != TILE_SIZE || square->depth != picture.depth)
        return false;
    const int left = CELL_PITCH * (tile % GRID_COLUMNS), top = CELL_PITCH * (tile / GRID_COLUMNS);
    const size_t channels = size_t(channels_of(picture));
    for (int y = 0; y < TILE_SIZE; ++y) {
        const uint8_t* from = &picture.pixels[((size_t(top) + y) * picture.width + left) * channels];
        if (std::memcmp(&square->pixels[row_bytes(*square) * y], from, row_bytes(*square)) != 0) return false;
    }
    return true;
}

// Scales the working picture and cuts the tiles; true when the picture is then
// exactly the board's size and every tile but the black square is its copy.
bool scale_and_cut() {
    scale_working_picture();
    cut_tiles();
    const auto picture = image_at(WORKING_PICTURE);
    if (!picture || picture->width != PICTURE_WIDTH || picture->height != PICTURE_HEIGHT) return false;
    if (picture->pixels.size() != row_bytes(*picture) * size_t(picture->height)) return false;
    for (int tile = 0; tile < CELL_COUNT; ++tile)
        if (tile != BLANK_TILE && !tile_is_exact_copy(*picture, tile)) return false;
    return true;
}

PathOutcome made_then_cut(bool made) {
    PathOutcome outcome;
    outcome.made = made;
    if (made) outcome.board_whole = scale_and_cut();
    free_all_images();
    return outcome;
}

}  // namespace

PathOutcome feed_as_builtin(std::span<const uint8_t> bytes) {
    auto picture = decode_picture(bytes);
    if (picture) put_image(WORKING_PICTURE, std::move(*picture));
    return made_then_cut(picture.has_value());
}

PathOutcome feed_as_player_file(std::span<const uint8_t> bytes) {
    const int fd = player_file();
    if (fd < 0 || !write_player_file(fd, bytes)) return {};
    return made_then_cut(load_picture_file("/proc/self/fd/" + std::to_string(fd)));
}

PictureOutcome feed_picture(std::span<const uint8_t> bytes) {
    PictureOutcome outcome;
    outcome.builtin = feed_as_builtin(bytes);
    outcome.player_file = feed_as_player_file(bytes);
    return outcome;
}
