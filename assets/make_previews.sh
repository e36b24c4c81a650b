#!/usr/bin/env bash
# Draws the ten catalogue previews (JPEG/JFIF at the sizes the catalogue lists) into
# assets/previews/. The pictures are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")/previews"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

# file        size     colours            caption
previews=(
  "map2.jpg     586x330  #3b1f4a-#f08a24  S万圣节"
  "map3.jpg     587x327  #1d3557-#e0f1ff  防S2冬季"
  "map4.jpg     592x333  #f4d58d-#2a9d8f  沙滩峡谷"
  "map5.jpg     587x330  #0b132b-#3a506b  沙滩夜间"
  "map6.jpg     590x330  #ffafcc-#cd2c58  爱心峡谷"
  "map7.jpg     590x331  #4a0404-#e63946  血之峡谷"
  "map8.jpg     583x333  #2b2d42-#8d99ae  AREA63"
  "map9.jpg     513x302  #14213d-#fca311  AREA91"
  "map10.jpg    586x329  #9c6644-#ede0d4  荒漠峡谷"
  "official.jpg 600x331  #1b4332-#95d5b2  官方地图"
)
for row in "${previews[@]}"; do
  read -r file size colours caption <<<"$row"
  convert -size "$size" "gradient:${colours%-*}-#${colours##*-#}" \
    -fill 'rgba(255,255,255,0.18)' -draw "polygon 0,0 200,0 0,180" \
    -draw "circle 480,240 480,330" \
    -font "$font" -pointsize 56 -fill white -stroke '#00000080' -strokewidth 2 \
    -gravity center -annotate 0 "$caption" \
    -gravity southeast -pointsize 18 -stroke none -annotate +12+10 "溪石社" \
    -quality 88 -sampling-factor 2x2 -strip "JPEG:$file"
done
identify ./*.jpg
