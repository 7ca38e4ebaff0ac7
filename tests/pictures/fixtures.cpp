#include "fixtures.h"

#include <gtest/gtest.h>

#include <jpeglib.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

Image photo_like(int width, int height, int depth, uint32_t seed) {
    auto image = *make_blank_image(width, height, depth);
    std::mt19937 noise(seed);
    const int channels = channels_of(image);
    size_t at = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int base[4] = {255 * x / width, 255 * y / height, 255 * (x + y) / (width + height), 128 + 100 * x / width};
            for (int c = 0; c < channels; ++c)
                image.pixels[at++] = uint8_t(std::clamp(base[c] + int(noise() % 41) - 20, 0, 255));
        }
    }
    return image;
}

Image solid(int width, int height, int depth, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    auto image = *make_blank_image(width, height, depth);
    const uint8_t colour[4] = {r, g, b, a};
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = colour[i % channels_of(image)];
    return image;
}

namespace {

std::vector<uint8_t> exif_block(int orientation) {
    // "Exif\0\0", big-endian TIFF header, one directory holding one entry.
    std::vector<uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8,
                                 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, uint8_t(orientation), 0, 0,
                                 0, 0, 0, 0};
    return exif;
}

struct JpegSink {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

std::vector<uint8_t> take(JpegSink& sink) {
    std::vector<uint8_t> bytes(sink.buffer, sink.buffer + sink.size);
    free(sink.buffer);
    return bytes;
}

}  // namespace

std::vector<uint8_t> encode_jpeg(const Image& image, const JpegOptions& options) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    JpegSink sink;
    jpeg_mem_dest(&info, &sink.buffer, &sink.size);
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = options.grey ? 1 : 3;
    info.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.chroma_422) info.comp_info[0].v_samp_factor = 1;
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (options.orientation) {
        const auto exif = exif_block(options.orientation);
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    }
    std::vector<uint8_t> row(size_t(image.width) * 3);
    const int channels = channels_of(image);
    while (info.next_scanline < info.image_height) {
        const uint8_t* pixel = &image.pixels[row_bytes(image) * info.next_scanline];
        for (int x = 0; x < image.width; ++x)
            for (int c = 0; c < info.input_components; ++c) row[x * info.input_components + c] = pixel[x * channels + c];
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return take(sink);
}

std::vector<uint8_t> encode_cmyk_jpeg(int width, int height, const uint8_t cmyk[4], bool inverted) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    JpegSink sink;
    jpeg_mem_dest(&info, &sink.buffer, &sink.size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, inverted ? JCS_YCCK : JCS_CMYK);
    info.write_Adobe_marker = inverted;
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * 4);
    for (size_t i = 0; i < row.size(); ++i) row[i] = inverted ? 255 - cmyk[i % 4] : cmyk[i % 4];
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return take(sink);
}

size_t jpeg_frame_offset(const std::vector<uint8_t>& jpeg) {
    for (size_t i = 2; i + 1 < jpeg.size();) {
        if (jpeg[i] != 0xFF) throw std::runtime_error("not a marker");
        const uint8_t marker = jpeg[i + 1];
        if (marker == 0xC0 || marker == 0xC2) return i + 4;
        i += 2 + (jpeg[i + 2] << 8 | jpeg[i + 3]);
    }
    throw std::runtime_error("no frame");
}

namespace {

int samples_per_pixel(int color_type) {
    switch (color_type) {
        case PNG_COLOR_TYPE_GRAY: case PNG_COLOR_TYPE_PALETTE: return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB: return 3;
        default: return 4;
    }
}

std::vector<uint8_t> packed_row(const PngPicture& p, int y) {
    const int per_row = p.width * samples_per_pixel(p.color_type);
    std::vector<uint8_t> row((size_t(per_row) * p.bit_depth + 7) / 8);
    for (int i = 0; i < per_row; ++i) {
        const uint16_t sample = p.samples[size_t(y) * per_row + i];
        if (p.bit_depth == 16) {
            row[2 * i] = uint8_t(sample >> 8);
            row[2 * i + 1] = uint8_t(sample);
        } else {
            const int bit = i * p.bit_depth;
            row[bit / 8] |= uint8_t(sample << (8 - p.bit_depth - bit % 8));
        }
    }
    return row;
}

void append_to(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

}  // namespace

std::vector<uint8_t> encode_png(const PngPicture& p) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, append_to, nullptr);
    png_set_IHDR(png, info, p.width, p.height, p.bit_depth, p.color_type,
                 p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < p.palette.size(); i += 3) palette.push_back({p.palette[i], p.palette[i + 1], p.palette[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    png_color_16 colour{0, p.transparent[0], p.transparent[1], p.transparent[2], p.transparent[0]};
    if (!p.palette_alpha.empty())
        png_set_tRNS(png, info, p.palette_alpha.data(), int(p.palette_alpha.size()), nullptr);
    else if (p.grey_or_rgb_transparent)
        png_set_tRNS(png, info, nullptr, 0, &colour);
    png_write_info(png, info);
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_bytep> pointers;
    for (int y = 0; y < p.height; ++y) rows.push_back(packed_row(p, y));
    for (auto& row : rows) pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> encode_png(const Image& image) {
    PngPicture p;
    p.width = image.width;
    p.height = image.height;
    p.color_type = image.depth == 32 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    p.samples.assign(image.pixels.begin(), image.pixels.end());
    return encode_png(p);
}

std::vector<uint8_t> encode_bmp(const Image& rgb, int bits, uint8_t fourth_byte) {
    const int bytes_per_pixel = bits / 8;
    const size_t stride = (size_t(rgb.width) * bytes_per_pixel + 3) & ~size_t(3);
    const uint32_t data_size = uint32_t(stride * rgb.height);
    std::vector<uint8_t> out(54 + data_size);
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> 8 * i); };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, uint32_t(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(rgb.width));
    put32(22, uint32_t(rgb.height));
    out[26] = 1;
    out[28] = uint8_t(bits);
    put32(34, data_size);
    for (int y = 0; y < rgb.height; ++y) {
        uint8_t* row = &out[54 + stride * (rgb.height - 1 - y)];
        for (int x = 0; x < rgb.width; ++x) {
            const uint8_t* pixel = &rgb.pixels[(size_t(y) * rgb.width + x) * channels_of(rgb)];
            uint8_t* to = row + size_t(x) * bytes_per_pixel;
            to[0] = pixel[2];
            to[1] = pixel[1];
            to[2] = pixel[0];
            if (bits == 32) to[3] = fourth_byte;
        }
    }
    return out;
}

namespace {

struct ScratchRoot {
    std::filesystem::path path;
    ScratchRoot() {
        path = std::filesystem::temp_directory_path() / ("tessaroo-pictures-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
    }
    ~ScratchRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

int folders_made = 0;

}  // namespace

std::string scratch_folder() {
    static ScratchRoot root;
    const auto folder = root.path / std::to_string(++folders_made);
    std::filesystem::create_directories(folder);
    return folder.string();
}

std::string write_file(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = scratch_folder() + "/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

// Rows [0, k) as the picture, rows [k, height) black, for some k inside.
void expect_top_rows_then_black(const Image& got, const Image& whole) {
    ASSERT_EQ(got.width, whole.width);
    ASSERT_EQ(got.height, whole.height);
    const size_t stride = row_bytes(got);
    int good = 0;
    while (good < got.height && std::equal(&got.pixels[stride * good], &got.pixels[stride * (good + 1)], &whole.pixels[stride * good]))
        ++good;
    EXPECT_GT(good, 0);
    EXPECT_LT(good, got.height);
    for (int y = good; y < got.height; ++y)
        ASSERT_TRUE(std::all_of(&got.pixels[stride * y], &got.pixels[stride * (y + 1)], [](uint8_t v) { return v == 0; }))
            << "row " << y;
}

