// Reading the player's picture file safely: only a regular file no larger than
// MAX_PICTURE_FILE_BYTES is opened, and nothing can block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PictureFile {
    int fd = -1;
    int64_t size = 0;
};

// The open file, or nothing when it cannot be opened, is not a regular file, is
// empty or is too large.
std::optional<PictureFile> open_picture_file(const std::string& path);
// Up to `count` further bytes; fewer at the end of the file; nothing on error.
std::optional<std::vector<uint8_t>> read_picture_bytes(const PictureFile& file, size_t count);
void close_picture_file(PictureFile& file);
// The whole file, with the same checks and no larger than MAX_WHOLE_FILE_BYTES.
std::optional<std::vector<uint8_t>> read_picture_file(const std::string& path);
