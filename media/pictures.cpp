// The working picture: decoded from the built-in block or the player's file,
// recognised by content, and scaled to the board's size. The player's picture
// is reduced while it is decoded where the format allows it: JPEG through the
// decoder's DCT scaling, PNG and plain bitmaps by resampling each row as it
// arrives. Large files are read in pieces, never whole.
#include "media/pictures.h"

#include "media/assets.h"
#include "media/bitmap_rows.h"
#include "media/jpeg_reader.h"
#include "media/picture_file.h"
#include "media/picture_limits.h"
#include "media/png_reader.h"
#include "media/scaling.h"
#include "rules/board.h"

namespace {

// Enough to tell the formats apart and to hold a PNG's first chunks.
constexpr size_t FIRST_BYTES = 64 << 10;

PictureSize loaded_size;

bool has_jpeg_start(std::span<const uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

bool has_bitmap_start(std::span<const uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

struct LoadedPicture {
    Image image;
    PictureSize size;  // before any reduction
};

// The rest of the file after its first bytes, appended to them.
bool read_rest(const PictureFile& file, std::vector<uint8_t>& bytes) {
    if (file.size > MAX_WHOLE_FILE_BYTES) return false;
    auto rest = read_picture_bytes(file, size_t(file.size) - bytes.size());
    if (!rest) return false;
    bytes.insert(bytes.end(), rest->begin(), rest->end());
    return true;
}

std::optional<LoadedPicture> whole(std::optional<Image> image) {
    if (!image) return std::nullopt;
    const PictureSize size{image->width, image->height};
    return LoadedPicture{std::move(*image), size};
}

std::optional<LoadedPicture> load_bitmap(const PictureFile& file, std::vector<uint8_t>& bytes) {
    if (auto plain = read_plain_bitmap_for(bytes_in_file(file.fd, size_t(file.size)), PICTURE_WIDTH, PICTURE_HEIGHT))
        return LoadedPicture{std::move(plain->image), {plain->width, plain->height}};
    if (!read_rest(file, bytes)) return std::nullopt;
    return whole(read_bitmap(bytes));
}

std::optional<LoadedPicture> load_open_file(const PictureFile& file) {
    auto bytes = read_picture_bytes(file, FIRST_BYTES);
    if (!bytes || bytes->empty()) return std::nullopt;
    if (has_bitmap_start(*bytes)) return load_bitmap(file, *bytes);
    if (has_jpeg_start(*bytes)) {
        auto jpeg = read_jpeg_for(bytes_in_file(file.fd, size_t(file.size)), PICTURE_WIDTH, PICTURE_HEIGHT);
        if (!jpeg) return std::nullopt;
        return LoadedPicture{std::move(jpeg->image), {jpeg->width, jpeg->height}};
    }
    if (!has_png_signature(*bytes)) return std::nullopt;
    auto png = read_png_for({*bytes, file.fd}, PICTURE_WIDTH, PICTURE_HEIGHT);
    if (!png) return std::nullopt;
    return LoadedPicture{std::move(png->image), {png->width, png->height}};
}

bool put_working_picture(std::optional<Image> picture) {
    if (!picture) return false;
    put_image(WORKING_PICTURE, std::move(*picture));
    return true;
}

}  // namespace

// libjpeg and libpng keep no process-wide state and the bitmap reader is the
// platform's own, so there is nothing to prepare before the first picture.
void init_picture_readers() {}

std::optional<Image> decode_picture(std::span<const uint8_t> bytes) {
    if (auto bitmap = read_bitmap(bytes)) return bitmap;
    if (has_jpeg_start(bytes)) return read_jpeg(bytes);
    if (has_png_signature(bytes)) return read_png(bytes);
    return std::nullopt;
}

bool load_builtin_picture() { return put_working_picture(decode_picture(BuiltinPicture.bytes())); }

bool load_picture_file(const std::string& path) {
    auto file = open_picture_file(path);
    if (!file) return false;
    auto picture = load_open_file(*file);
    close_picture_file(*file);
    if (!picture) return false;
    loaded_size = picture->size;
    return put_working_picture(std::move(picture->image));
}

PictureSize loaded_picture_size() { return loaded_size; }

void scale_working_picture() {
    const auto picture = image_at(WORKING_PICTURE);
    if (!picture || (picture->width == PICTURE_WIDTH && picture->height == PICTURE_HEIGHT)) return;
    put_image(WORKING_PICTURE, resample_picture(*picture, PICTURE_WIDTH, PICTURE_HEIGHT));
}
