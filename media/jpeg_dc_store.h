// A coefficient store for decoding a progressive JPEG at 1/8 scale. libjpeg
// keeps every block of such a picture until the last scan is in, sixty-four
// coefficients each, although at 1/8 a full-resolution component reaches the
// output through its DC coefficient alone. This store keeps only the DC of such
// components (whose AC scans are then not fed at all), and for subsampled
// components, which libjpeg decodes at a larger DCT size and so from some AC
// coefficients too, the DC plus a list of the nonzero AC coefficients.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs size_t and FILE declared first
#include <deque>
#include <vector>

#include <jpeglib.h>

struct SparseCoefficient {
    uint16_t block;     // within its block row
    uint16_t position;  // 1 to 63, in natural order
    int16_t value;
};

// libjpeg leaves this type incomplete; this store's arrays are its only instances.
struct jvirt_barray_control {
    JDIMENSION rows = 0;
    JDIMENSION blocks_per_row = 0;
    JDIMENSION window_rows = 0;      // the most rows one access asks for
    bool keeps_ac = false;
    std::vector<JCOEF> dc;           // rows * blocks_per_row
    std::vector<std::vector<SparseCoefficient>> ac;  // per block row, when keeps_ac
    JBLOCKARRAY window = nullptr;    // window_rows rows of whole blocks
    JDIMENSION window_start = 0;
    JDIMENSION window_used = 0;
    bool window_written = false;
    bool written_by_ac_scan = false; // AC coefficients may have changed
};

struct DcStore {
    jpeg_memory_mgr library{};  // the memory manager's own functions
    std::deque<jvirt_barray_control> arrays;
    int requests = 0;           // block arrays are requested component by component
};

// Makes `store` hold the decompressor's coefficients; `store` must outlive it.
// Call after jpeg_read_header and before jpeg_start_decompress, only when the
// output is scaled by 1/8, block smoothing is off, and no AC scan of a
// component for which jpeg_component_needs_ac is false is fed.
void keep_only_dc_coefficients(j_decompress_ptr info, DcStore& store);
// True when libjpeg decodes `component` at 1/8 with a DCT larger than 1 x 1
// (its sampling factors divide the largest ones by a power of two).
bool jpeg_component_needs_ac(const jpeg_decompress_struct& info, const jpeg_component_info& component);
