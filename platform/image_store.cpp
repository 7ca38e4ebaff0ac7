// The numbered image store. Images are held by shared pointer so that a view
// keeps the picture it was given after the store replaces the number.
#include "platform/image.h"

#include <limits>
#include <map>

namespace {

std::map<int, std::shared_ptr<const Image>> images;

}  // namespace

std::optional<Image> make_blank_image(int width, int height, int depth) {
    if (width <= 0 || height <= 0 || (depth != 24 && depth != 32)) return std::nullopt;
    const size_t bytes = size_t(width) * size_t(height) * size_t(depth / 8);
    if (bytes / size_t(height) / size_t(depth / 8) != size_t(width)) return std::nullopt;
    Image image{width, height, depth, {}};
    try {
        image.pixels.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return image;
}

void put_image(int number, Image image) {
    images[number] = std::make_shared<const Image>(std::move(image));
}

std::shared_ptr<const Image> image_at(int number) {
    auto found = images.find(number);
    return found == images.end() ? nullptr : found->second;
}

bool create_black_image(int number, int width, int height) {
    auto image = make_blank_image(width, height, 24);
    if (!image) return false;
    put_image(number, std::move(*image));
    return true;
}

int image_width(int number) {
    auto image = image_at(number);
    return image ? image->width : 0;
}

int image_height(int number) {
    auto image = image_at(number);
    return image ? image->height : 0;
}

void free_image(int number) { images.erase(number); }

void free_all_images() { images.clear(); }
