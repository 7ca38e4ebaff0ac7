// The numbered image store. Images are 8 bits per channel, top-down, rows packed
// without padding: 24-bit RGB (3 channels) or 32-bit RGBA (4 channels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    int depth = 24;                 // 24 (RGB) or 32 (RGBA)
    std::vector<uint8_t> pixels;    // width * channels bytes per row, height rows
};

inline int channels_of(const Image& image) { return image.depth / 8; }
inline size_t row_bytes(const Image& image) { return size_t(image.width) * channels_of(image); }

// Makes an image of the given size and depth with every byte 0 (black; alpha 0).
// Answers nothing when the size is not positive or too large to hold.
std::optional<Image> make_blank_image(int width, int height, int depth);

// Puts an image under a number; the image held there before is freed.
// Views keep what they were given: a view's picture is unaffected.
void put_image(int number, Image image);
// The image under a number, or null. Shared so that a view can keep it.
std::shared_ptr<const Image> image_at(int number);
// Creates a black 24-bit image; false when it cannot be made.
bool create_black_image(int number, int width, int height);
int image_width(int number);    // 0 when there is no image
int image_height(int number);
void free_image(int number);
void free_all_images();

// The platform's bitmap reader: a Windows bitmap from memory, always as 24-bit
// RGB whatever its depth. Nothing when the bytes are no bitmap it accepts.
std::optional<Image> read_bitmap(std::span<const uint8_t> bytes);
