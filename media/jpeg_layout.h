// The marker structure of a JPEG stream, found without decoding: where each
// segment begins and ends (a scan includes its entropy-coded data) and which
// coefficients each scan carries. Lets the reader feed the decoder only whole
// segments, or only the scans it needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/byte_source.h"

struct JpegSegment {
    uint8_t marker = 0;                // the byte after 0xFF
    size_t begin = 0;                  // offset of the 0xFF
    size_t end = 0;                    // one past the segment (and a scan's coded data)
    int spectral_start = 0;            // scans only: the first coefficient (0 for DC)
    std::vector<int> scan_components;  // scans only: the component ids
};

struct JpegComponent {
    int id = 0;
    int h_sampling = 1;
    int v_sampling = 1;
};

struct JpegLayout {
    std::vector<JpegSegment> segments;    // from the one after the start-of-image marker
    std::vector<JpegComponent> components;  // from the first frame header
    // Up to here the stream is whole segments, or ends inside a scan's coded
    // data; a segment cut short by the end of the data starts here.
    size_t intact_end = 0;
};

JpegLayout find_jpeg_layout(const ByteSource& source);
