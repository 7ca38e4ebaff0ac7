// RIFF WAVE parsing over a block in memory. Never reads outside the block;
// anything it cannot vouch for (truncation, sizes past the end, no "fmt " or
// "data", a format other than 8- or 16-bit PCM) answers nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

inline constexpr uint16_t WAV_FORMAT_PCM = 1;

// The fields of the "fmt " chunk, as the file gives them.
struct WavFormat {
    uint16_t format_tag = 0;
    uint16_t channels = 0;
    uint32_t sample_rate = 0;
    uint32_t byte_rate = 0;
    uint16_t block_align = 0;       // bytes per frame
    uint16_t bits_per_sample = 0;
};

// A parsed WAV: its format and its "data" chunk, a view into the parsed block.
struct WavSound {
    WavFormat format;
    std::span<const uint8_t> samples;   // whole frames only
};

// Parses a whole RIFF WAVE file. Chunks other than "fmt " and "data" are skipped,
// odd-sized chunks are followed by their pad byte, and bytes after the RIFF chunk
// are ignored. Fails on a format it cannot play: not PCM, bits other than 8 or
// 16, no channels, a zero rate, or a block align other than channels x bytes.
std::optional<WavSound> parse_wav(std::span<const uint8_t> bytes);
