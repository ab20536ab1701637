#!/usr/bin/env bash
# Builds what a Windows user downloads: the program folder staged with its
# language files and its manual (whose screenshots are taken from the
# program itself) and libjpeg-turbo's licence texts, the installer and the
# portable ZIP.
#   make_release.sh VERSION TRIMLET_EXE WINDOW_TOOL_EXE LANGUAGE_FOLDER JPEG_LICENSE_FOLDER
#                   OUTPUT_FOLDER
set -euo pipefail
# Under the plain POSIX locale of a minimal system, makensis crashes and
# cmake's zip fails on the non-ASCII name of a language file ("Français.ini");
# C.UTF-8 is built into the C library.
export LC_ALL=C.UTF-8

version=${1:?} exe=${2:?} tool=${3:?} languages=${4:?} jpeg_licenses=${5:?} output=${6:?}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
stage="$output/Trimlet"
rm -rf "$stage" "$output/includes"
mkdir -p "$stage/Lang" "$stage/HTML/images" "$stage/Licenses/libjpeg-turbo"
cp "$exe" "$stage/Trimlet.exe"
# The program carries libjpeg-turbo's code, so its licence texts go with it.
cp "$jpeg_licenses/LICENSE.md" "$jpeg_licenses/README.ijg" "$stage/Licenses/libjpeg-turbo/"
cp "$languages"/*.ini "$stage/Lang/"
cp "$root"/manual/* "$stage/HTML/"
"$root/packaging/take_screenshots.sh" "$exe" "$tool" "$root/samples" "$stage/HTML/images" \
  "$output/screenshots-wine"

python3 "$root/packaging/make_installer_includes.py" "$root/ui/english_labels.cpp" \
  "$root/resources/lang" "$stage" "$output/includes"
python3 "$root/resources/make_about_header.py" "$root/resources/trimlet.ico" \
  "$output/includes/side.bmp" side
makensis -V2 -WX -DVERSION="$version" -DINCLUDES="$output/includes" \
  -DICON="$root/resources/trimlet.ico" -DOUTFILE="$output/Trimlet-$version-setup.exe" \
  "$root/packaging/trimlet.nsi"

rm -f "$output/Trimlet-$version-portable.zip"
(cd "$output" && cmake -E tar cf "Trimlet-$version-portable.zip" --format=zip Trimlet)
