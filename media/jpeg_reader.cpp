// libjpeg drives the decoding. Its errors return here through longjmp, so the
// function that calls setjmp keeps all its state in a record that outlives the
// jump and holds no object whose destructor the jump would skip.
#include "media/jpeg_reader.h"

#include <algorithm>
#include <csetjmp>
#include <vector>

#include "media/exif_orientation.h"
#include "media/jpeg_dc_store.h"
#include "media/jpeg_layout.h"
#include "media/jpeg_source.h"
#include "media/picture_limits.h"
#include "media/scaling.h"

namespace {

// Bounds what libjpeg may allocate for one picture (a progressive picture keeps
// all its coefficients: about 3 bytes per pixel at 4:2:0).
constexpr long MAX_DECODER_MEMORY = 1L << 30;
// A reduced scale is used only when it leaves at least one and a half times
// the wanted size: nearer to it, each target pixel straddles few decoded
// pixels (8 x 8 block means at 1/8, approximations at 1/4 and 1/2) and the
// average drifts from that of the full picture (measured by bench/).
constexpr int HEADROOM_NUMERATOR = 3;
constexpr int HEADROOM_DENOMINATOR = 2;

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer converts back
    jmp_buf back;
};

struct Request {
    int scale_denominator = 1;  // 0: chosen from the header for the target size
    int target_width = 0;       // 0: the picture as decoded
    int target_height = 0;
    bool dc_only = false;       // only the DC scans are fed
};

struct JpegDecoding {
    jpeg_decompress_struct info;
    JpegErrors errors;
    JpegSource source;
    Request request;
    bool wants_dc_only = false;  // stopped after the header: feed only the DC scans
    bool started = false;        // the header was read and decompression began
    int orientation = 1;
    std::optional<Image> image;          // the picture as decoded
    std::optional<Resampler> resampler;  // or its rows, averaged to the target as they come
    std::vector<uint8_t> row;
    std::vector<uint8_t> cmyk_row;
    DcStore coefficients;                // when dc_only
};

void return_to_reader(j_common_ptr common) {
    longjmp(reinterpret_cast<JpegErrors*>(common->err)->back, 1);
}

void stay_silent(j_common_ptr) {}

int ceil_div(int value, int divisor) { return (value + divisor - 1) / divisor; }

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

int upright_width(const JpegDecoding& d) { return int(d.orientation >= 5 ? d.info.image_height : d.info.image_width); }
int upright_height(const JpegDecoding& d) { return int(d.orientation >= 5 ? d.info.image_width : d.info.image_height); }

std::vector<JpegSampling> upright_sampling(const JpegDecoding& d) {
    std::vector<JpegSampling> components;
    for (int c = 0; c < d.info.num_components; ++c) {
        const auto& component = d.info.comp_info[c];
        if (d.orientation >= 5) components.push_back({component.v_samp_factor, component.h_samp_factor});
        else components.push_back({component.h_samp_factor, component.v_samp_factor});
    }
    return components;
}

bool read_header(JpegDecoding& d) {
    jpeg_save_markers(&d.info, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK) return false;
    // With a target the rows are averaged as they come; only libjpeg's own
    // coefficient memory grows with the area, and MAX_DECODER_MEMORY bounds that.
    const int64_t max_pixels = d.request.target_width > 0 ? MAX_STREAMED_PIXELS : MAX_PICTURE_PIXELS;
    if (!picture_size_acceptable(d.info.image_width, d.info.image_height, max_pixels)) return false;
    if (d.info.jpeg_color_space == JCS_UNKNOWN) return false;
    d.orientation = orientation_of(d.info);
    Request& r = d.request;
    if (r.scale_denominator == 0)
        r.scale_denominator = jpeg_scale_for(upright_width(d), upright_height(d), r.target_width, r.target_height,
                                             upright_sampling(d));
    if (r.scale_denominator == 8 && d.info.progressive_mode && !r.dc_only) {
        d.wants_dc_only = true;
        return false;
    }
    d.info.out_color_space = is_four_component(d.info) ? JCS_CMYK : JCS_RGB;
    d.info.scale_num = 1;
    d.info.scale_denom = unsigned(r.scale_denominator);
    if (r.dc_only) {
        d.info.do_block_smoothing = FALSE;
        keep_only_dc_coefficients(&d.info, d.coefficients);
    }
    jpeg_calc_output_dimensions(&d.info);
    return true;
}

// Rows go straight into the area average when the picture needs no turning.
bool prepare_rows(JpegDecoding& d) {
    const int width = int(d.info.output_width), height = int(d.info.output_height);
    if (d.request.target_width > 0 && d.orientation == 1)
        d.resampler = make_resampler(width, height, 24, d.request.target_width, d.request.target_height);
    else
        d.image = make_blank_image(width, height, 24);
    d.row.resize(size_t(width) * 3);
    if (is_four_component(d.info)) d.cmyk_row.resize(size_t(width) * 4);
    return d.resampler || d.image;
}

// True when the picture was decoded to its end (or to the end of the data).
bool decode(JpegDecoding& d, const ByteSource& bytes, std::vector<ByteRange>& ranges) {
    if (setjmp(d.errors.back)) return false;
    jpeg_create_decompress(&d.info);
    d.info.mem->max_memory_to_use = MAX_DECODER_MEMORY;
    attach_jpeg_source(&d.info, d.source, bytes, std::move(ranges));
    if (!read_header(d) || !prepare_rows(d)) return false;
    d.started = true;
    if (!jpeg_start_decompress(&d.info)) return false;
    while (d.info.output_scanline < d.info.output_height) {
        const int y = int(d.info.output_scanline);
        uint8_t* row = d.image ? &d.image->pixels[row_bytes(*d.image) * y] : d.row.data();
        if (!read_one_row(d, row)) {
            if (d.image) std::fill(row, row + row_bytes(*d.image), 0);
            return true;
        }
        if (d.resampler) add_source_row(*d.resampler, y, row);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

struct Attempt {
    std::optional<Image> image;  // also after a failure, once decompression began
    bool complete = false;
    bool started = false;
    bool wants_dc_only = false;
    int scale_denominator = 1;
    int orientation = 1;
    int full_width = 0;          // as stored, before scaling and turning
    int full_height = 0;
    size_t failed_at = 0;        // where in the stream an error stopped the decoder
};

Attempt attempt_decoding(const ByteSource& bytes, std::vector<ByteRange> ranges, const Request& request) {
    JpegDecoding d{};
    d.request = request;
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = return_to_reader;
    d.errors.manager.output_message = stay_silent;
    Attempt attempt;
    attempt.complete = decode(d, bytes, ranges);
    attempt.started = d.started;
    attempt.wants_dc_only = d.wants_dc_only;
    attempt.scale_denominator = d.request.scale_denominator;
    attempt.orientation = d.orientation;
    attempt.full_width = int(d.info.image_width);
    attempt.full_height = int(d.info.image_height);
    attempt.failed_at = jpeg_source_position(d.source);
    jpeg_destroy_decompress(&d.info);
    if (d.resampler && d.started) attempt.image = finish_resampling(*d.resampler);
    else attempt.image = std::move(d.image);
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

// True for a scan of AC coefficients whose components all reach a 1/8-scale
// output through their DC coefficients only.
bool unused_at_one_eighth(const JpegSegment& scan, const JpegLayout& layout) {
    if (scan.marker != 0xDA || scan.spectral_start <= 0) return false;
    int max_h = 1, max_v = 1;
    for (const auto& c : layout.components) max_h = std::max(max_h, c.h_sampling), max_v = std::max(max_v, c.v_sampling);
    for (int id : scan.scan_components) {
        for (const auto& c : layout.components) {
            if (c.id != id) continue;
            if (c.h_sampling <= 0 || c.v_sampling <= 0) return false;
            if (max_h % (2 * c.h_sampling) == 0 && max_v % (2 * c.v_sampling) == 0) return false;
        }
    }
    return true;
}

// Every segment but the AC scans that no 1/8-scale output uses.
std::vector<ByteRange> dc_ranges(const JpegLayout& layout) {
    const size_t first_segment = layout.segments.empty() ? layout.intact_end : layout.segments.front().begin;
    std::vector<ByteRange> ranges = {{0, first_segment}};
    for (const auto& segment : layout.segments) {
        if (unused_at_one_eighth(segment, layout)) continue;
        if (ranges.back().end == segment.begin) ranges.back().end = segment.end;
        else ranges.push_back({segment.begin, segment.end});
    }
    return ranges;
}

// The part of the ranges that lies before `cut`.
std::vector<ByteRange> ranges_before(std::vector<ByteRange> ranges, size_t cut) {
    std::erase_if(ranges, [cut](const ByteRange& r) { return r.begin >= cut; });
    if (!ranges.empty()) ranges.back().end = std::min(ranges.back().end, cut);
    return ranges;
}

JpegPicture upright_picture(Attempt& attempt, const Request& request) {
    JpegPicture picture;
    const bool turned = attempt.orientation >= 5;
    picture.image = attempt.orientation == 1 ? std::move(*attempt.image)
                                             : orient_upright(*attempt.image, attempt.orientation);
    const bool resized = picture.image.width != request.target_width || picture.image.height != request.target_height;
    if (request.target_width > 0 && resized)
        picture.image = resample_picture(picture.image, request.target_width, request.target_height);
    picture.width = turned ? attempt.full_height : attempt.full_width;
    picture.height = turned ? attempt.full_width : attempt.full_height;
    return picture;
}

// Decodes the stream (only its DC scans when the header calls for that); after
// an error past the start of decompression, decodes again up to the damaged
// segment, and failing that keeps what the first attempt made.
std::optional<JpegPicture> decode_robustly(const ByteSource& bytes, Request request) {
    Attempt attempt = attempt_decoding(bytes, {{0, bytes.size}}, request);
    std::optional<JpegLayout> layout;
    if (attempt.wants_dc_only) {
        layout = find_jpeg_layout(bytes);
        request.scale_denominator = 8;
        request.dc_only = true;
        attempt = attempt_decoding(bytes, dc_ranges(*layout), request);
    }
    if (!attempt.complete && attempt.started) {
        if (!layout) layout = find_jpeg_layout(bytes);
        request.scale_denominator = attempt.scale_denominator;
        const size_t cut = start_of_damaged_segment(*layout, attempt.failed_at);
        auto ranges = request.dc_only ? dc_ranges(*layout) : std::vector<ByteRange>{{0, bytes.size}};
        Attempt second = attempt_decoding(bytes, ranges_before(ranges, cut), request);
        if (second.complete) attempt = std::move(second);
    }
    if (!attempt.started || !attempt.image) return std::nullopt;
    return upright_picture(attempt, request);
}

}  // namespace

std::optional<Image> read_jpeg(std::span<const uint8_t> bytes) {
    auto picture = read_jpeg_scaled(bytes_in_memory(bytes), 1);
    if (!picture) return std::nullopt;
    return std::move(picture->image);
}

std::optional<JpegPicture> read_jpeg_scaled(const ByteSource& bytes, int denominator) {
    return decode_robustly(bytes, {denominator, 0, 0, false});
}

int jpeg_scale_for(int width, int height, int min_width, int min_height, const std::vector<JpegSampling>& components) {
    const auto leaves_room = [](int64_t decoded, int64_t wanted) {
        return decoded * HEADROOM_DENOMINATOR >= wanted * HEADROOM_NUMERATOR;
    };
    int max_across = 1, max_down = 1;
    for (const auto& c : components) max_across = std::max(max_across, c.across), max_down = std::max(max_down, c.down);
    for (int denominator : {8, 4, 2}) {
        bool faithful = leaves_room(ceil_div(width, denominator), min_width) &&
                        leaves_room(ceil_div(height, denominator), min_height);
        for (const auto& c : components) {
            // libjpeg's own choice: a component's DCT grows from the smallest
            // while its sampling factors still divide the largest ones.
            const int smallest = 8 / denominator;
            int dct = smallest;
            while (dct < 8 && (max_across * smallest) % (c.across * dct * 2) == 0 &&
                   (max_down * smallest) % (c.down * dct * 2) == 0)
                dct *= 2;
            const int64_t across = std::min(c.across * dct, max_across * smallest);
            const int64_t down = std::min(c.down * dct, max_down * smallest);
            faithful = faithful &&
                       leaves_room(ceil_div(width, denominator) * across / (max_across * smallest), min_width) &&
                       leaves_room(ceil_div(height, denominator) * down / (max_down * smallest), min_height);
        }
        if (faithful) return denominator;
    }
    return 1;
}

std::optional<JpegPicture> read_jpeg_for(const ByteSource& bytes, int target_width, int target_height) {
    return decode_robustly(bytes, {0, target_width, target_height, false});
}
