// The WAV parser: good files give their format and samples; every malformed
// block fails without reading outside itself (each is parsed from a heap block
// of exactly its size, so AddressSanitizer sees any read past the end).
#include "platform/wav.h"

#include "tests/sound/wav_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

const WavFormat MONO16 = pcm_format(1, 44100, 16);

// Parses a copy of `bytes` in an allocation of exactly its size and reports
// whether it parsed, and the result with its samples copied out.
struct Parsed {
    bool ok = false;
    WavFormat format;
    Bytes samples;
};

Parsed parse_exact(const Bytes& bytes) {
    auto block = std::make_unique<uint8_t[]>(bytes.size());
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
    const auto wav = parse_wav({block.get(), bytes.size()});
    if (!wav) return {};
    EXPECT_GE(wav->samples.data(), block.get());
    EXPECT_LE(wav->samples.data() + wav->samples.size(), block.get() + bytes.size());
    return {true, wav->format, Bytes(wav->samples.begin(), wav->samples.end())};
}

Bytes some_samples(size_t count) {
    std::vector<int16_t> samples;
    for (size_t i = 0; i < count; ++i) samples.push_back(int16_t((i % 2 ? -1 : 1) * int(1000 + 37 * i)));
    return s16_bytes(samples);
}

Bytes info_list() {
    Bytes entries;
    put_id(entries, "INFO");
    const Bytes software = chunk("ISFT", {'t', 'o', 'o', 'l', 0});   // odd: padded
    entries.insert(entries.end(), software.begin(), software.end());
    return chunk("LIST", entries);
}

WavFormat with(WavFormat format, void (*change)(WavFormat&)) {
    change(format);
    return format;
}

// The layout of the game's click: "fmt ", 1,312 frames of "data", then a LIST.
Bytes click_layout() {
    return riff_wave({fmt_chunk(MONO16), chunk("data", some_samples(1312)), info_list()});
}

TEST(WavParser, ReadsTheClickLayoutAndSkipsItsList) {
    const Parsed parsed = parse_exact(click_layout());
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.format.format_tag, WAV_FORMAT_PCM);
    EXPECT_EQ(parsed.format.channels, 1);
    EXPECT_EQ(parsed.format.sample_rate, 44100u);
    EXPECT_EQ(parsed.format.byte_rate, 88200u);
    EXPECT_EQ(parsed.format.block_align, 2);
    EXPECT_EQ(parsed.format.bits_per_sample, 16);
    EXPECT_EQ(parsed.samples, some_samples(1312));
}

struct GoodCase {
    const char* name;
    Bytes wav;
    WavFormat format;
    Bytes samples;
};

std::vector<GoodCase> good_cases() {
    const Bytes odd8 = {0x80, 0xC0, 0x40};
    const WavFormat mono8 = pcm_format(1, 8000, 8);
    const WavFormat stereo8 = pcm_format(2, 22050, 8);
    Bytes extended_fmt = fmt_contents(stereo8);
    put_u16(extended_fmt, 0);   // the extension size field some writers add
    return {
        {"list_and_odd_chunk_before_fmt",
         riff_wave({info_list(), chunk("junk", {1, 2, 3}), fmt_chunk(MONO16), chunk("data", some_samples(4))}),
         MONO16, some_samples(4)},
        {"data_before_fmt", riff_wave({chunk("data", some_samples(3)), fmt_chunk(MONO16)}), MONO16,
         some_samples(3)},
        {"odd_data_padded_then_list", riff_wave({fmt_chunk(mono8), chunk("data", odd8), info_list()}), mono8,
         odd8},
        {"odd_data_last_without_its_pad", riff_wave({fmt_chunk(mono8), raw_chunk("data", 3, odd8)}), mono8,
         odd8},
        {"extended_fmt_chunk", riff_wave({chunk("fmt ", extended_fmt), chunk("data", {1, 2, 3, 4})}), stereo8,
         {1, 2, 3, 4}},
        {"empty_data", pcm_wav(MONO16, {}), MONO16, {}},
    };
}

TEST(WavParser, ReadsGoodFiles) {
    for (const GoodCase& c : good_cases()) {
        SCOPED_TRACE(c.name);
        const Parsed parsed = parse_exact(c.wav);
        ASSERT_TRUE(parsed.ok);
        EXPECT_EQ(parsed.format.channels, c.format.channels);
        EXPECT_EQ(parsed.format.sample_rate, c.format.sample_rate);
        EXPECT_EQ(parsed.format.block_align, c.format.block_align);
        EXPECT_EQ(parsed.format.bits_per_sample, c.format.bits_per_sample);
        EXPECT_EQ(parsed.samples, c.samples);
    }
}

TEST(WavParser, IgnoresBytesAfterTheRiffChunk) {
    Bytes wav = pcm_wav(MONO16, some_samples(2));
    wav.insert(wav.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0x7F});
    const Parsed parsed = parse_exact(wav);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.samples, some_samples(2));
}

struct BadCase {
    const char* name;
    Bytes wav;
};

Bytes with_riff_size(Bytes wav, uint32_t size) {
    wav[4] = uint8_t(size);
    wav[5] = uint8_t(size >> 8);
    wav[6] = uint8_t(size >> 16);
    wav[7] = uint8_t(size >> 24);
    return wav;
}

std::vector<BadCase> bad_cases() {
    const Bytes good = pcm_wav(MONO16, some_samples(4));
    Bytes rifx = good;
    rifx[3] = 'X';
    Bytes avi = good;
    avi[8] = 'A';
    avi[9] = 'V';
    avi[10] = 'I';
    Bytes trailing_header = good;   // five bytes of a chunk header inside the RIFF size
    trailing_header.insert(trailing_header.end(), {'L', 'I', 'S', 'T', 0});
    trailing_header = with_riff_size(trailing_header, uint32_t(trailing_header.size() - 8));
    Bytes short_fmt = fmt_contents(MONO16);
    short_fmt.resize(14);
    return {
        {"empty", {}},
        {"riff_header_only", Bytes(good.begin(), good.begin() + 8)},
        {"not_riff", rifx},
        {"not_wave", avi},
        {"riff_size_past_the_end", with_riff_size(good, uint32_t(good.size() - 8 + 1))},
        {"riff_size_huge", with_riff_size(good, 0xFFFFFFFF)},
        {"riff_size_below_form_type", with_riff_size(good, 3)},
        {"riff_size_cuts_data", with_riff_size(good, uint32_t(good.size() - 8 - 2))},
        {"truncated_chunk_header", trailing_header},
        {"data_size_past_the_end", riff_wave({fmt_chunk(MONO16), raw_chunk("data", 10, some_samples(4))})},
        {"data_size_huge", riff_wave({fmt_chunk(MONO16), raw_chunk("data", 0xFFFFFFF8, some_samples(4))})},
        {"fmt_size_past_the_end", riff_wave({raw_chunk("fmt ", 200, fmt_contents(MONO16))})},
        {"skipped_chunk_past_the_end",
         riff_wave({fmt_chunk(MONO16), chunk("data", some_samples(2)), raw_chunk("LIST", 99, {'I', 'N', 'F', 'O'})})},
        {"odd_chunk_missing_its_pad",
         riff_wave({fmt_chunk(MONO16), raw_chunk("junk", 3, {1, 2, 3}), chunk("data", some_samples(2))})},
        {"fmt_too_short", riff_wave({chunk("fmt ", short_fmt), chunk("data", some_samples(2))})},
        {"no_fmt", riff_wave({chunk("data", some_samples(2))})},
        {"no_data", riff_wave({fmt_chunk(MONO16), info_list()})},
        {"no_chunks", riff_wave({})},
        {"two_fmt", riff_wave({fmt_chunk(MONO16), fmt_chunk(MONO16), chunk("data", some_samples(2))})},
        {"two_data", riff_wave({fmt_chunk(MONO16), chunk("data", some_samples(2)), chunk("data", some_samples(2))})},
        {"float", pcm_wav(with(pcm_format(1, 44100, 32), [](WavFormat& f) { f.format_tag = 3; }), some_samples(2))},
        {"adpcm", pcm_wav(with(MONO16, [](WavFormat& f) { f.format_tag = 2; }), some_samples(2))},
        {"extensible", pcm_wav(with(MONO16, [](WavFormat& f) { f.format_tag = 0xFFFE; }), some_samples(2))},
        {"bits_24", pcm_wav(pcm_format(1, 44100, 24), Bytes(6, 0))},
        {"bits_12", pcm_wav(with(MONO16, [](WavFormat& f) { f.bits_per_sample = 12; }), some_samples(2))},
        {"bits_0", pcm_wav(with(MONO16, [](WavFormat& f) { f.bits_per_sample = 0; }), some_samples(2))},
        {"channels_0", pcm_wav(with(MONO16, [](WavFormat& f) { f.channels = 0; }), some_samples(2))},
        {"rate_0", pcm_wav(with(MONO16, [](WavFormat& f) { f.sample_rate = 0; }), some_samples(2))},
        {"block_align_too_big", pcm_wav(with(MONO16, [](WavFormat& f) { f.block_align = 4; }), some_samples(2))},
        {"block_align_0", pcm_wav(with(MONO16, [](WavFormat& f) { f.block_align = 0; }), some_samples(2))},
        {"data_not_whole_frames", pcm_wav(MONO16, {1, 2, 3})},
    };
}

TEST(WavParser, RejectsMalformedBlocks) {
    for (const BadCase& c : bad_cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(parse_exact(c.wav).ok);
    }
}

TEST(WavParser, RejectsEveryTruncationOfTheClickLayout) {
    const Bytes whole = click_layout();
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(parse_exact(Bytes(whole.begin(), whole.begin() + long(length))).ok);
    }
}

}  // namespace
