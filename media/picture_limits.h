// Limits on the player's picture file, so that no file can make a load hang or
// allocate without bound.
#pragma once

#include <cstdint>

// Larger than any real photograph's file (a 100-megapixel JPEG is about 60 MB).
constexpr int64_t MAX_PICTURE_FILE_BYTES = 256LL << 20;
// Longest side and largest area a decoded picture may declare.
constexpr int64_t MAX_PICTURE_SIDE = 65'535;
constexpr int64_t MAX_PICTURE_PIXELS = 128'000'000;

inline bool picture_size_acceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= MAX_PICTURE_SIDE && height <= MAX_PICTURE_SIDE &&
           width * height <= MAX_PICTURE_PIXELS;
}
