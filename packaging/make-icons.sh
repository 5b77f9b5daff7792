#!/usr/bin/env bash
# Makes the program's icons from the panel's picture: the logo on a rounded square in the logo's
# own blues, one PNG per size of the hicolor theme. The PNGs are kept in the repository; run this
# again only when panel/resources/image1.png changes. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
logo=../panel/resources/image1.png

for size in 48 64 128 256; do
    out=icons/hicolor/${size}x${size}/apps/zra70-panel.png
    mkdir -p "$(dirname "$out")"
    radius=$((size / 8))
    convert -size "${size}x${size}" gradient:'rgb(38,58,136)-rgb(14,25,79)' \
        \( -size "${size}x${size}" xc:none -fill white \
           -draw "roundrectangle 0,0,$((size - 1)),$((size - 1)),$radius,$radius" \) \
        -compose DstIn -composite \
        \( "$logo" -filter Lanczos -resize "$((size * 94 / 100))x" \) \
        -gravity center -compose Over -composite \
        -strip -define png:exclude-chunks=date,time PNG32:"$out"
    echo "$out"
done
