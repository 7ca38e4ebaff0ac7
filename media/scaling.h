// Resampling a picture to another size without keeping its aspect ratio. A
// 24-bit picture is area-averaged (each target pixel is the mean of the source
// area it covers); a 32-bit picture is filtered with the Mitchell-Netravali
// cubic (B = C = 1/3), widened in proportion when shrinking, on all four
// channels alike. Source rows are fed one at a time, so a reader can stream into
// it; memory depends on the target size and the source width only.
#pragma once

#include <cstdint>
#include <vector>

#include "media/area_rows.h"
#include "platform/image.h"

// For each target position along one axis, the source positions it draws on
// and their weights (which add up to 1).
struct FilterTaps {
    std::vector<int> first_tap;  // per target position; its taps run to first_tap[i + 1]
    std::vector<int> source;     // per tap
    std::vector<float> weight;   // per tap
};

// How a source row lays out its pixels, when not as packed RGB or RGBA.
struct SourcePixels {
    int bytes = 0;          // per pixel; 0: the picture's channel count
    bool reversed = false;  // blue, green, red (a bitmap's order)
};

struct Resampler {
    int source_width = 0;
    int source_height = 0;
    int channels = 3;
    SourcePixels source_pixels;
    int target_width = 0;
    int target_height = 0;
    FilterTaps across;               // target column <- source columns
    FilterTaps down_by_source;       // source row -> the target rows it feeds
    std::vector<float> row_sums;     // one source row filtered across
    std::vector<float> target_sums;  // target_width * target_height * channels
    bool by_rows = false;            // a 24-bit picture not made taller: exact integer sums
    AreaRows rows;
};

FilterTaps area_average_taps(int source_size, int target_size);
FilterTaps mitchell_taps(int source_size, int target_size);

// A resampler for a picture of the given size and depth (24 or 32).
Resampler make_resampler(int source_width, int source_height, int depth, int target_width,
                         int target_height, SourcePixels source_pixels = {});
// Adds source row y; rows come top to bottom, and rows never added count as black.
void add_source_row(Resampler& resampler, int y, const uint8_t* row);
// The target picture: sums rounded and clamped to 0-255.
Image finish_resampling(Resampler& resampler);
// The whole picture at once.
Image resample_picture(const Image& source, int target_width, int target_height);
