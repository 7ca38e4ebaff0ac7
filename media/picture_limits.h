// Limits on the player's picture file, so that no file can make a load hang or
// allocate without bound.
#pragma once

#include <cstdint>

// Larger than any real photograph's file; large files are read in pieces.
constexpr int64_t MAX_PICTURE_FILE_BYTES = 1LL << 30;
// Largest file read whole into memory (bitmaps other than plain ones).
constexpr int64_t MAX_WHOLE_FILE_BYTES = 256LL << 20;
// Longest side a picture may declare.
constexpr int64_t MAX_PICTURE_SIDE = 65'535;
// Largest area of a picture decoded whole (up to 4 bytes a pixel in memory).
constexpr int64_t MAX_PICTURE_PIXELS = 128'000'000;
// Largest area of a picture averaged while it is decoded: memory no longer
// grows with the area, but time does (a hostile PNG of this area, all zeros,
// inflates in a few seconds).
constexpr int64_t MAX_STREAMED_PIXELS = 300'000'000;

inline bool picture_size_acceptable(int64_t width, int64_t height, int64_t max_pixels = MAX_PICTURE_PIXELS) {
    return width > 0 && height > 0 && width <= MAX_PICTURE_SIDE && height <= MAX_PICTURE_SIDE &&
           width * height <= max_pixels;
}
