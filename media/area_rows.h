// The exact area average of a picture that is not made taller: each source row
// is added as integers into the target row it falls in (one addition per byte
// for rows wholly inside it, weighted by overlap for a row on the border), and
// a target row is averaged across once it is complete. Rows must come top to
// bottom; rows never added count as black.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/image.h"

struct AreaRows {
    int source_width = 0;
    int source_height = 0;
    int target_width = 0;
    int target_height = 0;
    int step = 3;           // source bytes per pixel (3, or 4 with an unused fourth)
    bool reversed = false;  // blue, green, red
    std::vector<uint32_t> first_tap;     // per target column, into tap_source/tap_overlap
    std::vector<uint32_t> tap_source;
    std::vector<uint32_t> tap_overlap;   // in 1/target_width of a source pixel
    std::vector<uint32_t> whole;         // rows wholly inside the current target row
    std::vector<uint32_t> border;        // border rows, weighted by overlap
    std::vector<uint32_t> next_border;   // the next target row's share of a border row
    int target_row = 0;
    int last_source_row = -1;
    bool pending = false;
    Image out;                           // 24-bit RGB, target size
};

// source_height must be at least target_height.
AreaRows make_area_rows(int source_width, int source_height, int target_width, int target_height, int step,
                        bool reversed);
void add_area_row(AreaRows& rows, int y, const uint8_t* row);
Image finish_area_rows(AreaRows& rows);
