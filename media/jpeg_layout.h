// The marker structure of a JPEG stream, found without decoding: where each
// segment begins and ends (a scan includes its entropy-coded data) and which
// coefficients each scan carries. Lets the reader feed the decoder only whole
// segments, or only the scans it needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct JpegSegment {
    uint8_t marker = 0;      // the byte after 0xFF
    size_t begin = 0;        // offset of the 0xFF
    size_t end = 0;          // one past the segment (and a scan's coded data)
    int spectral_start = 0;  // scans only: the first coefficient (0 for DC)
};

struct JpegLayout {
    std::vector<JpegSegment> segments;  // from the one after the start-of-image marker
    // Up to here the stream is whole segments, or ends inside a scan's coded
    // data; a segment cut short by the end of the data starts here.
    size_t intact_end = 0;
};

JpegLayout find_jpeg_layout(std::span<const uint8_t> bytes);
