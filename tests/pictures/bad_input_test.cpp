// Files the player might choose that are no picture, or hostile ones: each
// fails at once and cleanly, or loads what can be read.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <functional>

#include "fixtures.h"
#include "media/picture_limits.h"
#include "media/pictures.h"
#include "rules/board.h"

namespace {

std::vector<uint8_t> text(const std::string& s) { return {s.begin(), s.end()}; }

void put_be32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(v >> (24 - 8 * i));
}

std::vector<uint8_t> jpeg_declaring(int width, int height) {
    auto jpeg = encode_jpeg(photo_like(16, 16, 24));
    const size_t frame = jpeg_frame_offset(jpeg);
    jpeg[frame + 1] = uint8_t(height >> 8), jpeg[frame + 2] = uint8_t(height);
    jpeg[frame + 3] = uint8_t(width >> 8), jpeg[frame + 4] = uint8_t(width);
    return jpeg;
}

std::vector<uint8_t> twelve_bit_jpeg() {
    auto jpeg = encode_jpeg(photo_like(16, 16, 24));
    jpeg[jpeg_frame_offset(jpeg)] = 12;
    return jpeg;
}

// The header chunk follows the signature; its checksum is made right again so
// that only the declared size is wrong.
std::vector<uint8_t> png_declaring(uint32_t width, uint32_t height) {
    auto png = encode_png(photo_like(16, 16, 24));
    put_be32(png, 16, width);
    put_be32(png, 20, height);
    put_be32(png, 29, uint32_t(crc32(0, &png[12], 17)));
    return png;
}

std::vector<uint8_t> bmp_declaring(int32_t width, int32_t height) {
    auto bmp = encode_bmp(photo_like(16, 16, 24));
    for (int i = 0; i < 4; ++i) bmp[18 + i] = uint8_t(width >> 8 * i), bmp[22 + i] = uint8_t(height >> 8 * i);
    return bmp;
}

std::string fifo() {
    const std::string path = scratch_folder() + "/pipe.png";
    mkfifo(path.c_str(), 0600);
    return path;
}

std::string sparse_file_over_limit() {
    const std::string path = write_file("huge.jpg", encode_jpeg(photo_like(16, 16, 24)));
    EXPECT_EQ(truncate(path.c_str(), MAX_PICTURE_FILE_BYTES + 1), 0);
    return path;
}

TEST(BadInput, FailsCleanlyOrLoadsWhatCanBeRead) {
    const auto png = encode_png(photo_like(32, 32, 24));
    const auto jpeg = encode_jpeg(photo_like(32, 32, 24));
    const struct {
        const char* name;
        std::function<std::string()> path;
        bool loads;
    } cases[] = {
        {"missing file", [] { return scratch_folder() + "/none.jpg"; }, false},
        {"empty file", [] { return write_file("empty.png", {}); }, false},
        {"directory", [] { return scratch_folder(); }, false},
        {"FIFO without writer", fifo, false},
        {"device", [] { return std::string("/dev/zero"); }, false},
        {"file over the size limit", sparse_file_over_limit, false},
        {"text named .png", [] { return write_file("notes.png", text("just some words\n")); }, false},
        {"PNG named .jpg", [&] { return write_file("really.jpg", png); }, true},
        {"JPEG named .bmp", [&] { return write_file("really.bmp", jpeg); }, true},
        {"signature then garbage", [] { return write_file("x.png", text("\x89PNG\r\n\x1a\ngarbage garbage")); }, false},
        {"garbage after FF D8", [] { return write_file("x.jpg", text("\xFF\xD8 this is not a picture at all")); }, false},
        {"bitmap header only", [] { return write_file("x.bmp", text("BM")); }, false},
        {"12-bit JPEG", [] { return write_file("deep.jpg", twelve_bit_jpeg()); }, false},
        {"JPEG declaring 65000 x 65000", [] { return write_file("big.jpg", jpeg_declaring(65000, 65000)); }, false},
        {"PNG declaring 60000 x 60000", [] { return write_file("big.png", png_declaring(60000, 60000)); }, false},
        {"PNG declaring 20000 x 20000", [] { return write_file("big.png", png_declaring(20000, 20000)); }, false},
        {"PNG declaring 12000 x 12000, averaged while read", [] { return write_file("big.png", png_declaring(12000, 12000)); }, true},
        {"PNG declaring 2^31 - 1 wide", [] { return write_file("wide.png", png_declaring(0x7FFFFFFF, 1)); }, false},
        {"bitmap declaring 60000 x 60000", [] { return write_file("big.bmp", bmp_declaring(60000, 60000)); }, false},
        {"bitmap declaring a negative width", [] { return write_file("neg.bmp", bmp_declaring(-16, 16)); }, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(load_picture_file(c.path()), c.loads) << c.name;
    }
}

// A file cut short loads; the working picture's top matches the whole file's,
// and the part that no data reached is black.
TEST(BadInput, TruncatedFilesLoadWithBlackRowsAtTheBottom) {
    const Image picture = photo_like(1600, 1200, 24);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"baseline JPEG", encode_jpeg(picture)},
        {"PNG", encode_png(picture)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(load_picture_file(write_file("whole", c.bytes)));
        scale_working_picture();
        const auto whole = image_at(WORKING_PICTURE);
        const std::vector<uint8_t> cut(c.bytes.begin(), c.bytes.begin() + c.bytes.size() / 2);
        ASSERT_TRUE(load_picture_file(write_file("cut", cut)));
        scale_working_picture();
        const auto loaded = image_at(WORKING_PICTURE);
        const size_t stride = row_bytes(*loaded);
        EXPECT_TRUE(std::equal(&loaded->pixels[0], &loaded->pixels[stride * 50], &whole->pixels[0]));
        EXPECT_TRUE(std::all_of(&loaded->pixels[stride * 250], &loaded->pixels[stride * 300], [](uint8_t v) { return v == 0; }));
    }
}

}  // namespace
