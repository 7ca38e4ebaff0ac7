#include "bench/bench_inputs.h"

#include <jpeglib.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

struct Recipe {
    const char* name;
    const char* file;
    int width, height;
    char kind;  // 'b' baseline JPEG, 'p' progressive JPEG, 'r' RGB PNG, 'a' RGBA PNG, 'm' bitmap
};

const Recipe RECIPES[] = {
    {"JPEG 24 MP baseline", "photo24-baseline.jpg", 6000, 4000, 'b'},
    {"JPEG 24 MP progressive", "photo24-progressive.jpg", 6000, 4000, 'p'},
    {"JPEG 1600x1200", "photo2.jpg", 1600, 1200, 'b'},
    {"JPEG 96 MP baseline", "photo96-baseline.jpg", 12000, 8000, 'b'},
    {"PNG 24 MP RGB", "photo24-rgb.png", 6000, 4000, 'r'},
    {"PNG 24 MP RGBA", "photo24-rgba.png", 6000, 4000, 'a'},
    {"BMP 24 MP", "photo24.bmp", 6000, 4000, 'm'},
    {"JPEG 3300x2500 baseline", "photo8-baseline.jpg", 3300, 2500, 'b'},
    {"JPEG 3300x2500 progr.", "photo8-progressive.jpg", 3300, 2500, 'p'},
    {"JPEG 1700x1300 baseline", "photo2b.jpg", 1700, 1300, 'b'},
    {"JPEG 4800x3600 baseline", "photo17-baseline.jpg", 4800, 3600, 'b'},
};
// The last four serve the fidelity check only.
constexpr size_t TIMED_INPUTS = 7;

// One row of a photo-like picture: smooth gradients, a soft texture, and noise.
void photo_row(int y, int width, int height, int channels, uint32_t& noise, std::vector<uint8_t>& row) {
    const double fy = double(y) / height;
    for (int x = 0; x < width; ++x) {
        const double fx = double(x) / width;
        const double texture = 30 * std::sin(fx * 40 + 7 * std::sin(fy * 9)) * std::cos(fy * 31);
        const double base[4] = {60 + 150 * fx + texture, 40 + 160 * fy - texture / 2, 200 - 120 * fx * fy + texture / 3,
                                255 - 100 * fx};
        for (int c = 0; c < channels; ++c) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const double value = base[c] + int(noise % 25) - 12;
            row[size_t(x) * channels + c] = uint8_t(value < 0 ? 0 : value > 255 ? 255 : value);
        }
    }
}

void write_jpeg(const Recipe& recipe, const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = recipe.width;
    info.image_height = recipe.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (recipe.kind == 'p') jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(recipe.width) * 3);
    uint32_t noise = 12345;
    while (info.next_scanline < info.image_height) {
        photo_row(int(info.next_scanline), recipe.width, recipe.height, 3, noise, row);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

void write_png(const Recipe& recipe, const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, out);
    const int channels = recipe.kind == 'a' ? 4 : 3;
    png_set_IHDR(png, info, recipe.width, recipe.height, 8, channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(size_t(recipe.width) * channels);
    uint32_t noise = 12345;
    for (int y = 0; y < recipe.height; ++y) {
        photo_row(y, recipe.width, recipe.height, channels, noise, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> 8 * i);
}

void write_bmp(const Recipe& recipe, const std::string& path) {
    const size_t stride = (size_t(recipe.width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> header(54);
    header[0] = 'B', header[1] = 'M';
    put32(header, 2, uint32_t(54 + stride * recipe.height));
    put32(header, 10, 54);
    put32(header, 14, 40);
    put32(header, 18, uint32_t(recipe.width));
    put32(header, 22, uint32_t(recipe.height));
    header[26] = 1, header[28] = 24;
    put32(header, 34, uint32_t(stride * recipe.height));
    std::vector<std::vector<uint8_t>> rows(recipe.height, std::vector<uint8_t>(stride));
    std::vector<uint8_t> rgb(size_t(recipe.width) * 3);
    uint32_t noise = 12345;
    for (int y = 0; y < recipe.height; ++y) {
        photo_row(y, recipe.width, recipe.height, 3, noise, rgb);
        for (int x = 0; x < recipe.width; ++x)
            for (int c = 0; c < 3; ++c) rows[y][size_t(x) * 3 + c] = rgb[size_t(x) * 3 + 2 - c];
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(header.data(), 1, header.size(), out);
    for (int y = recipe.height - 1; y >= 0; --y) std::fwrite(rows[y].data(), 1, stride, out);
    std::fclose(out);
}

}  // namespace

std::vector<BenchInput> bench_inputs(const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::vector<BenchInput> inputs;
    for (const Recipe& recipe : RECIPES) {
        const std::string path = folder + "/" + recipe.file;
        if (!std::filesystem::exists(path)) {
            std::fprintf(stderr, "making %s\n", path.c_str());
            const std::string partial = path + ".part";
            if (recipe.kind == 'b' || recipe.kind == 'p') write_jpeg(recipe, partial);
            else if (recipe.kind == 'm') write_bmp(recipe, partial);
            else write_png(recipe, partial);
            std::filesystem::rename(partial, path);
        }
        inputs.push_back({recipe.name, path, size_t(&recipe - RECIPES) < TIMED_INPUTS});
    }
    return inputs;
}
