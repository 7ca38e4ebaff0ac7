// Builds RIFF WAVE blocks for the sound tests, well formed or broken on purpose.
#pragma once

#include "platform/wav.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void put_u16(Bytes& out, uint16_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

inline void put_u32(Bytes& out, uint32_t value) {
    put_u16(out, uint16_t(value));
    put_u16(out, uint16_t(value >> 16));
}

inline void put_id(Bytes& out, const std::string& id) {
    out.insert(out.end(), id.begin(), id.end());
}

// A chunk whose header states `declared_size` whatever it holds; no pad byte.
inline Bytes raw_chunk(const std::string& id, uint32_t declared_size, const Bytes& contents) {
    Bytes out;
    put_id(out, id);
    put_u32(out, declared_size);
    out.insert(out.end(), contents.begin(), contents.end());
    return out;
}

// A well-formed chunk, padded to an even length.
inline Bytes chunk(const std::string& id, const Bytes& contents) {
    Bytes out = raw_chunk(id, uint32_t(contents.size()), contents);
    if (contents.size() % 2 != 0) out.push_back(0);
    return out;
}

inline Bytes fmt_contents(const WavFormat& format) {
    Bytes out;
    put_u16(out, format.format_tag);
    put_u16(out, format.channels);
    put_u32(out, format.sample_rate);
    put_u32(out, format.byte_rate);
    put_u16(out, format.block_align);
    put_u16(out, format.bits_per_sample);
    return out;
}

inline Bytes fmt_chunk(const WavFormat& format) {
    return chunk("fmt ", fmt_contents(format));
}

// "RIFF", the size of what follows, "WAVE", then the chunks as given.
inline Bytes riff_wave(std::initializer_list<Bytes> chunks) {
    Bytes body;
    put_id(body, "WAVE");
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out;
    put_id(out, "RIFF");
    put_u32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline WavFormat pcm_format(uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t align = uint16_t(channels * (bits / 8));
    return WavFormat{WAV_FORMAT_PCM, channels, rate, rate * align, align, bits};
}

inline Bytes s16_bytes(const std::vector<int16_t>& samples) {
    Bytes out;
    for (int16_t s : samples) put_u16(out, uint16_t(s));
    return out;
}

// A plain PCM file: "fmt " then "data".
inline Bytes pcm_wav(const WavFormat& format, const Bytes& samples) {
    return riff_wave({fmt_chunk(format), chunk("data", samples)});
}
