// A libjpeg data source that hands the decoder chosen byte ranges of a picture
// in turn (from memory, or from a file in pieces), notes when they ran out
// before the decoder was done, and then ends the stream with an end-of-image marker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <cstdio>  // jpeglib.h needs size_t and FILE declared first
#include <jpeglib.h>

#include "media/byte_source.h"

struct ByteRange {
    size_t begin = 0;
    size_t end = 0;
};

struct JpegSource {
    jpeg_source_mgr manager{};  // first, so libjpeg's pointer converts back
    const ByteSource* bytes = nullptr;
    std::vector<ByteRange> ranges;
    size_t next_range = 0;
    size_t next_offset = 0;          // where the current range continues
    size_t buffer_origin = 0;        // offset of the bytes now in the decoder's hands
    const uint8_t* buffer_start = nullptr;
    std::vector<uint8_t> file_piece;
    bool ran_out = false;
};

// Makes `source` the decompressor's data source; `source` must outlive it.
void attach_jpeg_source(j_decompress_ptr info, JpegSource& source, const ByteSource& bytes,
                        std::vector<ByteRange> ranges);
// The offset of the next byte the decoder will take (the end once it ran out).
size_t jpeg_source_position(const JpegSource& source);
