#!/bin/sh
# Makes every built-in asset of Tessaroo and the application icon from scratch.
#
# Needs (Debian): imagemagick libjpeg-turbo-progs python3 fonts-dejavu-core
#   apt-get install imagemagick libjpeg-turbo-progs python3 fonts-dejavu-core
#
# Writes, in media/assets/:
#   builtin.jpg  400 x 300 progressive JPEG: pebbles under water, the name, how to start
#   logo.jpg     92 x 100 baseline JPEG: the maker's monogram
#   donate.jpg   107 x 61 baseline JPEG: the donation button
#   move.wav     the move click, 16-bit PCM mono 44,100 Hz
# and in packaging/: icons/tessaroo.ico, icons/hicolor/NxN/apps/tessaroo.png.
# The output is the same on every run; commit it beside this script.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fonts=/usr/share/fonts/truetype/dejavu
sans_bold=$fonts/DejaVuSans-Bold.ttf
sans=$fonts/DejaVuSans.ttf
serif_bold=$fonts/DejaVuSerif-Bold.ttf

for tool in convert cjpeg python3; do
    command -v "$tool" >/dev/null || { echo "make-assets.sh: $tool is missing" >&2; exit 1; }
done
for font in "$sans_bold" "$sans" "$serif_bold"; do
    [ -f "$font" ] || { echo "make-assets.sh: $font is missing (fonts-dejavu-core)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ImageMagick writes plain PPM; cjpeg makes the JPEGs so that their structure
# (JFIF, 4:2:0, baseline or progressive) is exactly what we ask for.
to_jpeg() {  # to_jpeg INPUT.ppm OUTPUT.jpg QUALITY [cjpeg options...]
    input=$1 output=$2 quality=$3
    shift 3
    cjpeg -quality "$quality" -sample 2x2,1x1,1x1 -optimize "$@" -outfile "$output" "$input"
}

# The built-in picture: pebbles, the name across the top, a white panel that
# says who made it and what to do.
python3 "$here/pebbles.py" 400 300 "$work/pebbles.ppm"
convert "$work/pebbles.ppm" \
    \( -size 400x300 xc:none -font "$sans_bold" -pointsize 62 -gravity north \
       -fill 'rgba(0,0,0,0.55)' -annotate +3+22 'Tessaroo' -blur 0x3 \) -composite \
    -font "$sans_bold" -pointsize 62 -gravity north -fill white -annotate +0+18 'Tessaroo' \
    -gravity northwest \
    -fill 'rgba(0,0,0,0.35)' -draw 'roundrectangle 42,178 362,286 10,10' \
    -fill white -draw 'roundrectangle 38,174 358,282 10,10' \
    -fill black -font "$sans" -pointsize 13 \
    -annotate +56+186 'This is another freeware program by' \
    -font "$sans_bold" -annotate +56+203 'www.corvenna.example' \
    -font "$sans" -annotate +56+230 'Click anywhere on the picture to load' \
    -annotate +56+247 'your own picture and solve the puzzle!' \
    -depth 8 "$work/builtin.ppm"
to_jpeg "$work/builtin.ppm" "$here/builtin.jpg" 80 -progressive

# The logo: the monogram CV in black serif capitals inside a thin black frame.
convert -size 92x100 xc:white \
    -fill none -stroke black -strokewidth 1 -draw 'rectangle 4,4 87,95' \
    -stroke none -fill black -font "$serif_bold" -pointsize 44 -gravity center \
    -annotate +0+0 'CV' \
    -depth 8 "$work/logo.ppm"
to_jpeg "$work/logo.ppm" "$here/logo.jpg" 90

# The donate picture: a rounded yellow-orange button above four card marks.
convert -size 107x61 xc:white \
    -fill '#f2a51f' -stroke '#c47a10' -draw 'roundrectangle 6,4 100,31 12,12' \
    -stroke none -fill '#1b2a5e' -font "$sans_bold" -pointsize 14 -gravity north \
    -annotate +0+8 'Donate' \
    -gravity northwest \
    -fill '#1f4fa0' -draw 'roundrectangle 8,40 28,53 2,2' \
    -fill '#e03a2a' -draw 'roundrectangle 32,40 52,53 2,2' \
    -fill '#2a8a5a' -draw 'roundrectangle 56,40 76,53 2,2' \
    -fill '#6b6f78' -draw 'roundrectangle 80,40 100,53 2,2' \
    -depth 8 "$work/donate.ppm"
to_jpeg "$work/donate.ppm" "$here/donate.jpg" 90

# The click.
python3 "$here/click_wav.py" "$here/move.wav"

ls -l "$here/builtin.jpg" "$here/logo.jpg" "$here/donate.jpg" "$here/move.wav"
