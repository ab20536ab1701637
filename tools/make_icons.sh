#!/usr/bin/env bash
# Builds the toolbar and status-bar icons in resources/icons from the Tango
# icon theme (Debian package tango-icon-theme, public domain) with ImageMagick.
#   tools/make_icons.sh [TANGO_FOLDER]
# The .ico files it writes are kept in the repository, so a build needs
# neither ImageMagick nor the Tango files; run this only to change an icon.
#
# Toolbar icons are 22 x 22 and come in three looks: normal, hot (brighter
# and more saturated) and disabled (grey and faded). Status-bar icons are
# 16 x 16. Every icon is a single 32-bit image with alpha.
set -euo pipefail

tango=${1:-/usr/share/icons/Tango}
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../resources/icons"

command -v convert >/dev/null || { echo "ImageMagick (convert) is missing" >&2; exit 2; }
if [ ! -d "$tango/22x22" ] || [ ! -d "$tango/16x16" ]; then
  echo "No Tango icons in $tango: install tango-icon-theme" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# Tango colours
readonly SKY_BLUE='#3465a4'
readonly ALUMINIUM_LIGHT='#eeeeec' ALUMINIUM_MID='#babdb6' ALUMINIUM_DARK='#888a85'
readonly SLATE='#2e3436'

t22() { echo "$tango/22x22/$1.png"; }
t16() { echo "$tango/16x16/$1.png"; }

# overlay BASE SMALL SIZE GRAVITY RESULT: puts SMALL, shrunk to SIZE pixels,
# in the GRAVITY corner of BASE.
overlay() {
  convert "$1" \( "$2" -resize "$3x$3" \) -gravity "$4" -geometry +0+0 \
    -compose over -composite "$5"
}

# Marching-ants rectangle with a light blue wash, the way the editor shows a
# selection: draw_selection SIZE "X0,Y0 X1,Y1" DASH RESULT. Coordinates are
# pixel centres; DASH is the length of one dash.
draw_selection() {
  convert -size "$1" xc:none \
    -fill "rgba(114,159,207,0.6)" -stroke "$SLATE" -strokewidth "$3" \
    -draw "rectangle $2" \
    -fill none -stroke white -draw "stroke-dasharray $(($3 * 2)) $(($3 * 2)) rectangle $2" \
    "$4"
}

# ico PNG NAME: writes NAME.ico holding PNG as one 32-bit image with alpha.
ico() {
  convert "$1" -background none -depth 8 -type TrueColorAlpha "$out/$2.ico"
}

# Hot: brighter and more saturated, on a faint white halo that lifts it off
# the highlighted button.
hot() {
  convert "$1" -modulate 118,160 \
    \( +clone -alpha extract -morphology dilate disk:1 -blur 0x0.8 \
       -evaluate multiply 0.7 -background white -alpha shape \) \
    +swap -compose over -composite "$2"
}

# Disabled: grey, a little lighter, and faded to 45 % opacity.
disabled() {
  convert "$1" -colorspace Gray +level 15%,100% -colorspace sRGB \
    -channel A -evaluate multiply 0.45 +channel "$2"
}

# toolbar NAME PNG [never-greyed]: the normal, hot and (unless the button is
# never greyed) disabled icons of one button.
toolbar() {
  ico "$2" "tb_$1"
  hot "$2" "$work/$1_hot.png"
  ico "$work/$1_hot.png" "tb_$1_hot"
  if [ "${3:-}" != never-greyed ]; then
    disabled "$2" "$work/$1_disabled.png"
    ico "$work/$1_disabled.png" "tb_$1_disabled"
  fi
}

# ---------------------------------------------------------------------------
# Toolbar pictures, in toolbar order
# ---------------------------------------------------------------------------

# Open destination: a closed folder with a green arrow leaving it.
convert "$(t22 places/folder)" -gravity southwest -background none \
  -resize 19x19 -extent 22x22 "$work/folder_small.png"
overlay "$work/folder_small.png" "$(t22 actions/go-jump)" 13 northeast "$work/open_dest.png"
toolbar open_dest "$work/open_dest.png" never-greyed

# Choose source: the open folder.
toolbar choose_source "$(t22 status/folder-open)" never-greyed

toolbar refresh_source "$(t22 actions/view-refresh)"

# View only: a picture with a magnifying glass over its corner.
convert "$(t22 mimetypes/image-x-generic)" -gravity northwest -background none \
  -resize 19x19 -extent 22x22 "$work/picture_small.png"
overlay "$work/picture_small.png" "$(t22 actions/system-search)" 14 southeast "$work/view_only.png"
toolbar view_only "$work/view_only.png"

# Keep frame: the selection rectangle held by a pin.
draw_selection 22x22 "2.5,5.5 17.5,18.5" 2 "$work/selection22.png"
overlay "$work/selection22.png" "$(t22 emblems/emblem-readonly)" 12 northeast "$work/keep_frame.png"
toolbar keep_frame "$work/keep_frame.png" never-greyed

toolbar move_first "$(t22 actions/go-first)"
toolbar move_back "$(t22 actions/go-previous)"
toolbar move_next "$(t22 actions/go-next)"
toolbar move_last "$(t22 actions/go-last)"

# Rotate: a tilted selection rectangle with a curved arrow turning over it,
# drawn four times larger and then shrunk so that the slanted edges stay smooth.
draw_selection 88x88 "4,30 60,76" 4 "$work/selection88.png"
convert "$work/selection88.png" -background none -rotate -20 -gravity center \
  -extent 88x88 -resize 22x22 "$work/selection_tilted.png"
overlay "$work/selection_tilted.png" "$(t22 actions/edit-redo)" 13 northeast "$work/rotate.png"
toolbar rotate "$work/rotate.png"

# Save, and save with a small arrow towards the previous or next image.
save="$(t22 actions/document-save)"
overlay "$save" "$(t22 actions/go-previous)" 13 southwest "$work/save_back.png"
overlay "$save" "$(t22 actions/go-next)" 13 southeast "$work/save_next.png"
toolbar save_back "$work/save_back.png"
toolbar save_only "$save"
toolbar save_next "$work/save_next.png"

toolbar language "$(t22 apps/preferences-desktop-locale)" never-greyed
toolbar options "$(t22 categories/preferences-system)" never-greyed
toolbar exit "$(t22 actions/system-log-out)" never-greyed

# The disabled picture of the buttons that are never greyed: a faint grey tile.
convert -size 22x22 xc:none -fill "$ALUMINIUM_LIGHT" -stroke "$ALUMINIUM_MID" \
  -strokewidth 1 -draw "roundrectangle 3.5,3.5 18.5,18.5 2,2" \
  -channel A -evaluate multiply 0.45 +channel "$work/shared_disabled.png"
ico "$work/shared_disabled.png" tb_shared_disabled

# ---------------------------------------------------------------------------
# Status-bar pictures, one per part
# ---------------------------------------------------------------------------

ico "$(t16 mimetypes/image-x-generic)" sb_file_name

# Position in the list: a list whose second line is the selected one.
convert -size 16x16 xc:none \
  -fill white -stroke "$ALUMINIUM_DARK" -strokewidth 1 -draw "rectangle 1.5,1.5 14.5,14.5" \
  -stroke none -fill "$SKY_BLUE" -draw "rectangle 2,5 14,8" \
  -fill "$ALUMINIUM_DARK" -draw "rectangle 4,3 5,3 rectangle 7,3 12,3" \
  -fill white -draw "rectangle 4,6 5,7 rectangle 7,6 12,7" \
  -fill "$ALUMINIUM_DARK" -draw "rectangle 4,10 5,10 rectangle 7,10 12,10" \
  -draw "rectangle 4,12 5,12 rectangle 7,12 11,12" \
  "$work/position.png"
ico "$work/position.png" sb_position

# Image size: arrows pointing to the four corners.
ico "$(t16 actions/view-fullscreen)" sb_image_size

# Selection: the editor's marching-ants rectangle.
draw_selection 16x16 "1.5,3.5 14.5,12.5" 1 "$work/selection16.png"
ico "$work/selection16.png" sb_selection

# The mark on the tile of a picture whose crop is already in the destination:
# a Tango green disc with a white tick, drawn large and shrunk to stay smooth.
convert -size 80x80 xc:none -fill '#4e9a06' -stroke '#2e3436' -strokewidth 3 \
  -draw "circle 40,40 40,4" -fill none -stroke white -strokewidth 10 \
  -draw "polyline 21,41 34,54 59,28" -resize 20x20 "$work/done_mark.png"
ico "$work/done_mark.png" done_mark

# The Options dialog's notice that administrator rights are missing, at its
# real size of 32 pixels.
convert "$tango/32x32/status/dialog-warning.png" "$out/notice_warning.ico"

echo "Icons written to $out"
