#include "media/jpeg_source.h"

#include <algorithm>

namespace {

constexpr size_t FILE_PIECE_BYTES = 256 << 10;
const JOCTET END_OF_IMAGE[2] = {0xFF, JPEG_EOI};

JpegSource& source_of(j_decompress_ptr info) { return *reinterpret_cast<JpegSource*>(info->src); }

void hand_over(JpegSource& s, const uint8_t* data, size_t count, size_t origin) {
    s.manager.next_input_byte = data;
    s.manager.bytes_in_buffer = count;
    s.buffer_start = data;
    s.buffer_origin = origin;
}

// The next bytes of the current range; false when the range is used up.
bool hand_over_more(JpegSource& s) {
    const ByteRange range = s.ranges[s.next_range];
    if (s.next_offset >= range.end) return false;
    const size_t want = range.end - s.next_offset;
    if (s.bytes->fd < 0) {
        hand_over(s, s.bytes->memory.data() + s.next_offset, want, s.next_offset);
        s.next_offset = range.end;
        return true;
    }
    const size_t got = copy_bytes(*s.bytes, s.next_offset, s.file_piece.data(), std::min(want, s.file_piece.size()));
    if (got == 0) return false;
    hand_over(s, s.file_piece.data(), got, s.next_offset);
    s.next_offset += got;
    return true;
}

boolean fill_input(j_decompress_ptr info) {
    JpegSource& s = source_of(info);
    while (s.next_range < s.ranges.size()) {
        if (hand_over_more(s)) return TRUE;
        if (++s.next_range < s.ranges.size()) s.next_offset = s.ranges[s.next_range].begin;
    }
    s.ran_out = true;
    hand_over(s, END_OF_IMAGE, 2, s.bytes->size);
    return TRUE;
}

void skip_input(j_decompress_ptr info, long count) {
    JpegSource& s = source_of(info);
    while (count > 0 && !s.ran_out) {
        if (size_t(count) <= s.manager.bytes_in_buffer) {
            s.manager.next_input_byte += count;
            s.manager.bytes_in_buffer -= size_t(count);
            return;
        }
        count -= long(s.manager.bytes_in_buffer);
        fill_input(info);
    }
}

void no_action(j_decompress_ptr) {}

}  // namespace

void attach_jpeg_source(j_decompress_ptr info, JpegSource& source, const ByteSource& bytes,
                        std::vector<ByteRange> ranges) {
    source.manager.init_source = no_action;
    source.manager.fill_input_buffer = fill_input;
    source.manager.skip_input_data = skip_input;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = no_action;
    source.manager.bytes_in_buffer = 0;
    source.manager.next_input_byte = nullptr;
    source.bytes = &bytes;
    source.ranges = std::move(ranges);
    source.next_range = 0;
    source.next_offset = source.ranges.empty() ? 0 : source.ranges.front().begin;
    source.ran_out = false;
    if (bytes.fd >= 0) source.file_piece.resize(FILE_PIECE_BYTES);
    info->src = &source.manager;
}

size_t jpeg_source_position(const JpegSource& source) {
    if (source.ran_out || !source.buffer_start) return source.ran_out ? source.bytes->size : 0;
    return source.buffer_origin + size_t(source.manager.next_input_byte - source.buffer_start);
}
