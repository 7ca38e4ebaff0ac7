// Reading the player's picture file whole into memory, safely: only a regular
// file no larger than MAX_PICTURE_FILE_BYTES is read, and nothing can block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The file's bytes, or nothing when it cannot be opened, is not a regular file,
// is empty or is too large.
std::optional<std::vector<uint8_t>> read_picture_file(const std::string& path);
