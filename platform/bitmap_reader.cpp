// The platform's bitmap reader: SDL2 decodes the bitmap, which is then converted
// to packed 24-bit RGB. The header's declared size is checked first so that a
// small file claiming a huge bitmap is refused before SDL allocates for it.
#include "platform/image.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Bitmaps larger than this are refused: SDL holds the whole bitmap and then a
// converted copy, so the area bounds the memory of a load.
constexpr int64_t MAX_BITMAP_PIXELS = 128'000'000;
constexpr int64_t MAX_BITMAP_SIDE = 65'535;

uint32_t read_le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t read_le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// False when the header is too short, not a bitmap's, or declares a size
// outside the limits.
bool declared_size_acceptable(std::span<const uint8_t> bytes) {
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint32_t info_size = read_le32(&bytes[14]);
    int64_t width = 0;
    int64_t height = 0;
    if (info_size == 12) {
        width = read_le16(&bytes[18]);
        height = read_le16(&bytes[20]);
    } else {
        width = int32_t(read_le32(&bytes[18]));
        height = std::llabs(int64_t(int32_t(read_le32(&bytes[22]))));
    }
    return width > 0 && height > 0 && width <= MAX_BITMAP_SIDE && height <= MAX_BITMAP_SIDE &&
           width * height <= MAX_BITMAP_PIXELS;
}

std::optional<Image> copy_rgb24(SDL_Surface* rgb) {
    auto image = make_blank_image(rgb->w, rgb->h, 24);
    if (!image) return std::nullopt;
    const auto* source = static_cast<const uint8_t*>(rgb->pixels);
    const size_t bytes_per_row = row_bytes(*image);
    for (int y = 0; y < rgb->h; ++y)
        std::memcpy(&image->pixels[y * bytes_per_row], source + size_t(y) * rgb->pitch, bytes_per_row);
    return image;
}

}  // namespace

std::optional<Image> read_bitmap(std::span<const uint8_t> bytes) {
    if (!declared_size_acceptable(bytes)) return std::nullopt;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), int(std::min<size_t>(bytes.size(), INT32_MAX)));
    if (!stream) return std::nullopt;
    SDL_Surface* decoded = SDL_LoadBMP_RW(stream, 1);
    if (!decoded) return std::nullopt;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(decoded);
    if (!rgb) return std::nullopt;
    std::optional<Image> image;
    if (SDL_LockSurface(rgb) == 0) {
        image = copy_rgb24(rgb);
        SDL_UnlockSurface(rgb);
    }
    SDL_FreeSurface(rgb);
    return image;
}
