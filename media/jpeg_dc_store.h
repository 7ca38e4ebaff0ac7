// A coefficient store for decoding a progressive JPEG at 1/8 scale without its
// AC scans: libjpeg keeps every block of such a picture until the last scan is
// in, but at 1/8 only each block's DC coefficient reaches the output, so this
// store keeps one coefficient per block instead of sixty-four. Subsampled
// components are the exception: libjpeg decodes them at a larger DCT size
// (rather than upsampling), which draws on AC coefficients, so they keep
// whole blocks and their AC scans are fed.
#pragma once

#include <cstddef>
#include <cstdio>  // jpeglib.h needs size_t and FILE declared first
#include <jpeglib.h>

// Replaces the decompressor's whole-image coefficient arrays by the compact
// store. Call after jpeg_create_decompress and before jpeg_start_decompress, only
// when the output is scaled by 1/8, block smoothing is off and no AC scan is fed.
void keep_only_dc_coefficients(j_decompress_ptr info);
// True when libjpeg decodes `component` at 1/8 with a DCT larger than 1 x 1
// (its sampling factors divide the largest ones by a power of two).
bool jpeg_component_needs_ac(const jpeg_decompress_struct& info, const jpeg_component_info& component);
