// The JPEG reader: baseline and progressive JPEG to 24-bit RGB, greyscale as
// three equal channels, CMYK and YCCK converted to colour, turned upright by the
// Exif orientation tag. It can decode at a reduced scale.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "media/byte_source.h"
#include "platform/image.h"

struct JpegPicture {
    Image image;     // upright, at the scale it was decoded or at the target size
    int width = 0;   // the full picture's upright size
    int height = 0;
};

// Decodes at full size. Nothing when the header cannot be read, declares a size
// beyond the picture limits, or decompression cannot start. Data damaged after
// that point gives the rows decoded before the damage; the rows after it stay black.
std::optional<Image> read_jpeg(std::span<const uint8_t> bytes);
// Decodes at the DCT scale 1/denominator (1, 2, 4 or 8). At 1/8 a progressive
// stream's AC scans are skipped unread, since only DC coefficients reach that scale.
std::optional<JpegPicture> read_jpeg_scaled(const ByteSource& bytes, int denominator);
// A component's sampling factors, across and down the upright picture.
struct JpegSampling {
    int across = 1;
    int down = 1;
};

// The denominator for an upright picture of width x height that is to be
// area-averaged to min_width x min_height: the smallest scale whose result stays
// faithful to the full-size picture, one that leaves 1.5 times the wanted size
// in every component. A subsampled component that libjpeg does not decode at a
// larger DCT size (as it does 4:2:0 chroma) has fewer samples than the output.
int jpeg_scale_for(int width, int height, int min_width, int min_height,
                   const std::vector<JpegSampling>& components = {});
// The picture area-averaged to target_width x target_height, decoded at
// jpeg_scale_for's scale; the rows of a picture that needs no turning are
// averaged as they are decoded, so the reduced picture is never held whole.
std::optional<JpegPicture> read_jpeg_for(const ByteSource& bytes, int target_width, int target_height);
