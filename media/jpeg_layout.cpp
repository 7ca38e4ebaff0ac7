// Walks the markers from the start-of-image marker. Coded data is skipped by
// looking for the next 0xFF that is neither a stuffed 0xFF 0x00 nor a restart
// marker.
#include "media/jpeg_layout.h"

#include <algorithm>

namespace {

constexpr uint8_t SOS = 0xDA, EOI = 0xD9;

bool is_restart(int marker) { return marker >= 0xD0 && marker <= 0xD7; }
bool stands_alone(int marker) { return is_restart(marker) || marker == 0x01; }

// Offset of the marker that ends the coded data starting at `at`, or the end of the data.
size_t end_of_coded_data(ByteWindow& window, size_t at) {
    const size_t size = window.source->size;
    while (true) {
        at = find_byte(window, at, 0xFF);
        const int next = byte_at(window, at + 1);
        if (next < 0) return size;
        if (next == 0x00 || is_restart(next)) at += 2;
        else if (next == 0xFF) at += 1;
        else return at;
    }
}

// Offset of the next 0xFF that begins a marker (skipping fill bytes and junk).
size_t next_marker(ByteWindow& window, size_t at) {
    while (true) {
        at = find_byte(window, at, 0xFF);
        const int next = byte_at(window, at + 1);
        if (next < 0 || (next != 0xFF && next != 0x00)) return at;
        ++at;
    }
}

bool is_frame(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Component ids and sampling factors from a frame header at `at`.
std::vector<JpegComponent> frame_components(ByteWindow& window, size_t at, size_t end) {
    std::vector<JpegComponent> components;
    const int count = byte_at(window, at + 9);
    for (int i = 0; i < count && at + 10 + 3 * size_t(i) + 2 < end; ++i) {
        const size_t entry = at + 10 + 3 * size_t(i);
        const int sampling = byte_at(window, entry + 1);
        components.push_back({byte_at(window, entry), sampling >> 4, sampling & 15});
    }
    return components;
}

// Component ids and the first coefficient of a scan header at `at`.
void read_scan_header(ByteWindow& window, JpegSegment& scan) {
    const int count = std::max(byte_at(window, scan.begin + 4), 0);
    for (int i = 0; i < count; ++i) scan.scan_components.push_back(byte_at(window, scan.begin + 5 + 2 * size_t(i)));
    scan.spectral_start = byte_at(window, scan.begin + 5 + 2 * size_t(count));
}

int length_at(ByteWindow& window, size_t at) {
    const int high = byte_at(window, at);
    const int low = byte_at(window, at + 1);
    return high < 0 || low < 0 ? -1 : high << 8 | low;
}

}  // namespace

JpegLayout find_jpeg_layout(const ByteSource& source) {
    ByteWindow window = open_window(source);
    JpegLayout layout;
    size_t at = 2;
    while (true) {
        at = next_marker(window, at);
        const int marker = byte_at(window, at + 1);
        if (marker < 0) break;
        JpegSegment segment{uint8_t(marker), at, at + 2, 0, {}};
        if (marker == EOI || stands_alone(marker)) {
            layout.segments.push_back(segment);
            at = segment.end;
            if (marker == EOI) break;
            continue;
        }
        const int length = length_at(window, at + 2);
        if (length < 2 || at + 2 + size_t(length) > source.size) break;
        segment.end = at + 2 + size_t(length);
        if (is_frame(marker) && layout.components.empty()) layout.components = frame_components(window, at, segment.end);
        if (marker == SOS) {
            read_scan_header(window, segment);
            segment.end = end_of_coded_data(window, segment.end);
        }
        layout.segments.push_back(segment);
        at = segment.end;
    }
    layout.intact_end = std::min(at, source.size);
    return layout;
}
