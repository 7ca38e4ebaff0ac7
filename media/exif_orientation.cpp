// Reads the TIFF structure inside the Exif block only as far as the first image
// directory, where cameras store the orientation tag (0x0112).
#include "media/exif_orientation.h"

#include <cstring>
#include <utility>

namespace {

constexpr uint16_t ORIENTATION_TAG = 0x0112;
constexpr uint16_t SHORT_TYPE = 3;

struct TiffView {
    std::span<const uint8_t> bytes;
    bool big_endian;
};

bool read16(const TiffView& tiff, size_t at, uint16_t& value) {
    if (at + 2 > tiff.bytes.size()) return false;
    const uint8_t* p = &tiff.bytes[at];
    value = tiff.big_endian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
    return true;
}

bool read32(const TiffView& tiff, size_t at, uint32_t& value) {
    uint16_t first = 0;
    uint16_t second = 0;
    if (!read16(tiff, at, first) || !read16(tiff, at + 2, second)) return false;
    value = tiff.big_endian ? uint32_t(first) << 16 | second : uint32_t(second) << 16 | first;
    return true;
}

int orientation_in_first_directory(const TiffView& tiff) {
    uint32_t directory = 0;
    uint16_t entries = 0;
    if (!read32(tiff, 4, directory) || !read16(tiff, directory, entries)) return 1;
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = size_t(directory) + 2 + 12 * i;
        uint16_t tag = 0;
        uint16_t type = 0;
        uint16_t value = 0;
        if (!read16(tiff, entry, tag) || !read16(tiff, entry + 2, type)) return 1;
        if (tag != ORIENTATION_TAG) continue;
        if (type != SHORT_TYPE || !read16(tiff, entry + 8, value)) return 1;
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

// Where the output pixel (x, y) of an upright picture comes from in the stored
// picture of width w and height h.
std::pair<int, int> stored_position(int orientation, int x, int y, int w, int h) {
    switch (orientation) {
        case 2: return {w - 1 - x, y};
        case 3: return {w - 1 - x, h - 1 - y};
        case 4: return {x, h - 1 - y};
        case 5: return {y, x};
        case 6: return {y, h - 1 - x};
        case 7: return {w - 1 - y, h - 1 - x};
        case 8: return {w - 1 - y, x};
        default: return {x, y};
    }
}

}  // namespace

int exif_orientation(std::span<const uint8_t> app1) {
    static const uint8_t EXIF_HEADER[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (app1.size() < 14 || std::memcmp(app1.data(), EXIF_HEADER, 6) != 0) return 1;
    const TiffView tiff{app1.subspan(6), app1[6] == 'M'};
    const bool intel = app1[6] == 'I' && app1[7] == 'I';
    uint16_t magic = 0;
    if ((!intel && !tiff.big_endian) || !read16(tiff, 2, magic) || magic != 42) return 1;
    return orientation_in_first_directory(tiff);
}

Image orient_upright(const Image& image, int orientation) {
    if (orientation < 2 || orientation > 8) return image;
    const bool swapped = orientation >= 5;
    const int width = swapped ? image.height : image.width;
    const int height = swapped ? image.width : image.height;
    const int channels = channels_of(image);
    Image upright{width, height, image.depth, std::vector<uint8_t>(image.pixels.size())};
    uint8_t* out = upright.pixels.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, out += channels) {
            const auto [sx, sy] = stored_position(orientation, x, y, image.width, image.height);
            std::memcpy(out, &image.pixels[(size_t(sy) * image.width + sx) * channels], channels);
        }
    }
    return upright;
}
