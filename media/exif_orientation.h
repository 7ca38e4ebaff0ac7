// The orientation tag of a photo's Exif block, and turning a picture upright by it.
#pragma once

#include <cstdint>
#include <span>

#include "platform/image.h"

// The orientation (1 to 8) stored in an APP1 payload that begins "Exif\0\0";
// 1 (already upright) when the payload has none or cannot be read.
int exif_orientation(std::span<const uint8_t> app1);
// The picture as it is meant to be seen: mirrored and/or turned by a quarter or
// half turn as the orientation value says. Values 5 to 8 swap width and height.
Image orient_upright(const Image& image, int orientation);
