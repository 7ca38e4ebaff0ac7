// A file is read with pread into one reused buffer: fresh memory is costly to
// touch, and the file may be much larger than anything the decoders keep.
#include "media/byte_source.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr size_t WINDOW_BYTES = 64 << 10;

bool contains(const ByteWindow& window, size_t offset) {
    return offset >= window.start && offset < window.start + window.length;
}

bool move_window(ByteWindow& window, size_t offset) {
    if (window.source->fd < 0) return offset < window.source->size;
    window.start = offset;
    window.length = copy_bytes(*window.source, offset, window.buffer.data(), window.buffer.size());
    return window.length > 0;
}

const uint8_t* window_data(const ByteWindow& window) {
    return window.source->fd < 0 ? window.source->memory.data() : window.buffer.data();
}

}  // namespace

ByteSource bytes_in_memory(std::span<const uint8_t> bytes) { return {bytes, -1, bytes.size()}; }

ByteSource bytes_in_file(int fd, size_t size) { return {{}, fd, size}; }

size_t copy_bytes(const ByteSource& source, size_t offset, uint8_t* out, size_t count) {
    if (offset >= source.size) return 0;
    count = std::min(count, source.size - offset);
    if (source.fd < 0) {
        std::memcpy(out, source.memory.data() + offset, count);
        return count;
    }
    size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(source.fd, out + done, count - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += size_t(got);
    }
    return done;
}

std::vector<uint8_t> bytes_at(const ByteSource& source, size_t offset, size_t count) {
    std::vector<uint8_t> bytes(std::min(count, offset < source.size ? source.size - offset : 0));
    bytes.resize(copy_bytes(source, offset, bytes.data(), bytes.size()));
    return bytes;
}

ByteWindow open_window(const ByteSource& source) {
    ByteWindow window;
    window.source = &source;
    if (source.fd >= 0) window.buffer.resize(WINDOW_BYTES);
    else window.length = source.size;
    return window;
}

int byte_at(ByteWindow& window, size_t offset) {
    if (!contains(window, offset) && !move_window(window, offset)) return -1;
    return window_data(window)[offset - window.start];
}

size_t find_byte(ByteWindow& window, size_t offset, uint8_t value) {
    while (offset < window.source->size) {
        if (!contains(window, offset) && !move_window(window, offset)) break;
        const uint8_t* data = window_data(window);
        const size_t from = offset - window.start;
        const void* found = std::memchr(data + from, value, window.length - from);
        if (found) return window.start + size_t(static_cast<const uint8_t*>(found) - data);
        offset = window.start + window.length;
    }
    return window.source->size;
}
