// libpng's push reader decodes: it hands over each row as soon as the data for
// it has arrived, so data that ends early simply leaves the later rows unset.
// Its errors return here through longjmp, so the function that calls setjmp
// keeps all its state in a record that outlives the jump.
#include "media/png_reader.h"

#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <vector>

#include <png.h>

#include "media/picture_limits.h"
#include "media/scaling.h"

namespace {

constexpr size_t FILE_PIECE_BYTES = 256 << 10;

struct PngDecoding {
    int target_width = 0;   // 0: keep the whole picture
    int target_height = 0;
    bool accepted = false;  // signature and every chunk before the image data read
    bool finished = false;
    int width = 0;
    int height = 0;
    std::optional<Image> image;          // the whole picture, when it is kept
    std::optional<Resampler> resampler;  // otherwise
    std::vector<uint8_t> file_piece;
};

[[noreturn]] void return_to_reader(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void stay_silent(png_structp, png_const_charp) {}

bool keeps_alpha(png_structp png, png_infop info) {
    const int color_type = png_get_color_type(png, info);
    if (color_type & PNG_COLOR_MASK_ALPHA) return true;
    if (!png_get_valid(png, info, PNG_INFO_tRNS)) return false;
    return color_type == PNG_COLOR_TYPE_PALETTE ||
           (color_type == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8);
}

// Asks libpng for 8-bit RGB or RGBA rows; answers the depth they will have.
int request_rgb(png_structp png, png_infop info) {
    const int color_type = png_get_color_type(png, info);
    const bool alpha = keeps_alpha(png, info);
    png_set_strip_16(png);
    if (color_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (color_type == PNG_COLOR_TYPE_GRAY) png_set_expand_gray_1_2_4_to_8(png);
    if (alpha && !(color_type & PNG_COLOR_MASK_ALPHA)) png_set_tRNS_to_alpha(png);
    if (!(color_type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    return alpha ? 32 : 24;
}

bool resamples_as_it_reads(const PngDecoding& d, bool interlaced) {
    return d.target_width > 0 && !interlaced && (d.width != d.target_width || d.height != d.target_height);
}

void on_header(png_structp png, png_infop info) {
    auto& d = *static_cast<PngDecoding*>(png_get_progressive_ptr(png));
    d.width = int(png_get_image_width(png, info));
    d.height = int(png_get_image_height(png, info));
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    const bool streamed = resamples_as_it_reads(d, interlaced);
    if (!picture_size_acceptable(d.width, d.height, streamed ? MAX_STREAMED_PIXELS : MAX_PICTURE_PIXELS))
        png_error(png, "picture too large");
    const int depth = request_rgb(png, info);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != depth / 8 || png_get_bit_depth(png, info) != 8)
        png_error(png, "unexpected row format");
    if (streamed)
        d.resampler = make_resampler(d.width, d.height, depth, d.target_width, d.target_height);
    else
        d.image = make_blank_image(d.width, d.height, depth);
    if (!d.resampler && !d.image) png_error(png, "out of memory");
    d.accepted = true;
}

void on_row(png_structp png, png_bytep row, png_uint_32 y, int) {
    auto& d = *static_cast<PngDecoding*>(png_get_progressive_ptr(png));
    if (!row || int(y) >= d.height) return;
    if (d.resampler) add_source_row(*d.resampler, int(y), row);
    else png_progressive_combine_row(png, &d.image->pixels[row_bytes(*d.image) * y], row);
}

void on_end(png_structp png, png_infop) {
    static_cast<PngDecoding*>(png_get_progressive_ptr(png))->finished = true;
}

void feed_file(png_structp png, png_infop info, PngDecoding& d, int fd) {
    while (!d.finished) {
        const ssize_t got = read(fd, d.file_piece.data(), d.file_piece.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        png_process_data(png, info, d.file_piece.data(), size_t(got));
    }
}

// True when a picture was made, whole or damaged.
bool decode(png_structp png, png_infop info, PngDecoding& d, const PngInput& input) {
    if (setjmp(png_jmpbuf(png))) return d.accepted;
    png_set_user_limits(png, MAX_PICTURE_SIDE, MAX_PICTURE_SIDE);
    png_set_progressive_read_fn(png, &d, on_header, on_row, on_end);
    png_process_data(png, info, const_cast<png_bytep>(input.bytes.data()), input.bytes.size());
    if (input.fd >= 0) feed_file(png, info, d, input.fd);
    return d.accepted;
}

std::optional<PngLoad> run_reader(const PngInput& input, PngDecoding& d) {
    if (!has_png_signature(input.bytes)) return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, return_to_reader, stay_silent);
    if (!png) return std::nullopt;
    png_infop info = png_create_info_struct(png);
    if (!input.verify_checksums) {
        png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
        png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    }
    if (input.fd >= 0) d.file_piece.resize(FILE_PIECE_BYTES);
    const bool made = info && decode(png, info, d, input);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!made) return std::nullopt;
    return PngLoad{d.resampler ? finish_resampling(*d.resampler) : std::move(*d.image), d.width, d.height};
}

}  // namespace

bool has_png_signature(std::span<const uint8_t> bytes) {
    return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

std::optional<Image> read_png(std::span<const uint8_t> bytes) {
    PngDecoding d;
    auto load = run_reader({bytes, -1, true}, d);
    if (!load) return std::nullopt;
    return std::move(load->image);
}

std::optional<PngLoad> read_png_for(const PngInput& input, int target_width, int target_height) {
    PngDecoding d;
    d.target_width = target_width;
    d.target_height = target_height;
    return run_reader(input, d);
}
