// A bitmap stores its rows bottom-up, so bands of rows are read from the end of
// the pixel data backwards and handed over top row first.
#include "media/bitmap_rows.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "media/picture_limits.h"
#include "media/scaling.h"

namespace {

constexpr size_t BAND_BYTES = 256 << 10;

struct PlainBitmap {
    int width = 0;
    int height = 0;
    bool top_down = false;
    int pixel_bytes = 3;
    size_t pixels_at = 0;
    size_t stride = 0;
};

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

std::optional<PlainBitmap> plain_bitmap(const ByteSource& bytes) {
    const auto header = bytes_at(bytes, 0, 54);
    if (header.size() < 54 || header[0] != 'B' || header[1] != 'M') return std::nullopt;
    const uint32_t info_size = le32(header, 14);
    const int32_t width = int32_t(le32(header, 18));
    const int32_t height = int32_t(le32(header, 22));
    const int planes = header[26] | header[27] << 8;
    const int bits = header[28] | header[29] << 8;
    const uint32_t compression = le32(header, 30);
    if (info_size < 40 || planes != 1 || (bits != 24 && bits != 32) || compression != 0) return std::nullopt;
    if (height == INT32_MIN || !picture_size_acceptable(width, std::abs(height), MAX_STREAMED_PIXELS)) return std::nullopt;
    PlainBitmap b{width, std::abs(height), height < 0, bits / 8, le32(header, 10), 0};
    b.stride = (size_t(width) * b.pixel_bytes + 3) & ~size_t(3);
    if (b.pixels_at < 14 + info_size || b.pixels_at + b.stride * b.height > bytes.size) return std::nullopt;
    return b;
}

// Offset in the file of picture row y (0 at the top).
size_t row_offset(const PlainBitmap& b, int y) {
    return b.pixels_at + b.stride * size_t(b.top_down ? y : b.height - 1 - y);
}

bool stream_rows(const ByteSource& bytes, const PlainBitmap& b, Resampler& resampler) {
    const int band_rows = int(std::max<size_t>(1, BAND_BYTES / b.stride));
    std::vector<uint8_t> band(b.stride * band_rows);
    for (int top = 0; top < b.height; top += band_rows) {
        const int rows = std::min(band_rows, b.height - top);
        const size_t first = b.top_down ? row_offset(b, top) : row_offset(b, top + rows - 1);
        const size_t want = b.stride * rows;
        if (copy_bytes(bytes, first, band.data(), want) != want) return false;
        for (int k = 0; k < rows; ++k) {
            const size_t in_band = b.top_down ? b.stride * k : b.stride * (rows - 1 - k);
            add_source_row(resampler, top + k, band.data() + in_band);
        }
    }
    return true;
}

}  // namespace

std::optional<BitmapLoad> read_plain_bitmap_for(const ByteSource& bytes, int target_width, int target_height) {
    const auto bitmap = plain_bitmap(bytes);
    if (!bitmap || (bitmap->width == target_width && bitmap->height == target_height)) return std::nullopt;
    Resampler resampler = make_resampler(bitmap->width, bitmap->height, 24, target_width, target_height,
                                         {bitmap->pixel_bytes, true});
    if (!stream_rows(bytes, *bitmap, resampler)) return std::nullopt;
    return BitmapLoad{finish_resampling(resampler), bitmap->width, bitmap->height};
}
