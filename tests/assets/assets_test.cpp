// The built-in assets as carried in the executable, and the application icon:
// the parts of their layout that a decoder does not check but the game relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/assets.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes read_source_file(const std::string& relative_path) {
    std::ifstream in(std::string(TESSAROO_SOURCE_DIR) + "/" + relative_path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes bytes_of(const ByteBlock& block) {
    return Bytes(block.data, block.data + block.size);
}

uint32_t little_endian(const Bytes& bytes, size_t offset, int width) {
    uint32_t value = 0;
    for (int k = width - 1; k >= 0; --k) value = value << 8 | bytes.at(offset + k);
    return value;
}

std::string tag_at(const Bytes& bytes, size_t offset) {
    if (offset + 4 > bytes.size()) return "";
    return std::string(bytes.begin() + offset, bytes.begin() + offset + 4);
}

// ---- JPEG -------------------------------------------------------------------

// What the markers of a JPEG stream say, read segment by segment.
struct JpegMarkers {
    bool starts_with_soi = false;
    bool ends_with_eoi = false;
    bool jfif_first = false;      // APP0 "JFIF" directly after SOI
    int frame_marker = 0;         // 0xC0 baseline, 0xC2 progressive, ...
    int precision = 0;
    int width = 0;
    int height = 0;
    std::vector<int> sampling;    // per component: horizontal << 4 | vertical
    int scans = 0;
    bool well_formed = false;     // every segment inside the block, EOI reached
};

bool is_frame_marker(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Index of the next marker after the entropy-coded data that starts at `from`.
size_t end_of_entropy_data(const Bytes& jpeg, size_t from) {
    for (size_t i = from; i + 1 < jpeg.size(); ++i) {
        const int next = jpeg[i + 1];
        if (jpeg[i] == 0xFF && next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) return i;
    }
    return jpeg.size();
}

void read_frame_header(const Bytes& jpeg, size_t body, JpegMarkers& markers) {
    markers.precision = jpeg[body];
    markers.height = jpeg[body + 1] << 8 | jpeg[body + 2];
    markers.width = jpeg[body + 3] << 8 | jpeg[body + 4];
    const int components = jpeg[body + 5];
    for (int c = 0; c < components && body + 8 + 3 * c <= jpeg.size(); ++c)
        markers.sampling.push_back(jpeg[body + 7 + 3 * c]);
}

JpegMarkers read_markers(const Bytes& jpeg) {
    JpegMarkers markers;
    markers.starts_with_soi = jpeg.size() >= 2 && jpeg[0] == 0xFF && jpeg[1] == 0xD8;
    markers.ends_with_eoi = jpeg.size() >= 2 && jpeg[jpeg.size() - 2] == 0xFF && jpeg.back() == 0xD9;
    if (!markers.starts_with_soi) return markers;
    size_t i = 2;
    bool first_segment = true;
    while (i + 2 <= jpeg.size() && jpeg[i] == 0xFF) {
        const int marker = jpeg[i + 1];
        if (marker == 0xD9) {
            markers.well_formed = (i + 2 == jpeg.size());
            return markers;
        }
        if (i + 4 > jpeg.size()) return markers;
        const size_t length = jpeg[i + 2] << 8 | jpeg[i + 3];
        const size_t body = i + 4;
        if (length < 2 || i + 2 + length > jpeg.size()) return markers;
        if (first_segment)
            markers.jfif_first = marker == 0xE0 && length >= 7 && tag_at(jpeg, body) == "JFIF" && jpeg[body + 4] == 0;
        first_segment = false;
        if (is_frame_marker(marker) && length >= 8) {
            markers.frame_marker = marker;
            read_frame_header(jpeg, body, markers);
        }
        i += 2 + length;
        if (marker == 0xDA) {
            ++markers.scans;
            i = end_of_entropy_data(jpeg, i);
        }
    }
    return markers;
}

struct PictureCase {
    const char* name;
    const ByteBlock* block;
    int frame_marker;
    int width;
    int height;
    int scans;
};

// The tiles are cut at fixed positions from a 400 x 300 picture, and the
// farewell window lays out its views for the logo's and button's sizes.
TEST(BuiltinPictures, MarkersOfEachPicture) {
    const std::vector<PictureCase> cases = {
        {"BuiltinPicture", &BuiltinPicture, 0xC2, 400, 300, 10},
        {"LogoPicture", &LogoPicture, 0xC0, 92, 100, 1},
        {"DonatePicture", &DonatePicture, 0xC0, 107, 61, 1},
    };
    for (const PictureCase& expected : cases) {
        SCOPED_TRACE(expected.name);
        const JpegMarkers markers = read_markers(bytes_of(*expected.block));
        EXPECT_TRUE(markers.starts_with_soi);
        EXPECT_TRUE(markers.ends_with_eoi);
        EXPECT_TRUE(markers.well_formed);
        EXPECT_TRUE(markers.jfif_first);
        EXPECT_EQ(markers.frame_marker, expected.frame_marker);
        EXPECT_EQ(markers.precision, 8);
        EXPECT_EQ(markers.width, expected.width);
        EXPECT_EQ(markers.height, expected.height);
        // YCbCr with the chroma halved both ways: luma 2 x 2, chroma 1 x 1.
        EXPECT_EQ(markers.sampling, (std::vector<int>{0x22, 0x11, 0x11}));
        EXPECT_EQ(markers.scans, expected.scans);
    }
}

// The marker reader itself: a truncated stream or one cut short inside a
// segment must not pass as well formed.
TEST(BuiltinPictures, MarkerReaderRejectsDamagedStreams) {
    const Bytes whole = bytes_of(LogoPicture);
    ASSERT_TRUE(read_markers(whole).well_formed);

    const Bytes truncated(whole.begin(), whole.begin() + whole.size() / 2);
    EXPECT_FALSE(read_markers(truncated).well_formed);

    const Bytes inside_a_segment(whole.begin(), whole.begin() + 30);
    EXPECT_FALSE(read_markers(inside_a_segment).well_formed);

    EXPECT_FALSE(read_markers(bytes_of(MoveSound)).starts_with_soi);
}

// ---- Embedding ----------------------------------------------------------------

// Each block is its file byte for byte: nothing dropped, added or reordered by
// the build step, and not a stale copy of an older file.
TEST(EmbeddedAssets, EachBlockIsItsFileByteForByte) {
    const std::vector<std::pair<const ByteBlock*, const char*>> cases = {
        {&BuiltinPicture, "media/assets/builtin.jpg"},
        {&LogoPicture, "media/assets/logo.jpg"},
        {&DonatePicture, "media/assets/donate.jpg"},
        {&MoveSound, "media/assets/move.wav"},
    };
    for (const auto& [block, path] : cases) {
        SCOPED_TRACE(path);
        const Bytes file = read_source_file(path);
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(bytes_of(*block), file);
    }
}

// ---- WAV --------------------------------------------------------------------

struct Field {
    size_t offset;
    int width;          // bytes of a little-endian integer; 0 for a four-character tag
    uint32_t value;
    const char* tag;
};

TEST(MoveSoundBlock, EveryHeaderFieldAtItsOffset) {
    const Bytes wav = bytes_of(MoveSound);
    ASSERT_EQ(wav.size(), 2740u);
    const std::vector<Field> fields = {
        {0, 0, 0, "RIFF"},   {4, 4, 2732, nullptr},  {8, 0, 0, "WAVE"},
        {12, 0, 0, "fmt "},  {16, 4, 16, nullptr},   {20, 2, 1, nullptr},
        {22, 2, 1, nullptr}, {24, 4, 44100, nullptr}, {28, 4, 88200, nullptr},
        {32, 2, 2, nullptr}, {34, 2, 16, nullptr},   {36, 0, 0, "data"},
        {40, 4, 2624, nullptr},
        {2668, 0, 0, "LIST"}, {2672, 4, 64, nullptr}, {2676, 0, 0, "INFO"},
    };
    for (const Field& field : fields) {
        SCOPED_TRACE("offset " + std::to_string(field.offset));
        if (field.tag)
            EXPECT_EQ(tag_at(wav, field.offset), field.tag);
        else
            EXPECT_EQ(little_endian(wav, field.offset, field.width), field.value);
    }
}

// The INFO list holds exactly three text entries, each padded to an even size,
// that fill the LIST chunk to the last byte of the block.
TEST(MoveSoundBlock, InfoListHoldsThreeTextEntries) {
    const Bytes wav = bytes_of(MoveSound);
    ASSERT_EQ(wav.size(), 2740u);
    std::vector<std::string> tags;
    size_t at = 2680;
    while (at + 8 <= wav.size()) {
        const std::string tag = tag_at(wav, at);
        const uint32_t size = little_endian(wav, at + 4, 4);
        ASSERT_LE(at + 8 + size, wav.size()) << tag;
        ASSERT_GE(size, 1u) << tag;
        EXPECT_EQ(wav[at + 8 + size - 1], 0) << tag << " text is not NUL-terminated";
        tags.push_back(tag);
        at += 8 + size + size % 2;
    }
    EXPECT_EQ(at, wav.size());
    EXPECT_EQ(tags, (std::vector<std::string>{"ISFT", "IENG", "ICRD"}));
}

// A click that is loud for its whole length: every stretch of about 7 ms
// swings to roughly three quarters of full scale, and nothing clips.
TEST(MoveSoundBlock, ClickStaysNearThreeQuartersOfFullScale) {
    const Bytes wav = bytes_of(MoveSound);
    ASSERT_EQ(wav.size(), 2740u);
    constexpr size_t first = 44, frames = 1312, stretch = 328;
    for (size_t start = 0; start < frames; start += stretch) {
        int peak = 0;
        for (size_t n = start; n < start + stretch; ++n) {
            const auto sample = static_cast<int16_t>(little_endian(wav, first + 2 * n, 2));
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        SCOPED_TRACE("frames from " + std::to_string(start));
        EXPECT_GE(peak, 19000);
        EXPECT_LE(peak, 27000);
    }
}

// ---- Icon -------------------------------------------------------------------

// The standard 16-colour palette as the icon stores it: blue, green, red, 0.
const uint32_t standard_palette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// Colour index of the pixel at (x, y), y counted from the top; rows are stored bottom-up.
int icon_pixel(const Bytes& ico, int x, int y) {
    constexpr size_t colour_bits = 22 + 40 + 64;
    const uint8_t pair = ico.at(colour_bits + (31 - y) * 16 + x / 2);
    return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

TEST(ApplicationIcon, OneOpaque16ColourImage) {
    const Bytes ico = read_source_file("packaging/icons/tessaroo.ico");
    ASSERT_EQ(ico.size(), 22u + 744u);
    const std::vector<Field> fields = {
        // ICONDIR and its one entry
        {0, 2, 0, nullptr}, {2, 2, 1, nullptr}, {4, 2, 1, nullptr},
        {6, 1, 32, nullptr}, {7, 1, 32, nullptr}, {8, 1, 16, nullptr}, {9, 1, 0, nullptr},
        {10, 2, 1, nullptr}, {12, 2, 4, nullptr}, {14, 4, 744, nullptr}, {18, 4, 22, nullptr},
        // BITMAPINFOHEADER: the height counts the colour and mask halves together
        {22, 4, 40, nullptr}, {26, 4, 32, nullptr}, {30, 4, 64, nullptr},
        {34, 2, 1, nullptr}, {36, 2, 4, nullptr}, {38, 4, 0, nullptr},
    };
    for (const Field& field : fields) {
        SCOPED_TRACE("offset " + std::to_string(field.offset));
        EXPECT_EQ(little_endian(ico, field.offset, field.width), field.value);
    }
    for (int k = 0; k < 16; ++k) {
        const uint32_t red_green_blue = ico[62 + 4 * k + 2] << 16 | ico[62 + 4 * k + 1] << 8 | ico[62 + 4 * k];
        EXPECT_EQ(red_green_blue, standard_palette[k]) << "palette entry " << k;
    }
    const auto mask = ico.begin() + 22 + 40 + 64 + 512;
    EXPECT_TRUE(std::all_of(mask, ico.end(), [](uint8_t b) { return b == 0; })) << "mask must be clear";
}

// A board of yellow, red, green and light grey squares with the last one black.
TEST(ApplicationIcon, BoardColoursWithTheLastSquareBlack) {
    const Bytes ico = read_source_file("packaging/icons/tessaroo.ico");
    ASSERT_EQ(ico.size(), 22u + 744u);
    constexpr int black = 0, light_grey = 7, red = 9, green = 10, yellow = 11;
    std::vector<int> used;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) used.push_back(icon_pixel(ico, x, y));
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    EXPECT_EQ(used, (std::vector<int>{black, light_grey, red, green, yellow}));
    for (int y = 24; y < 32; ++y)
        for (int x = 24; x < 32; ++x) EXPECT_EQ(icon_pixel(ico, x, y), black) << x << "," << y;
    EXPECT_NE(icon_pixel(ico, 4, 4), black) << "the first square must be coloured";
}

}  // namespace
