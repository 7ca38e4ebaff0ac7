// Target row t covers source rows [t*S, (t+1)*S) and source row y covers
// [y*T, (y+1)*T), in units of 1/T of a source row (S, T: source and target
// heights). A target pixel is then the sum of overlap * value over its area,
// divided by S * (source width): exact integers until the one rounding.
#include "media/area_rows.h"

#include <algorithm>

namespace {

void clear(std::vector<uint32_t>& sums) { std::fill(sums.begin(), sums.end(), 0); }

void average_across(AreaRows& r) {
    const uint64_t total = uint64_t(r.source_width) * uint64_t(r.source_height);
    const uint64_t whole_weight = uint64_t(r.target_height);
    uint8_t* out = &r.out.pixels[row_bytes(r.out) * r.target_row];
    for (int x = 0; x < r.target_width; ++x, out += 3) {
        uint64_t sums[3] = {};
        for (uint32_t t = r.first_tap[x]; t < r.first_tap[x + 1]; ++t) {
            const size_t at = size_t(r.tap_source[t]) * r.step;
            for (int c = 0; c < 3; ++c)
                sums[c] += r.tap_overlap[t] * (whole_weight * r.whole[at + c] + r.border[at + c]);
        }
        for (int c = 0; c < 3; ++c) out[r.reversed ? 2 - c : c] = uint8_t((sums[c] + total / 2) / total);
    }
}

// Writes the current target row and moves on to `next`.
void finish_target_row(AreaRows& r, int next) {
    if (r.pending) average_across(r);
    clear(r.whole);
    if (next == r.target_row + 1) std::swap(r.border, r.next_border);
    else clear(r.border);
    clear(r.next_border);
    r.pending = next == r.target_row + 1 && std::any_of(r.border.begin(), r.border.end(), [](uint32_t v) { return v; });
    r.target_row = next;
}

void add_weighted(std::vector<uint32_t>& sums, const uint8_t* row, uint32_t weight) {
    for (size_t k = 0; k < sums.size(); ++k) sums[k] += weight * row[k];
}

}  // namespace

AreaRows make_area_rows(int source_width, int source_height, int target_width, int target_height, int step,
                        bool reversed) {
    AreaRows r;
    r.source_width = source_width;
    r.source_height = source_height;
    r.target_width = target_width;
    r.target_height = target_height;
    r.step = step;
    r.reversed = reversed;
    for (int64_t x = 0; x < target_width; ++x) {
        r.first_tap.push_back(uint32_t(r.tap_source.size()));
        const int64_t low = x * source_width, high = low + source_width;
        for (int64_t j = low / target_width; j * target_width < high; ++j) {
            r.tap_source.push_back(uint32_t(j));
            r.tap_overlap.push_back(uint32_t(std::min(high, (j + 1) * target_width) - std::max(low, j * target_width)));
        }
    }
    r.first_tap.push_back(uint32_t(r.tap_source.size()));
    const size_t sums = size_t(source_width) * step;
    r.whole.assign(sums, 0);
    r.border.assign(sums, 0);
    r.next_border.assign(sums, 0);
    r.out = Image{target_width, target_height, 24, std::vector<uint8_t>(size_t(target_width) * target_height * 3)};
    return r;
}

void add_area_row(AreaRows& r, int y, const uint8_t* row) {
    if (y <= r.last_source_row || y >= r.source_height) return;
    r.last_source_row = y;
    const int64_t S = r.source_height, T = r.target_height;
    const int t = int(int64_t(y) * T / S);
    if (t != r.target_row) finish_target_row(r, t);
    r.pending = true;
    const uint32_t inside = uint32_t(std::min((int64_t(y) + 1) * T, (int64_t(t) + 1) * S) - int64_t(y) * T);
    if (inside == uint32_t(T)) {
        for (size_t k = 0; k < r.whole.size(); ++k) r.whole[k] += row[k];
    } else {
        add_weighted(r.border, row, inside);
        add_weighted(r.next_border, row, uint32_t(T) - inside);
    }
    if ((int64_t(y) + 1) * T >= (int64_t(t) + 1) * S) finish_target_row(r, t + 1);
}

Image finish_area_rows(AreaRows& r) {
    if (r.target_row < r.target_height) finish_target_row(r, r.target_height);
    return std::move(r.out);
}
