#!/usr/bin/env bash
# Renders every picture, icon and cursor of Solfira from its SVG source in src/.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert; the outputs are committed, so the
# build never runs this. Run it from anywhere: bash assets/render.sh
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$here"

for tool in rsvg-convert convert; do
  command -v "$tool" >/dev/null || { echo "render.sh: $tool is missing (apt-get install librsvg2-bin imagemagick)" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

svg() { # svg SOURCE OUTPUT.png [SIZE]
  if [ $# -ge 3 ]; then rsvg-convert -w "$3" -h "$3" "src/$1.svg" -o "$2"
  else rsvg-convert "src/$1.svg" -o "$2"; fi
}

mkdir -p icons cursors pictures

# --- window icon: 32x32 reduced to a 16-colour palette, as an ICO and as a PNG of the same picture
svg icon-32 "$tmp/icon-32.png"
convert "$tmp/icon-32.png" -alpha off +dither -colors 16 "$tmp/icon-16c.png"
# (no time stamps or other text chunks in the PNG, so re-renders are byte-identical)
convert "$tmp/icon-16c.png" -type Palette -strip -define "png:exclude-chunks=date,time,tEXt,zTXt,iTXt" \
  PNG8:icons/solfira-32.png
convert "$tmp/icon-16c.png" -type Palette -compress None icons/solfira.ico

# --- desktop icons (hicolor theme); 16x16 has its own pixel drawing
for n in 16 24 32 48 64 128 256; do
  mkdir -p "icons/hicolor/${n}x${n}/apps"
  out="icons/hicolor/${n}x${n}/apps/it.solfira.Solfira.png"
  if [ "$n" = 16 ]; then svg icon-16 "$out"; else svg icon "$out" "$n"; fi
done
mkdir -p icons/hicolor/scalable/apps
cp src/icon.svg icons/hicolor/scalable/apps/it.solfira.Solfira.svg

# --- cursors, 32x32 with transparency; hot spots listed beside them
hotspots=("mano 1 1" "omino 3 3" "nota 0 0" "icona 16 16")
: > cursors/hotspots.txt
for entry in "${hotspots[@]}"; do
  read -r name x y <<<"$entry"
  svg "$name" "cursors/$name.png"
  printf '%s %s %s\n' "$name" "$x" "$y" >> cursors/hotspots.txt
done

# --- button pictures, 32x32 with transparency
for name in faccina faccina-seria faccina-rossa divieto; do
  svg "$name" "pictures/$name.png"
done

# --- penguins and strip: single-frame GIFs on an opaque background
svg pinguini "$tmp/pinguini.png"
convert "$tmp/pinguini.png" -alpha off +dither -colors 256 -strip pictures/pinguini.gif
svg striscia "$tmp/striscia.png"
convert "$tmp/striscia.png" -alpha off +dither -colors 256 -strip pictures/striscia.gif

# --- pyramid: 24-bit BMP without alpha
svg piramide "$tmp/piramide.png"
convert "$tmp/piramide.png" -alpha off -type TrueColor -strip BMP3:pictures/piramide.bmp

echo "render.sh: done"
