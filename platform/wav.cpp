// RIFF WAVE parsing: walks the chunks of the RIFF body with every size checked
// against the bytes that remain, so no field is read outside the block.
#include "platform/wav.h"

#include <cstring>

namespace {

constexpr size_t CHUNK_HEADER_SIZE = 8;    // four-letter identifier + 32-bit size
constexpr size_t FMT_FIELDS_SIZE = 16;     // the PCM fields; extensions follow

uint16_t read_u16(std::span<const uint8_t> bytes, size_t at) {
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

uint32_t read_u32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 |
           uint32_t(bytes[at + 2]) << 16 | uint32_t(bytes[at + 3]) << 24;
}

bool has_id(std::span<const uint8_t> bytes, size_t at, const char* id) {
    return std::memcmp(bytes.data() + at, id, 4) == 0;
}

WavFormat read_format(std::span<const uint8_t> fmt) {
    WavFormat format;
    format.format_tag = read_u16(fmt, 0);
    format.channels = read_u16(fmt, 2);
    format.sample_rate = read_u32(fmt, 4);
    format.byte_rate = read_u32(fmt, 8);
    format.block_align = read_u16(fmt, 12);
    format.bits_per_sample = read_u16(fmt, 14);
    return format;
}

bool is_playable_pcm(const WavFormat& format) {
    if (format.format_tag != WAV_FORMAT_PCM) return false;
    if (format.bits_per_sample != 8 && format.bits_per_sample != 16) return false;
    if (format.channels == 0 || format.sample_rate == 0) return false;
    return uint32_t(format.block_align) ==
           uint32_t(format.channels) * (format.bits_per_sample / 8u);
}

// The chunks of interest found in a RIFF body.
struct WavChunks {
    std::optional<std::span<const uint8_t>> fmt;
    std::optional<std::span<const uint8_t>> data;
    bool duplicated = false;
};

// Splits the RIFF body into chunks. False when a chunk header or a chunk's
// contents run past the body. A missing pad byte after a final odd-sized chunk
// is tolerated: nothing is read there.
bool find_chunks(std::span<const uint8_t> body, WavChunks& found) {
    size_t at = 0;
    while (at < body.size()) {
        if (body.size() - at < CHUNK_HEADER_SIZE) return false;
        const uint32_t size = read_u32(body, at + 4);
        const size_t contents_at = at + CHUNK_HEADER_SIZE;
        if (size > body.size() - contents_at) return false;
        const auto contents = body.subspan(contents_at, size);
        if (has_id(body, at, "fmt ")) {
            found.duplicated |= found.fmt.has_value();
            found.fmt = contents;
        } else if (has_id(body, at, "data")) {
            found.duplicated |= found.data.has_value();
            found.data = contents;
        }
        at = contents_at + size + (size & 1u);
    }
    return true;
}

// The RIFF body after the form type; nothing when the block does not hold a
// whole RIFF WAVE chunk.
std::optional<std::span<const uint8_t>> riff_wave_body(std::span<const uint8_t> bytes) {
    if (bytes.size() < CHUNK_HEADER_SIZE + 4) return std::nullopt;
    if (!has_id(bytes, 0, "RIFF") || !has_id(bytes, 8, "WAVE")) return std::nullopt;
    const uint32_t riff_size = read_u32(bytes, 4);
    if (riff_size < 4 || riff_size > bytes.size() - CHUNK_HEADER_SIZE) return std::nullopt;
    return bytes.subspan(CHUNK_HEADER_SIZE + 4, riff_size - 4);
}

}  // namespace

std::optional<WavSound> parse_wav(std::span<const uint8_t> bytes) {
    const auto body = riff_wave_body(bytes);
    if (!body) return std::nullopt;
    WavChunks chunks;
    if (!find_chunks(*body, chunks) || chunks.duplicated) return std::nullopt;
    if (!chunks.fmt || chunks.fmt->size() < FMT_FIELDS_SIZE || !chunks.data) return std::nullopt;
    const WavFormat format = read_format(*chunks.fmt);
    if (!is_playable_pcm(format)) return std::nullopt;
    if (chunks.data->size() % format.block_align != 0) return std::nullopt;
    return WavSound{format, *chunks.data};
}
