// Tiny files whose headers declare huge pictures: each fails, or loads and
// reaches the board, within bounded memory. The peak of the heap is counted by
// this program's own malloc (heap_peak.h), so libjpeg's, libpng's and SDL's
// allocations count as well as ours; and each load runs again in a child process
// whose address space is capped, where an allocation beyond the cap must fail
// cleanly instead of ending the process.
#include <gtest/gtest.h>

#include <SDL.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/picture_input.h"
#include "tests/fuzz_regressions/heap_peak.h"
#include "tests/pictures/fixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t MEMORY_BOUND = 64 << 20;

void put_be16(Bytes& bytes, size_t at, uint32_t value) {
    bytes[at] = uint8_t(value >> 8);
    bytes[at + 1] = uint8_t(value);
}

void put_be32(Bytes& bytes, size_t at, uint32_t value) {
    put_be16(bytes, at, value >> 16);
    put_be16(bytes, at + 2, value & 0xFFFF);
}

void put_le32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> 8 * i);
}

// A small real picture whose frame header then claims width x height.
Bytes jpeg_declaring(int width, int height, bool progressive) {
    JpegOptions options;
    options.progressive = progressive;
    Bytes jpeg = encode_jpeg(photo_like(48, 32, 24), options);
    const size_t frame = jpeg_frame_offset(jpeg);
    put_be16(jpeg, frame + 1, uint32_t(height));
    put_be16(jpeg, frame + 3, uint32_t(width));
    return jpeg;
}

// A small real PNG whose header chunk then claims width x height, its checksum
// made right again so that the header itself is accepted.
Bytes png_declaring(int width, int height, bool alpha, bool interlaced) {
    PngPicture picture;
    picture.width = 16;
    picture.height = 16;
    picture.color_type = alpha ? 6 : 2;
    picture.interlaced = interlaced;
    picture.samples.assign(size_t(16 * 16 * (alpha ? 4 : 3)), 0x80);
    Bytes png = encode_png(picture);
    put_be32(png, 16, uint32_t(width));
    put_be32(png, 20, uint32_t(height));
    put_be32(png, 29, uint32_t(crc32(0, &png[12], 17)));
    return png;
}

// A small real bitmap whose header then claims width x height (negative: top-down).
Bytes bmp_declaring(int width, int height, int bits) {
    Bytes bmp = encode_bmp(photo_like(16, 16, 24), bits);
    put_le32(bmp, 18, uint32_t(width));
    put_le32(bmp, 22, uint32_t(height));
    return bmp;
}

struct HugeHeader {
    const char* name;
    std::function<Bytes()> make;
    bool as_builtin_too;   // also decoded whole, as the built-in picture is
};

void PrintTo(const HugeHeader& header, std::ostream* out) { *out << header.name; }

// The count sees blocks from operator new and from a shared library's malloc
// alike, and only while they are live.
TEST(HeapPeak, CountsEveryBlockLiveDuringTheWork) {
    if (!heap_counting_available()) GTEST_SKIP() << "the sanitizer's malloc cannot be counted";
    constexpr size_t MIB = 1 << 20;
    const size_t ours = heap_peak_during([] {
        std::vector<uint8_t> block(8 * MIB, 1);
        volatile uint8_t last = block.back();
        (void)last;
    });
    EXPECT_GE(ours, 8 * MIB);
    EXPECT_LT(ours, 9 * MIB);
    const size_t library = heap_peak_during([] { SDL_free(SDL_malloc(16 * MIB)); });
    EXPECT_GE(library, 16 * MIB);
    EXPECT_LT(library, 17 * MIB);
    const size_t in_turn = heap_peak_during([] {
        SDL_free(SDL_malloc(4 * MIB));
        SDL_free(SDL_malloc(4 * MIB));
    });
    EXPECT_LT(in_turn, 5 * MIB);
}

// The largest square within the readers' area limit: accepted, so the loader
// streams or scales while decoding and must not hold the whole picture.
constexpr int LARGEST_ACCEPTED_SIDE = 11'313;

// Headers whose load stays within the heap bound.
const std::vector<HugeHeader>& bounded_headers() {
    static const std::vector<HugeHeader> headers = {
        {"jpeg_baseline_65535", [] { return jpeg_declaring(65'535, 65'535, false); }, true},
        {"jpeg_progressive_65535", [] { return jpeg_declaring(65'535, 65'535, true); }, true},
        {"jpeg_65500_the_decoders_largest", [] { return jpeg_declaring(65'500, 65'500, false); }, true},
        {"png_rgb_65535", [] { return png_declaring(65'535, 65'535, false, false); }, true},
        {"png_rgba_interlaced_65535", [] { return png_declaring(65'535, 65'535, true, true); }, true},
        {"bmp_24bit_65535", [] { return bmp_declaring(65'535, 65'535, 24); }, true},
        {"bmp_32bit_top_down_65535", [] { return bmp_declaring(65'535, -65'535, 32); }, true},
        {"jpeg_baseline_largest_accepted",
         [] { return jpeg_declaring(LARGEST_ACCEPTED_SIDE, LARGEST_ACCEPTED_SIDE, false); }, false},
        {"jpeg_progressive_largest_accepted",
         [] { return jpeg_declaring(LARGEST_ACCEPTED_SIDE, LARGEST_ACCEPTED_SIDE, true); }, false},
        {"png_rgb_largest_accepted",
         [] { return png_declaring(LARGEST_ACCEPTED_SIDE, LARGEST_ACCEPTED_SIDE, false, false); }, false},
        {"png_rgba_largest_accepted",
         [] { return png_declaring(LARGEST_ACCEPTED_SIDE, LARGEST_ACCEPTED_SIDE, true, false); }, false},
    };
    return headers;
}

// Headers within the limit whose load holds the whole declared picture (the
// platform's bitmap reader, an interlaced PNG, the built-in picture's decoding):
// hundreds of megabytes, so under a capped address space they must fail cleanly.
const std::vector<HugeHeader>& whole_picture_headers() {
    static const std::vector<HugeHeader> headers = {
        {"bmp_24bit_largest_accepted",
         [] { return bmp_declaring(LARGEST_ACCEPTED_SIDE, LARGEST_ACCEPTED_SIDE, 24); }, false},
        {"bmp_32bit_largest_accepted",
         [] { return bmp_declaring(LARGEST_ACCEPTED_SIDE, LARGEST_ACCEPTED_SIDE, 32); }, false},
        {"png_rgba_interlaced_largest_accepted",
         [] { return png_declaring(LARGEST_ACCEPTED_SIDE, LARGEST_ACCEPTED_SIDE, true, true); }, false},
        {"jpeg_as_builtin_largest_accepted",
         [] { return jpeg_declaring(LARGEST_ACCEPTED_SIDE, LARGEST_ACCEPTED_SIDE, false); }, true},
    };
    return headers;
}

// The load of one file as the game loads the player's picture, and also as the
// built-in picture is decoded where marked; true when every picture made
// reached the board whole.
bool load(const HugeHeader& header, const Bytes& bytes) {
    bool whole = feed_as_player_file(bytes).board_whole;
    if (header.as_builtin_too) whole = feed_as_builtin(bytes).board_whole && whole;
    return whole;
}

class BoundedLoadTest : public testing::TestWithParam<HugeHeader> {};
class CappedLoadTest : public testing::TestWithParam<HugeHeader> {};

TEST_P(BoundedLoadTest, StaysWithinTheHeapBound) {
    if (!heap_counting_available()) GTEST_SKIP() << "the sanitizer's malloc cannot be counted";
    const Bytes bytes = GetParam().make();
    bool whole = false;
    const size_t peak = heap_peak_during([&] { whole = load(GetParam(), bytes); });
    EXPECT_TRUE(whole);
    EXPECT_LE(peak, MEMORY_BOUND) << "peak of the heap " << (peak >> 20) << " MiB";
    RecordProperty("heap_peak_kib", std::to_string(peak >> 10));
}

// Under the sanitizers, which cannot count the heap, the loads still run for
// them to check, and must reach the board whole or fail.
TEST_P(BoundedLoadTest, FailsOrReachesTheBoardWhole) {
    EXPECT_TRUE(load(GetParam(), GetParam().make()));
}

// Address space mapped by this process now, in bytes.
size_t mapped_bytes() {
    unsigned long pages = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    if (fscanf(statm, "%lu", &pages) != 1) pages = 0;
    fclose(statm);
    return size_t(pages) * size_t(sysconf(_SC_PAGESIZE));
}

// In a child whose address space may grow by no more than the bound, every
// allocation beyond it fails: the load must then fail or succeed cleanly, not
// end the process.
TEST_P(CappedLoadTest, FailsOrSucceedsCleanly) {
    if (!heap_counting_available()) GTEST_SKIP() << "the sanitizer reserves more address space than any cap allows";
    const Bytes bytes = GetParam().make();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit cap{mapped_bytes() + MEMORY_BOUND, RLIM_INFINITY};
        if (setrlimit(RLIMIT_AS, &cap) != 0) _exit(3);
        void* volatile beyond_the_cap = malloc(2 * MEMORY_BOUND);
        if (beyond_the_cap) _exit(4);
        _exit(load(GetParam(), bytes) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_NE(WEXITSTATUS(status), 4) << "the cap on the address space is not in force";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a picture was made but did not reach the board whole";
}

const auto header_name = [](const testing::TestParamInfo<HugeHeader>& info) { return std::string(info.param.name); };

INSTANTIATE_TEST_SUITE_P(DeclaredSizes, BoundedLoadTest, testing::ValuesIn(bounded_headers()), header_name);
INSTANTIATE_TEST_SUITE_P(DeclaredSizes, CappedLoadTest, testing::ValuesIn(bounded_headers()), header_name);
INSTANTIATE_TEST_SUITE_P(WholePicture, CappedLoadTest, testing::ValuesIn(whole_picture_headers()), header_name);

}  // namespace
