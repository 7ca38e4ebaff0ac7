// libjpeg drives the decoding. Its errors return here through longjmp, so the
// function that calls setjmp keeps all its state in a record that outlives the
// jump and holds no object whose destructor the jump would skip.
#include "media/jpeg_reader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "media/exif_orientation.h"
#include "media/jpeg_layout.h"
#include "media/picture_limits.h"

namespace {

// Bounds what libjpeg may allocate for one picture (a progressive picture keeps
// all its coefficients: about 3 bytes per pixel at 4:2:0).
constexpr long MAX_DECODER_MEMORY = 1L << 30;

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer converts back
    jmp_buf back;
};

// A data source that hands the decoder a list of pieces of the stream in turn,
// notes when they ran out before the decoder was done, then ends the stream
// with an end-of-image marker.
struct JpegSource {
    jpeg_source_mgr manager;  // first, so libjpeg's pointer converts back
    const std::span<const uint8_t>* pieces;
    size_t piece_count;
    size_t next_piece;
    bool ran_out;
};

struct JpegDecoding {
    jpeg_decompress_struct info;
    JpegErrors errors;
    JpegSource source;
    std::vector<std::span<const uint8_t>> pieces;
    int scale_denominator = 1;
    bool header_read = false;
    bool started = false;
    int orientation = 1;
    std::optional<Image> image;
    std::vector<uint8_t> cmyk_row;
};

void return_to_reader(j_common_ptr common) {
    longjmp(reinterpret_cast<JpegErrors*>(common->err)->back, 1);
}

void stay_silent(j_common_ptr) {}

void start_source(j_decompress_ptr) {}

boolean feed_next_piece(j_decompress_ptr info) {
    static const JOCTET END_OF_IMAGE[2] = {0xFF, JPEG_EOI};
    auto* source = reinterpret_cast<JpegSource*>(info->src);
    while (source->next_piece < source->piece_count) {
        const auto piece = source->pieces[source->next_piece++];
        if (piece.empty()) continue;
        source->manager.next_input_byte = piece.data();
        source->manager.bytes_in_buffer = piece.size();
        return TRUE;
    }
    source->ran_out = true;
    source->manager.next_input_byte = END_OF_IMAGE;
    source->manager.bytes_in_buffer = 2;
    return TRUE;
}

void skip_input(j_decompress_ptr info, long count) {
    auto* source = reinterpret_cast<JpegSource*>(info->src);
    while (count > 0 && !source->ran_out) {
        if (size_t(count) <= source->manager.bytes_in_buffer) {
            source->manager.next_input_byte += count;
            source->manager.bytes_in_buffer -= size_t(count);
            return;
        }
        count -= long(source->manager.bytes_in_buffer);
        feed_next_piece(info);
    }
}

void stop_source(j_decompress_ptr) {}

void attach_source(JpegDecoding& d) {
    d.source.manager.init_source = start_source;
    d.source.manager.fill_input_buffer = feed_next_piece;
    d.source.manager.skip_input_data = skip_input;
    d.source.manager.resync_to_restart = jpeg_resync_to_restart;
    d.source.manager.term_source = stop_source;
    d.source.manager.bytes_in_buffer = 0;
    d.source.pieces = d.pieces.data();
    d.source.piece_count = d.pieces.size();
    d.source.next_piece = 0;
    d.source.ran_out = false;
    d.info.src = &d.source.manager;
}

int orientation_of(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker != JPEG_APP0 + 1) continue;
        const int orientation = exif_orientation({marker->data, marker->data_length});
        if (orientation != 1) return orientation;
    }
    return 1;
}

bool is_four_component(const jpeg_decompress_struct& info) {
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// Four-component pictures are delivered as CMYK and converted here. Files that
// carry an Adobe marker store the inks inverted (0 is full ink).
void cmyk_to_rgb(const uint8_t* cmyk, uint8_t* rgb, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const int ink = inverted ? cmyk[c] : 255 - cmyk[c];
            rgb[c] = uint8_t((ink * k + 127) / 255);
        }
    }
}

// Reads one row into `row`; false when the data ran out while decoding it.
bool read_one_row(JpegDecoding& d, uint8_t* row) {
    const bool had_run_out = d.source.ran_out;
    JSAMPROW target = is_four_component(d.info) ? d.cmyk_row.data() : row;
    jpeg_read_scanlines(&d.info, &target, 1);
    if (!had_run_out && d.source.ran_out) return false;
    if (is_four_component(d.info))
        cmyk_to_rgb(d.cmyk_row.data(), row, int(d.info.output_width), d.info.saw_Adobe_marker);
    return true;
}

bool read_header(JpegDecoding& d) {
    jpeg_create_decompress(&d.info);
    d.info.mem->max_memory_to_use = MAX_DECODER_MEMORY;
    attach_source(d);
    jpeg_save_markers(&d.info, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK) return false;
    if (!picture_size_acceptable(d.info.image_width, d.info.image_height)) return false;
    if (d.info.jpeg_color_space == JCS_UNKNOWN) return false;
    d.orientation = orientation_of(d.info);
    d.info.out_color_space = is_four_component(d.info) ? JCS_CMYK : JCS_RGB;
    d.info.scale_num = 1;
    d.info.scale_denom = unsigned(d.scale_denominator);
    jpeg_calc_output_dimensions(&d.info);
    d.image = make_blank_image(int(d.info.output_width), int(d.info.output_height), 24);
    if (!d.image) return false;
    if (is_four_component(d.info)) d.cmyk_row.resize(size_t(d.info.output_width) * 4);
    d.header_read = true;
    return true;
}

// True when an image was decoded to its end (or to the end of the data).
bool decode(JpegDecoding& d) {
    if (setjmp(d.errors.back)) return false;
    if (!read_header(d)) return false;
    d.started = true;
    if (!jpeg_start_decompress(&d.info)) return false;
    const size_t stride = row_bytes(*d.image);
    while (d.info.output_scanline < d.info.output_height) {
        uint8_t* row = &d.image->pixels[stride * d.info.output_scanline];
        if (!read_one_row(d, row)) {
            std::fill(row, row + stride, 0);
            return true;
        }
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

struct Attempt {
    std::optional<Image> image;  // also after a failure, once the header was read
    bool complete = false;
    bool started = false;
    int orientation = 1;
    int full_width = 0;          // as stored, before scaling and turning
    int full_height = 0;
    size_t failed_at = 0;        // offset in the stream where an error stopped it
};

Attempt attempt_decoding(std::span<const uint8_t> bytes, std::vector<std::span<const uint8_t>> pieces,
                         int scale_denominator) {
    JpegDecoding d{};
    d.pieces = std::move(pieces);
    d.scale_denominator = scale_denominator;
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = return_to_reader;
    d.errors.manager.output_message = stay_silent;
    Attempt attempt;
    attempt.complete = decode(d);
    attempt.started = d.started;
    attempt.orientation = d.orientation;
    attempt.full_width = int(d.info.image_width);
    attempt.full_height = int(d.info.image_height);
    const JOCTET* position = d.source.manager.next_input_byte;
    attempt.failed_at = position >= bytes.data() && position <= bytes.data() + bytes.size()
                            ? size_t(position - bytes.data()) : bytes.size();
    jpeg_destroy_decompress(&d.info);
    attempt.image = std::move(d.image);
    return attempt;
}

// The stream up to the start of the segment in which an error was met, so that
// a second attempt ends cleanly before the damage.
size_t start_of_damaged_segment(const JpegLayout& layout, size_t failed_at) {
    size_t cut = 0;
    for (const auto& segment : layout.segments)
        if (segment.begin < failed_at) cut = segment.begin;
    return cut;
}

// Every segment but the scans of AC coefficients, which no 1/8-scale output uses.
std::vector<std::span<const uint8_t>> dc_pieces(std::span<const uint8_t> bytes, const JpegLayout& layout) {
    const size_t first_segment = layout.segments.empty() ? layout.intact_end : layout.segments.front().begin;
    std::vector<std::span<const uint8_t>> pieces = {bytes.first(first_segment)};
    for (const auto& segment : layout.segments) {
        if (segment.marker == 0xDA && segment.spectral_start > 0) continue;
        auto& last = pieces.back();
        if (last.data() + last.size() == bytes.data() + segment.begin)
            last = {last.data(), last.size() + (segment.end - segment.begin)};
        else
            pieces.push_back(bytes.subspan(segment.begin, segment.end - segment.begin));
    }
    return pieces;
}

// Decodes the whole stream; after an error past the start of decompression,
// decodes again up to the damaged segment, and failing that gives the black
// picture that was made for it.
std::optional<JpegPicture> decode_robustly(std::span<const uint8_t> bytes, int scale_denominator,
                                           bool skip_ac_scans) {
    const JpegLayout layout = find_jpeg_layout(bytes);
    auto pieces = skip_ac_scans ? dc_pieces(bytes, layout)
                                : std::vector<std::span<const uint8_t>>{bytes.first(layout.intact_end)};
    Attempt attempt = attempt_decoding(bytes, pieces, scale_denominator);
    if (!attempt.complete && attempt.started) {
        const size_t cut = start_of_damaged_segment(layout, attempt.failed_at);
        Attempt second = attempt_decoding(bytes, {bytes.first(cut)}, scale_denominator);
        if (second.complete) attempt = std::move(second);
    }
    if (!attempt.started || !attempt.image) return std::nullopt;
    JpegPicture picture;
    const bool turned = attempt.orientation >= 5;
    picture.image = attempt.orientation == 1 ? std::move(*attempt.image) : orient_upright(*attempt.image, attempt.orientation);
    picture.width = turned ? attempt.full_height : attempt.full_width;
    picture.height = turned ? attempt.full_width : attempt.full_height;
    return picture;
}

}  // namespace

std::optional<Image> read_jpeg(std::span<const uint8_t> bytes) {
    auto picture = decode_robustly(bytes, 1, false);
    if (!picture) return std::nullopt;
    return std::move(picture->image);
}

std::optional<JpegPicture> read_jpeg_for(std::span<const uint8_t> bytes, int min_width, int min_height) {
    (void)min_width;
    (void)min_height;
    return decode_robustly(bytes, 1, false);
}
