#!/usr/bin/env python3
"""Makes the seed corpora of the fuzz targets: small valid files of every variant
the picture readers and the WAV parser take.

    fuzz/make-seeds.py OUTDIR

writes OUTDIR/picture/ and OUTDIR/wav/ (emptied first). Bitmaps, PNGs and WAVs are
written here byte by byte; JPEGs are encoded with ImageMagick's convert, and with
jpegtran (libjpeg-turbo's tools) for restart markers and arithmetic coding when it
is installed. Every picture is a smooth gradient with a little texture, so it is
small to store yet not flat.
"""

import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


# ---------------------------------------------------------------- pixels

def rgb_pixels(width, height):
    """Rows of (r, g, b): a gradient with a diagonal ripple."""
    return [[((x * 255) // max(1, width - 1),
              (y * 255) // max(1, height - 1),
              ((x + y) * 37) & 0xFF) for x in range(width)] for y in range(height)]


def grey_of(pixel):
    r, g, b = pixel
    return (r * 77 + g * 150 + b * 29) >> 8


# ---------------------------------------------------------------- BMP

def bmp_file(info, palette, pixel_data, bits_offset_extra=0):
    """A BITMAPFILEHEADER around the info header, palette and pixel bytes."""
    offset = 14 + len(info) + len(palette) + bits_offset_extra
    size = offset + len(pixel_data)
    return (b"BM" + struct.pack("<IHHI", size, 0, 0, offset) + info + palette +
            b"\0" * bits_offset_extra + pixel_data)


def info_header(width, height, bits, compression=0, image_size=0, colours=0, size=40):
    header = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression,
                         image_size, 2835, 2835, colours, 0)
    return header + b"\0" * (size - 40)


def pad4(row):
    return row + b"\0" * (-len(row) % 4)


def pack_indices(indices, bits):
    """Packs palette indices into bytes, most significant bits first."""
    per_byte = 8 // bits
    out = bytearray()
    for at in range(0, len(indices), per_byte):
        byte = 0
        for k, index in enumerate(indices[at:at + per_byte]):
            byte |= index << (8 - bits * (k + 1))
        out.append(byte)
    return bytes(out)


def palette_bmp(width, height, bits):
    colours = 1 << bits
    palette = b"".join(struct.pack("<BBBB", (i * 255) // (colours - 1), (i * 97) & 0xFF,
                                   255 - (i * 255) // (colours - 1), 0) for i in range(colours))
    rows = []
    for y in range(height):
        indices = [((x + y) * colours // (width + height)) % colours for x in range(width)]
        rows.append(pad4(pack_indices(indices, bits)))
    return bmp_file(info_header(width, height, bits, colours=colours), palette, b"".join(reversed(rows)))


def truecolour_bmp(width, height, bits, top_down=False, header_size=40):
    pixels = rgb_pixels(width, height)
    rows = []
    for row in pixels:
        if bits == 24:
            rows.append(pad4(b"".join(bytes((b, g, r)) for r, g, b in row)))
        else:
            rows.append(b"".join(bytes((b, g, r, 0xFF)) for r, g, b in row))
    data = b"".join(rows if top_down else reversed(rows))
    info = info_header(width, -height if top_down else height, bits, size=header_size)
    return bmp_file(info, b"", data)


def bitfields_bmp(width, height, bits, masks):
    """16- or 32-bit pixels laid out by colour masks (BI_BITFIELDS)."""
    def field(value, mask):
        shift = (mask & -mask).bit_length() - 1
        return ((value * (mask >> shift)) // 255) << shift
    rows = []
    for row in rgb_pixels(width, height):
        words = [field(r, masks[0]) | field(g, masks[1]) | field(b, masks[2]) for r, g, b in row]
        fmt = "<H" if bits == 16 else "<I"
        rows.append(pad4(b"".join(struct.pack(fmt, w) for w in words)))
    info = info_header(width, height, bits, compression=3)
    return bmp_file(info, struct.pack("<III", *masks), b"".join(reversed(rows)))


def os2_bmp(width, height):
    """The old 12-byte core header, 24 bits."""
    rows = [pad4(b"".join(bytes((b, g, r)) for r, g, b in row)) for row in rgb_pixels(width, height)]
    info = struct.pack("<IHHHH", 12, width, height, 1, 24)
    return bmp_file(info, b"", b"".join(reversed(rows)))


def rle8_bmp(width, height):
    """Runs, an absolute run, a delta and end-of-line / end-of-bitmap codes."""
    data = bytearray()
    for y in range(height):
        if y == 2:
            data += bytes((0, 2, 1, 1))       # delta: right 1, down 1 (skips row 2)
            data += bytes((width - 1, 3))
        elif y == 3 and width >= 4:
            data += bytes((0, 4, 1, 2, 3, 4))  # absolute run of 4, even length
            data += bytes((width - 4, 5))
        else:
            data += bytes((width, y % 16))
        data += bytes((0, 0))
    data += bytes((0, 1))
    palette = b"".join(struct.pack("<BBBB", i * 16, 255 - i * 16, i * 8, 0) for i in range(16))
    info = info_header(width, height, 8, compression=1, image_size=len(data), colours=16)
    return bmp_file(info, palette, bytes(data))


def rle4_bmp(width, height):
    data = bytearray()
    for y in range(height):
        data += bytes((width, ((y % 16) << 4) | ((y + 1) % 16)))
        data += bytes((0, 0))
    data += bytes((0, 1))
    palette = b"".join(struct.pack("<BBBB", i * 16, i * 8, 255 - i * 16, 0) for i in range(16))
    info = info_header(width, height, 4, compression=2, image_size=len(data), colours=16)
    return bmp_file(info, palette, bytes(data))


def bitmap_seeds():
    return {
        "bmp-1bit.bmp": palette_bmp(13, 7, 1),
        "bmp-4bit.bmp": palette_bmp(11, 9, 4),
        "bmp-8bit.bmp": palette_bmp(17, 6, 8),
        "bmp-24bit.bmp": truecolour_bmp(10, 7, 24),
        "bmp-24bit-top-down.bmp": truecolour_bmp(9, 5, 24, top_down=True),
        "bmp-32bit.bmp": truecolour_bmp(8, 6, 32),
        "bmp-32bit-top-down.bmp": truecolour_bmp(7, 4, 32, top_down=True),
        "bmp-24bit-v5-header.bmp": truecolour_bmp(6, 5, 24, header_size=124),
        "bmp-16bit-565.bmp": bitfields_bmp(9, 4, 16, (0xF800, 0x07E0, 0x001F)),
        "bmp-16bit-555.bmp": bitfields_bmp(9, 4, 16, (0x7C00, 0x03E0, 0x001F)),
        "bmp-32bit-bitfields.bmp": bitfields_bmp(5, 4, 32, (0x00FF0000, 0x0000FF00, 0x000000FF)),
        "bmp-os2-core-header.bmp": os2_bmp(6, 4),
        "bmp-rle8.bmp": rle8_bmp(12, 6),
        "bmp-rle4.bmp": rle4_bmp(10, 5),
        "bmp-1bit-board-size.bmp": palette_bmp(400, 300, 1),
    }


# ---------------------------------------------------------------- PNG

def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_samples(samples, bit_depth):
    if bit_depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if bit_depth == 8:
        return bytes(samples)
    return pack_indices(samples, bit_depth)


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def filtered_rows(rows, bit_depth, channels, filter_type):
    """Each packed row behind its filter byte: none (0) or Sub (1)."""
    step = max(1, channels * bit_depth // 8)
    out = bytearray()
    for row in rows:
        if filter_type == 1:
            row = bytes((row[i] - (row[i - step] if i >= step else 0)) & 0xFF for i in range(len(row)))
        out += bytes((filter_type,)) + row
    return bytes(out)


def png_file(width, height, colour_type, bit_depth, sample_rows, extra=(), interlaced=False,
             filter_type=0, idat_pieces=1):
    """sample_rows: per row, the flat list of samples (indices for a palette)."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    if interlaced:
        raw = bytearray()
        for x0, y0, dx, dy in ADAM7:
            pass_rows = [pack_samples([s for x in range(x0, width, dx)
                                       for s in sample_rows[y][x * channels:(x + 1) * channels]], bit_depth)
                         for y in range(y0, height, dy)]
            if x0 < width:
                raw += filtered_rows(pass_rows, bit_depth, channels, filter_type)
    else:
        raw = filtered_rows([pack_samples(r, bit_depth) for r in sample_rows], bit_depth, channels, filter_type)
    compressed = zlib.compress(bytes(raw), 9)
    piece = -(-len(compressed) // idat_pieces)
    idats = b"".join(png_chunk(b"IDAT", compressed[at:at + piece]) for at in range(0, len(compressed), piece))
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 1 if interlaced else 0)
    before_data = b"".join(png_chunk(kind, data) for kind, data in extra)
    return b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + before_data + idats + png_chunk(b"IEND", b"")


def scaled(value, bit_depth):
    return (value * ((1 << bit_depth) - 1)) // 255


def grey_rows(width, height, bit_depth, alpha=False):
    rows = []
    for row in rgb_pixels(width, height):
        samples = []
        for x, pixel in enumerate(row):
            samples.append(scaled(grey_of(pixel), bit_depth))
            if alpha:
                samples.append(scaled((x * 255) // max(1, width - 1), bit_depth))
        rows.append(samples)
    return rows


def colour_rows(width, height, bit_depth, alpha=False):
    rows = []
    for y, row in enumerate(rgb_pixels(width, height)):
        samples = []
        for pixel in row:
            samples += [scaled(c, bit_depth) for c in pixel]
            if alpha:
                samples.append(scaled((y * 255) // max(1, height - 1), bit_depth))
        rows.append(samples)
    return rows


def palette_png(width, height, bit_depth, transparency=False):
    colours = 1 << bit_depth
    palette = b"".join(bytes(((i * 255) // (colours - 1), (i * 53) & 0xFF, 255 - (i * 255) // (colours - 1)))
                       for i in range(colours))
    rows = [[((x + 2 * y) % colours) for x in range(width)] for y in range(height)]
    extra = [(b"PLTE", palette)]
    if transparency:
        extra.append((b"tRNS", bytes((i * 255) // (colours - 1) for i in range(min(colours, 5)))))
    return png_file(width, height, 3, bit_depth, rows, extra)


def png_seeds():
    seeds = {}
    for depth in (1, 2, 4, 8, 16):
        seeds[f"png-grey-{depth}bit.png"] = png_file(11, 7, 0, depth, grey_rows(11, 7, depth))
    for depth in (1, 2, 4, 8):
        seeds[f"png-palette-{depth}bit.png"] = palette_png(9, 6, depth)
    seeds["png-palette-trns.png"] = palette_png(9, 6, 4, transparency=True)
    seeds["png-grey-2bit-trns.png"] = png_file(8, 5, 0, 2, grey_rows(8, 5, 2),
                                               [(b"tRNS", struct.pack(">H", 1))])
    seeds["png-grey-16bit-trns.png"] = png_file(8, 5, 0, 16, grey_rows(8, 5, 16),
                                                [(b"tRNS", struct.pack(">H", 300))])
    seeds["png-grey-alpha-8bit.png"] = png_file(7, 6, 4, 8, grey_rows(7, 6, 8, alpha=True))
    seeds["png-grey-alpha-16bit.png"] = png_file(7, 6, 4, 16, grey_rows(7, 6, 16, alpha=True))
    seeds["png-rgb-8bit.png"] = png_file(10, 8, 2, 8, colour_rows(10, 8, 8), filter_type=1)
    seeds["png-rgb-16bit.png"] = png_file(6, 5, 2, 16, colour_rows(6, 5, 16))
    seeds["png-rgb-trns.png"] = png_file(6, 5, 2, 8, colour_rows(6, 5, 8),
                                         [(b"tRNS", struct.pack(">HHH", 0, 0, 0))])
    seeds["png-rgba-8bit.png"] = png_file(9, 7, 6, 8, colour_rows(9, 7, 8, alpha=True))
    seeds["png-rgba-16bit.png"] = png_file(5, 4, 6, 16, colour_rows(5, 4, 16, alpha=True))
    seeds["png-rgb-interlaced.png"] = png_file(13, 11, 2, 8, colour_rows(13, 11, 8), interlaced=True)
    seeds["png-rgba-interlaced.png"] = png_file(9, 9, 6, 8, colour_rows(9, 9, 8, alpha=True), interlaced=True)
    seeds["png-grey-1bit-interlaced.png"] = png_file(10, 10, 0, 1, grey_rows(10, 10, 1), interlaced=True)
    seeds["png-palette-interlaced-trns.png"] = png_file(
        7, 9, 3, 2, [[(x + y) % 4 for x in range(7)] for y in range(9)],
        [(b"PLTE", bytes(range(12))), (b"tRNS", b"\x00\x80")], interlaced=True)
    seeds["png-rgb-ancillary-chunks.png"] = png_file(
        6, 4, 2, 8, colour_rows(6, 4, 8),
        [(b"gAMA", struct.pack(">I", 45455)), (b"sRGB", b"\x00"), (b"tEXt", b"Comment\x00seed"),
         (b"pHYs", struct.pack(">IIB", 2835, 2835, 1))], idat_pieces=3)
    seeds["png-rgb-board-size.png"] = png_file(400, 300, 2, 8, colour_rows(400, 300, 8), filter_type=1)
    seeds["png-rgba-wide.png"] = png_file(900, 4, 6, 8, colour_rows(900, 4, 8, alpha=True), filter_type=1)
    # Large but of one colour, so a few kilobytes: rows are averaged as they arrive.
    seeds["png-rgb-large.png"] = png_file(1600, 1200, 2, 8, [[64, 128, 192] * 1600] * 1200)
    seeds["png-rgba-large.png"] = png_file(1200, 1600, 6, 8, [[192, 128, 64, 200] * 1200] * 1600)
    return seeds


# ---------------------------------------------------------------- JPEG

def ppm(width, height):
    pixels = rgb_pixels(width, height)
    return f"P6 {width} {height} 255\n".encode() + b"".join(bytes(p) for row in pixels for p in row)


def exif_segment(orientation):
    """An APP1 Exif segment holding only the orientation tag, in either byte order."""
    if orientation % 2:
        tiff = b"MM\0*" + struct.pack(">IH", 8, 1) + struct.pack(">HHIHH", 0x0112, 3, 1, orientation, 0)
        tiff += struct.pack(">I", 0)
    else:
        tiff = b"II*\0" + struct.pack("<IH", 8, 1) + struct.pack("<HHIHH", 0x0112, 3, 1, orientation, 0)
        tiff += struct.pack("<I", 0)
    body = b"Exif\0\0" + tiff
    return b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body


def with_exif(jpeg, orientation):
    return jpeg[:2] + exif_segment(orientation) + jpeg[2:]


def run(command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, **kwargs).stdout


def convert_jpeg(work, width, height, options):
    """Small pictures are encoded from our own pixels; large ones from convert's
    own gradient, which it makes far faster than Python could."""
    if width * height > 1 << 16:
        source = ["-size", f"{width}x{height}", "gradient:#204060-#f0c080"]
    else:
        path = work / f"source-{width}x{height}.ppm"
        if not path.exists():
            path.write_bytes(ppm(width, height))
        source = [str(path)]
    return run(["convert", *source, "-strip", *options, "jpeg:-"])


def dc_only_seeds(work, transcode):
    """Progressive pictures large enough to be decoded from their DC coefficients
    alone (an eighth of their size still leaves headroom over the board). Of one
    colour, and with jpegtran in two scans per component, they stay small."""
    flat = {
        "jpeg-progressive-dc-only.jpg": ["-sampling-factor", "2x2"],
        "jpeg-progressive-dc-only-grey.jpg": ["-colorspace", "Gray"],
    }
    scripts = {
        "jpeg-progressive-dc-only.jpg": "0,1,2: 0 0 0 0;\n0: 1 63 0 0;\n1: 1 63 0 0;\n2: 1 63 0 0;\n",
        "jpeg-progressive-dc-only-grey.jpg": "0: 0 0 0 0;\n0: 1 63 0 0;\n",
    }
    seeds = {}
    for name, options in flat.items():
        source = ["-size", "4800x3600", "xc:#4080c0", "-strip", *options, "-quality", "50"]
        if transcode is None:
            seeds[name] = run(["convert", *source, "-interlace", "JPEG", "jpeg:-"])
            continue
        (work / f"scans-{name}.txt").write_text(scripts[name])
        (work / f"baseline-{name}").write_bytes(run(["convert", *source, "jpeg:-"]))
        seeds[name] = run(["jpegtran", "-scans", str(work / f"scans-{name}.txt"), str(work / f"baseline-{name}")])
    return seeds


def jpeg_seeds(work):
    if shutil.which("convert") is None:
        sys.exit("make-seeds.py: ImageMagick's convert is needed for the JPEG seeds")
    q = ["-quality", "60"]
    seeds = {
        "jpeg-baseline-420.jpg": convert_jpeg(work, 37, 21, q + ["-sampling-factor", "2x2"]),
        "jpeg-baseline-444.jpg": convert_jpeg(work, 24, 16, q + ["-sampling-factor", "1x1"]),
        "jpeg-baseline-422.jpg": convert_jpeg(work, 19, 17, q + ["-sampling-factor", "2x1"]),
        "jpeg-baseline-440.jpg": convert_jpeg(work, 16, 24, q + ["-sampling-factor", "1x2"]),
        "jpeg-progressive-420.jpg": convert_jpeg(work, 33, 25, q + ["-interlace", "JPEG", "-sampling-factor", "2x2"]),
        "jpeg-progressive-444.jpg": convert_jpeg(work, 16, 16, q + ["-interlace", "JPEG", "-sampling-factor", "1x1"]),
        "jpeg-greyscale.jpg": convert_jpeg(work, 20, 12, q + ["-colorspace", "Gray"]),
        "jpeg-greyscale-progressive.jpg": convert_jpeg(work, 20, 12, q + ["-colorspace", "Gray", "-interlace", "JPEG"]),
        "jpeg-cmyk-adobe.jpg": convert_jpeg(work, 16, 8, q + ["-colorspace", "CMYK"]),
        "jpeg-cmyk-progressive.jpg": convert_jpeg(work, 16, 8, q + ["-colorspace", "CMYK", "-interlace", "JPEG"]),
        "jpeg-optimised-huffman.jpg": convert_jpeg(work, 24, 8, q + ["-define", "jpeg:optimize-coding=true"]),
        "jpeg-1x1.jpg": convert_jpeg(work, 1, 1, q),
        "jpeg-board-size.jpg": convert_jpeg(work, 400, 300, ["-quality", "20"]),
        "jpeg-scaled-half.jpg": convert_jpeg(work, 1600, 1200, ["-quality", "5", "-sampling-factor", "2x2"]),
        "jpeg-progressive-eighth.jpg": convert_jpeg(work, 3200, 2400, ["-quality", "5", "-interlace", "JPEG"]),
    }
    small = seeds["jpeg-baseline-420.jpg"]
    for orientation in (2, 3, 5, 6, 7, 8):
        seeds[f"jpeg-exif-orientation-{orientation}.jpg"] = with_exif(small, orientation)
    seeds["jpeg-exif-orientation-6-progressive.jpg"] = with_exif(seeds["jpeg-progressive-420.jpg"], 6)
    if shutil.which("jpegtran") is None:
        print("make-seeds.py: jpegtran not found; no seeds with restart markers or arithmetic coding")
        seeds.update(dc_only_seeds(work, None))
        return seeds
    def transcode(name, options):
        path = work / name
        path.write_bytes(seeds[name])
        return run(["jpegtran", *options, str(path)])
    seeds.update(dc_only_seeds(work, transcode))
    seeds["jpeg-restart-markers.jpg"] = transcode("jpeg-baseline-420.jpg", ["-restart", "1B"])
    seeds["jpeg-restart-markers-progressive.jpg"] = transcode("jpeg-progressive-420.jpg", ["-restart", "1B", "-progressive"])
    seeds["jpeg-restart-markers-cmyk.jpg"] = transcode("jpeg-cmyk-adobe.jpg", ["-restart", "1"])
    try:
        seeds["jpeg-arithmetic.jpg"] = transcode("jpeg-baseline-444.jpg", ["-arithmetic"])
        seeds["jpeg-arithmetic-progressive.jpg"] = transcode("jpeg-progressive-420.jpg", ["-arithmetic"])
    except subprocess.CalledProcessError:
        print("make-seeds.py: this jpegtran has no arithmetic coding")
    return seeds


# ---------------------------------------------------------------- WAV

def riff(chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wav_chunk(kind, data):
    return kind + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")


def fmt(channels, rate, bits, tag=1, extension=None):
    align = channels * bits // 8
    data = struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)
    if extension is not None:
        data += struct.pack("<H", len(extension)) + extension
    return wav_chunk(b"fmt ", data)


def info_list():
    entries = wav_chunk(b"INAM", b"seed\0") + wav_chunk(b"ISFT", b"make-seeds.py\0")
    return wav_chunk(b"LIST", b"INFO" + entries)


def wav_seeds():
    tone8 = bytes(128 + ((i * 11) % 50) - 25 for i in range(64))
    tone16 = b"".join(struct.pack("<h", ((i * 1500) % 12000) - 6000) for i in range(48))
    extensible = struct.pack("<HI", 16, 3) + struct.pack("<H", 1) + bytes(14)
    return {
        "wav-move-click.wav": (ROOT / "media/assets/move.wav").read_bytes(),
        "wav-8bit-stereo.wav": riff([fmt(2, 22050, 8), wav_chunk(b"data", tone8)]),
        "wav-8bit-mono-odd-data.wav": riff([fmt(1, 8000, 8), wav_chunk(b"data", tone8[:33])]),
        "wav-16bit-stereo.wav": riff([fmt(2, 44100, 16), wav_chunk(b"data", tone16)]),
        "wav-list-before-data.wav": riff([fmt(1, 11025, 16), info_list(), wav_chunk(b"data", tone16)]),
        "wav-odd-chunk-padded.wav": riff([wav_chunk(b"junk", b"abc"), fmt(1, 16000, 8),
                                          wav_chunk(b"data", tone8[:8]), info_list()]),
        "wav-data-before-fmt.wav": riff([wav_chunk(b"data", tone8[:16]), fmt(1, 8000, 8)]),
        "wav-fmt-with-extension.wav": riff([fmt(1, 48000, 16, extension=b""), wav_chunk(b"data", tone16[:20])]),
        "wav-extensible.wav": riff([fmt(2, 32000, 16, tag=0xFFFE, extension=extensible),
                                    wav_chunk(b"data", tone16[:16])]),
        "wav-trailing-bytes.wav": riff([fmt(1, 22050, 8), wav_chunk(b"data", tone8[:10])]) + b"tail",
        "wav-6-channels.wav": riff([fmt(6, 44100, 16), wav_chunk(b"data", tone16[:48])]),
    }


# ---------------------------------------------------------------- main

def write_corpus(folder, seeds):
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)
    total = sum(len(d) for d in seeds.values())
    print(f"{folder}: {len(seeds)} seeds, {total} bytes, largest {max(len(d) for d in seeds.values())}")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-seeds.py OUTDIR")
    out = Path(sys.argv[1])
    with tempfile.TemporaryDirectory() as scratch:
        pictures = {**bitmap_seeds(), **png_seeds(), **jpeg_seeds(Path(scratch))}
    write_corpus(out / "picture", pictures)
    write_corpus(out / "wav", wav_seeds())


if __name__ == "__main__":
    main()
