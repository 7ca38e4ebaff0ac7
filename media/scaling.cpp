// Separable resampling: each source row is filtered across into row_sums, then
// added with its vertical weights into every target row it contributes to.
// 24-bit pictures that are not made taller take the exact integer way of
// area_rows instead.
#include "media/scaling.h"

#include <algorithm>
#include <cmath>

namespace {

// Mitchell-Netravali with B = C = 1/3.
double mitchell(double x) {
    x = std::fabs(x);
    if (x < 1) return (7 * x * x * x - 12 * x * x + 16.0 / 3) / 6;
    if (x < 2) return (-7.0 / 3 * x * x * x + 12 * x * x - 20 * x + 32.0 / 3) / 6;
    return 0;
}

// Exact overlaps: target i covers [i*S, (i+1)*S) and source j covers
// [j*T, (j+1)*T), both in units of 1/T of a source pixel.
void add_area_taps(FilterTaps& taps, int64_t source_size, int64_t target_size, int64_t i) {
    const int64_t low = i * source_size;
    const int64_t high = low + source_size;
    for (int64_t j = low / target_size; j * target_size < high; ++j) {
        const int64_t overlap = std::min(high, (j + 1) * target_size) - std::max(low, j * target_size);
        taps.source.push_back(int(j));
        taps.weight.push_back(float(double(overlap) / double(source_size)));
    }
}

// Source pixel centres within the widened support of target i's centre; pixels
// beyond the edge repeat the edge pixel.
void add_mitchell_taps(FilterTaps& taps, int source_size, int target_size, int i) {
    const double scale = double(source_size) / target_size;
    const double widening = std::max(scale, 1.0);
    const double centre = (i + 0.5) * scale;
    const int first = int(std::ceil(centre - 2 * widening - 0.5));
    const int last = int(std::floor(centre + 2 * widening - 0.5));
    const size_t start = taps.weight.size();
    double total = 0;
    for (int j = first; j <= last; ++j) {
        const double weight = mitchell((j + 0.5 - centre) / widening);
        if (weight == 0) continue;
        taps.source.push_back(std::clamp(j, 0, source_size - 1));
        taps.weight.push_back(float(weight));
        total += weight;
    }
    for (size_t t = start; t < taps.weight.size(); ++t) taps.weight[t] = float(taps.weight[t] / total);
}

// The same taps seen from the source side: for each source position, the
// target positions that draw on it.
FilterTaps by_source(const FilterTaps& taps, int source_size) {
    const int target_size = int(taps.first_tap.size()) - 1;
    FilterTaps inverse;
    inverse.first_tap.assign(size_t(source_size) + 1, 0);
    for (int s : taps.source) ++inverse.first_tap[size_t(s) + 1];
    for (int j = 0; j < source_size; ++j) inverse.first_tap[j + 1] += inverse.first_tap[j];
    std::vector<int> next(inverse.first_tap.begin(), inverse.first_tap.end() - 1);
    inverse.source.resize(taps.source.size());
    inverse.weight.resize(taps.source.size());
    for (int i = 0; i < target_size; ++i) {
        for (int t = taps.first_tap[i]; t < taps.first_tap[i + 1]; ++t) {
            const int slot = next[taps.source[t]]++;
            inverse.source[slot] = i;
            inverse.weight[slot] = taps.weight[t];
        }
    }
    return inverse;
}

template <int CHANNELS, int STEP, bool REVERSED>
void filter_across(const FilterTaps& taps, const uint8_t* row, float* out, int target_width) {
    for (int x = 0; x < target_width; ++x, out += CHANNELS) {
        float sums[CHANNELS] = {};
        for (int t = taps.first_tap[x]; t < taps.first_tap[x + 1]; ++t) {
            const uint8_t* pixel = row + size_t(taps.source[t]) * STEP;
            for (int c = 0; c < CHANNELS; ++c) sums[c] += taps.weight[t] * pixel[c];
        }
        for (int c = 0; c < CHANNELS; ++c) out[c] = sums[REVERSED ? 2 - c : c];
    }
}

void filter_row_across(const Resampler& r, const uint8_t* row, float* out) {
    if (r.channels == 4) filter_across<4, 4, false>(r.across, row, out, r.target_width);
    else if (r.source_pixels.bytes == 4 && r.source_pixels.reversed) filter_across<3, 4, true>(r.across, row, out, r.target_width);
    else if (r.source_pixels.reversed) filter_across<3, 3, true>(r.across, row, out, r.target_width);
    else filter_across<3, 3, false>(r.across, row, out, r.target_width);
}

}  // namespace

FilterTaps area_average_taps(int source_size, int target_size) {
    FilterTaps taps;
    for (int i = 0; i < target_size; ++i) {
        taps.first_tap.push_back(int(taps.source.size()));
        add_area_taps(taps, source_size, target_size, i);
    }
    taps.first_tap.push_back(int(taps.source.size()));
    return taps;
}

FilterTaps mitchell_taps(int source_size, int target_size) {
    FilterTaps taps;
    for (int i = 0; i < target_size; ++i) {
        taps.first_tap.push_back(int(taps.source.size()));
        add_mitchell_taps(taps, source_size, target_size, i);
    }
    taps.first_tap.push_back(int(taps.source.size()));
    return taps;
}

Resampler make_resampler(int source_width, int source_height, int depth, int target_width,
                         int target_height, SourcePixels source_pixels) {
    Resampler r;
    r.source_pixels = source_pixels;
    r.source_width = source_width;
    r.source_height = source_height;
    r.channels = depth / 8;
    r.target_width = target_width;
    r.target_height = target_height;
    const bool area = depth == 24;
    if (area && source_height >= target_height) {
        r.by_rows = true;
        r.rows = make_area_rows(source_width, source_height, target_width, target_height,
                                source_pixels.bytes ? source_pixels.bytes : 3, source_pixels.reversed);
        return r;
    }
    r.across = area ? area_average_taps(source_width, target_width)
                    : mitchell_taps(source_width, target_width);
    const FilterTaps down = area ? area_average_taps(source_height, target_height)
                                 : mitchell_taps(source_height, target_height);
    r.down_by_source = by_source(down, source_height);
    r.row_sums.assign(size_t(target_width) * r.channels, 0);
    r.target_sums.assign(size_t(target_width) * target_height * r.channels, 0);
    return r;
}

void add_source_row(Resampler& r, int y, const uint8_t* row) {
    if (r.by_rows) return add_area_row(r.rows, y, row);
    if (y < 0 || y >= r.source_height) return;
    filter_row_across(r, row, r.row_sums.data());
    const FilterTaps& down = r.down_by_source;
    const size_t width = r.row_sums.size();
    for (int t = down.first_tap[y]; t < down.first_tap[y + 1]; ++t) {
        float* sums = &r.target_sums[size_t(down.source[t]) * width];
        const float weight = down.weight[t];
        for (size_t k = 0; k < width; ++k) sums[k] += weight * r.row_sums[k];
    }
}

Image finish_resampling(Resampler& r) {
    if (r.by_rows) return finish_area_rows(r.rows);
    Image image{r.target_width, r.target_height, r.channels * 8, std::vector<uint8_t>(r.target_sums.size())};
    for (size_t k = 0; k < r.target_sums.size(); ++k)
        image.pixels[k] = uint8_t(std::clamp(r.target_sums[k], 0.0f, 255.0f) + 0.5f);
    return image;
}

Image resample_picture(const Image& source, int target_width, int target_height) {
    Resampler r = make_resampler(source.width, source.height, source.depth, target_width, target_height);
    const size_t stride = row_bytes(source);
    for (int y = 0; y < source.height; ++y) add_source_row(r, y, &source.pixels[stride * y]);
    return finish_resampling(r);
}
