// The bytes of a picture, wherever they are: a block in memory, or an open file
// read in pieces on demand, so that a large file is never held whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct ByteSource {
    std::span<const uint8_t> memory;  // used when fd is -1
    int fd = -1;
    size_t size = 0;
};

ByteSource bytes_in_memory(std::span<const uint8_t> bytes);
ByteSource bytes_in_file(int fd, size_t size);
// Copies up to `count` bytes from `offset`; answers how many were copied (fewer
// at the end of the source or when the file cannot be read).
size_t copy_bytes(const ByteSource& source, size_t offset, uint8_t* out, size_t count);
std::vector<uint8_t> bytes_at(const ByteSource& source, size_t offset, size_t count);

// A window onto a source for reading it front to back byte by byte.
struct ByteWindow {
    const ByteSource* source = nullptr;
    std::vector<uint8_t> buffer;   // for a file: the bytes from `start`
    size_t start = 0;
    size_t length = 0;
};

ByteWindow open_window(const ByteSource& source);
// The byte at `offset`, or -1 past the end.
int byte_at(ByteWindow& window, size_t offset);
// Offset of the first byte equal to `value` at or after `offset`, or the source's size.
size_t find_byte(ByteWindow& window, size_t offset, uint8_t value);
