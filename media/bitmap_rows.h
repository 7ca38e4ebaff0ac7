// Plain bitmaps (uncompressed, 24 or 32 bits per pixel, no colour masks) read
// row by row from a file and area-averaged as they arrive, so that a large
// bitmap is never held whole. The result equals the platform's bitmap reader
// followed by scaling; other bitmaps are left to that reader.
#pragma once

#include <optional>

#include "media/byte_source.h"
#include "platform/image.h"

struct BitmapLoad {
    Image image;     // already target_width x target_height
    int width = 0;   // the bitmap's own size
    int height = 0;
};

// Nothing when the bytes are not a plain bitmap of another size than the
// target whose rows are all present; the caller then uses read_bitmap.
std::optional<BitmapLoad> read_plain_bitmap_for(const ByteSource& bytes, int target_width, int target_height);
