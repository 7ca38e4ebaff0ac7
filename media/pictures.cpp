// The working picture: decoded from the built-in block or the player's file,
// recognised by content, and scaled to the board's size.
#include "media/pictures.h"

#include "media/assets.h"
#include "media/jpeg_reader.h"
#include "media/picture_file.h"
#include "media/png_reader.h"
#include "media/scaling.h"
#include "rules/board.h"

namespace {

PictureSize loaded_size;

bool has_jpeg_start(std::span<const uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
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
    const auto bytes = read_picture_file(path);
    if (!bytes) return false;
    auto picture = decode_picture(*bytes);
    if (!picture) return false;
    loaded_size = {picture->width, picture->height};
    return put_working_picture(std::move(picture));
}

PictureSize loaded_picture_size() { return loaded_size; }

void scale_working_picture() {
    const auto picture = image_at(WORKING_PICTURE);
    if (!picture || (picture->width == PICTURE_WIDTH && picture->height == PICTURE_HEIGHT)) return;
    put_image(WORKING_PICTURE, resample_picture(*picture, PICTURE_WIDTH, PICTURE_HEIGHT));
}
