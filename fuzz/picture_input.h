// One fuzz input through the picture loader, shared by the fuzz target and the
// regression tests so that a saved input replays along the same path.
#pragma once

#include <cstdint>
#include <span>

struct PathOutcome {
    bool made = false;         // a working picture was made
    bool board_whole = true;   // and then scaled to the board and cut exactly
};

struct PictureOutcome {
    PathOutcome builtin;
    PathOutcome player_file;
};

// The bytes decoded as the built-in picture is (decode_picture); when that makes
// a picture it becomes the working picture, is scaled and cut into tiles.
PathOutcome feed_as_builtin(std::span<const uint8_t> bytes);
// The bytes loaded as the player's file (load_picture_file on an in-memory
// file), then scaled and cut.
PathOutcome feed_as_player_file(std::span<const uint8_t> bytes);
// Both of the above. Each frees every image when it is done.
PictureOutcome feed_picture(std::span<const uint8_t> bytes);
