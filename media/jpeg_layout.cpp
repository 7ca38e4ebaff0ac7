// Walks the markers from the start-of-image marker. Coded data is skipped by
// looking for the next 0xFF that is neither a stuffed 0xFF 0x00 nor a restart
// marker.
#include "media/jpeg_layout.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t SOS = 0xDA, EOI = 0xD9;

bool is_restart(uint8_t marker) { return marker >= 0xD0 && marker <= 0xD7; }
bool stands_alone(uint8_t marker) { return is_restart(marker) || marker == 0x01; }

// Offset of the marker that ends the coded data starting at `at`, or the end of the data.
size_t end_of_coded_data(std::span<const uint8_t> bytes, size_t at) {
    while (at + 1 < bytes.size()) {
        const void* found = std::memchr(bytes.data() + at, 0xFF, bytes.size() - at - 1);
        if (!found) break;
        at = size_t(static_cast<const uint8_t*>(found) - bytes.data());
        const uint8_t next = bytes[at + 1];
        if (next == 0x00 || is_restart(next)) at += 2;
        else if (next == 0xFF) at += 1;
        else return at;
    }
    return bytes.size();
}

// Offset of the next 0xFF that begins a marker (skipping fill bytes and junk).
size_t next_marker(std::span<const uint8_t> bytes, size_t at) {
    while (at + 1 < bytes.size() && (bytes[at] != 0xFF || bytes[at + 1] == 0xFF || bytes[at + 1] == 0x00)) ++at;
    return at;
}

}  // namespace

JpegLayout find_jpeg_layout(std::span<const uint8_t> bytes) {
    JpegLayout layout;
    size_t at = 2;
    while (true) {
        at = next_marker(bytes, at);
        if (at + 2 > bytes.size()) break;
        JpegSegment segment{bytes[at + 1], at, at + 2, 0};
        if (segment.marker == EOI || stands_alone(segment.marker)) {
            layout.segments.push_back(segment);
            at = segment.end;
            if (segment.marker == EOI) break;
            continue;
        }
        if (at + 4 > bytes.size()) break;
        segment.end = at + 2 + size_t(bytes[at + 2] << 8 | bytes[at + 3]);
        if (segment.end > bytes.size() || segment.end < at + 4) break;
        if (segment.marker == SOS) {
            const size_t after_components = at + 5 + 2 * size_t(bytes[at + 4]);
            if (after_components < segment.end) segment.spectral_start = bytes[after_components];
            segment.end = end_of_coded_data(bytes, segment.end);
        }
        layout.segments.push_back(segment);
        at = segment.end;
    }
    layout.intact_end = std::min(at, bytes.size());
    return layout;
}
