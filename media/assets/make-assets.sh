#!/bin/sh
# Makes every built-in asset of Tessaroo and the application icon from scratch.
#
# Needs (Debian): imagemagick libjpeg-turbo-progs python3 fonts-dejavu-core fonts-dejavu-extra
#   apt-get install imagemagick libjpeg-turbo-progs python3 fonts-dejavu-core fonts-dejavu-extra
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
sans_bold_oblique=$fonts/DejaVuSans-BoldOblique.ttf

for tool in convert cjpeg python3; do
    command -v "$tool" >/dev/null || { echo "make-assets.sh: $tool is missing" >&2; exit 1; }
done
for font in "$sans_bold" "$sans" "$serif_bold" "$sans_bold_oblique"; do
    [ -f "$font" ] || { echo "make-assets.sh: $font is missing (fonts-dejavu-core, fonts-dejavu-extra)" >&2; exit 1; }
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
# The text lines keep clear of rows 198-199, which the tiles leave out.
python3 "$here/pebbles.py" 400 300 "$work/pebbles.ppm"
convert "$work/pebbles.ppm" \
    \( -size 400x300 xc:none -font "$sans_bold" -pointsize 62 -gravity north \
       -fill 'rgba(0,0,0,0.6)' -annotate +3+21 'Tessaroo' -blur 0x3 \) -composite \
    -font "$sans_bold" -pointsize 62 -gravity north -fill white -annotate +0+17 'Tessaroo' \
    -gravity northwest \
    \( -size 400x300 xc:none -fill 'rgba(0,0,0,0.45)' \
       -draw 'roundrectangle 43,177 363,273 10,10' -blur 0x3 \) -composite \
    -fill white -draw 'roundrectangle 40,174 360,270 10,10' \
    -gravity north -fill black -pointsize 13 \
    -font "$sans" -annotate +0+182 'This is another freeware program by' \
    -font "$sans_bold" -annotate +0+198 'www.corvenna.example' \
    -font "$sans" -annotate +0+228 'Click anywhere on this picture to load' \
    -annotate +0+245 'your own picture and solve the puzzle!' \
    -depth 8 "$work/builtin.ppm"
to_jpeg "$work/builtin.ppm" "$here/builtin.jpg" 88 -progressive

# The logo: the monogram CV in black serif capitals inside a thin black frame.
# The frame is 2 pixels wide so that it stays black through the JPEG's smoothing.
convert -size 92x100 xc:white \
    -fill black -draw 'rectangle 4,4 87,95' -fill white -draw 'rectangle 6,6 85,93' \
    -fill black -font "$serif_bold" -pointsize 46 -gravity center \
    -annotate +0+1 'CV' \
    -depth 8 "$work/logo.ppm"
to_jpeg "$work/logo.ppm" "$here/logo.jpg" 90

# The donate picture: a rounded yellow-orange button above four card marks.
convert -size 107x61 xc:white \
    \( -size 95x28 gradient:'#ffdf70-#f39c12' \
       \( -size 95x28 xc:black -fill white -draw 'roundrectangle 0,0 94,27 13,13' \) \
       -alpha off -compose CopyOpacity -composite \) \
    -geometry +6+4 -compose over -composite \
    -fill none -stroke '#c47a10' -strokewidth 1 -draw 'roundrectangle 6.5,4.5 100.5,31.5 13,13' \
    -stroke none -fill '#1b2a5e' -font "$sans_bold_oblique" -pointsize 14 -gravity north \
    -annotate +0+9 'Donate' \
    -gravity northwest \
    -fill '#1f3f8f' -draw 'roundrectangle 8,41 28,54 2,2' \
    -fill '#f0c419' -draw 'rectangle 8,49 28,50' \
    -fill white -stroke '#9aa0a8' -draw 'roundrectangle 32.5,41.5 52.5,54.5 2,2' -stroke none \
    -fill '#2a7fc0' -draw 'circle 39.5,48 39.5,44' \
    -fill '#39a96b' -draw 'circle 45.5,48 45.5,44' \
    -fill '#2c8c5e' -draw 'roundrectangle 56,41 76,54 2,2' \
    -fill '#e8c35a' -draw 'roundrectangle 59,44 64,48 1,1' \
    -fill white -stroke '#9aa0a8' -draw 'roundrectangle 80.5,41.5 100.5,54.5 2,2' -stroke none \
    -fill '#c0392b' -draw 'rectangle 81,45 100,48' \
    -depth 8 "$work/donate.ppm"
to_jpeg "$work/donate.ppm" "$here/donate.jpg" 90

# The click.
python3 "$here/click_wav.py" "$here/move.wav"

# The application icon, and the same drawing at the desktops' sizes.
python3 "$here/board_icon.py" "$root/packaging/icons/tessaroo.ico" "$root/packaging/icons/hicolor"

ls -l "$here/builtin.jpg" "$here/logo.jpg" "$here/donate.jpg" "$here/move.wav" \
    "$root/packaging/icons/tessaroo.ico"
