#!/usr/bin/env bash
# Takes the manual's screenshots from the real program, under Xvfb and Wine,
# so that they always show the program as it is built.
#   take_screenshots.sh TRIMLET_EXE WINDOW_TOOL_EXE PICTURES_FOLDER OUTPUT_FOLDER SESSION_FOLDER
set -euo pipefail

exe=${1:?} tool=${2:?} pictures=${3:?} output=${4:?} session=${5:?}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mkdir -p "$output"
TRIMLET_SCREEN=1024x768x24 "$root/tests/wine/session.sh" start "$session" > /dev/null
trap '"$root/tests/wine/session.sh" stop "$session" > /dev/null' EXIT
# shellcheck disable=SC1091
. "$session/session.env"
export WINEDEBUG=-all
wine=("$root/tests/wine/run.sh" "$session")

setting() {  # KEY NAME TYPE DATA
  "${wine[@]}" reg add "HKCU\\Software\\Bluecrane\\Trimlet\\$1" /v "$2" /t "$3" /d "$4" /f > /dev/null
}

# The window where a reader expects it, at a size that shows the pictures.
"${wine[@]}" reg delete 'HKCU\Software\Bluecrane\Trimlet' /f > /dev/null 2>&1 || true
setting Layout MainWindowLeft REG_DWORD 20
setting Layout MainWindowTop REG_DWORD 20
setting Layout MainWindowWidth REG_DWORD 900
setting Layout MainWindowHeight REG_DWORD 620
setting Options DestinationFolder REG_SZ 'C:\users\Public\Pictures\Cropped'

# A window's picture, found by its title once it is there: import would
# otherwise wait for a click on the window it cannot find.
shot() {  # NAME TITLE
  for _ in $(seq 100); do
    xwininfo -display "$DISPLAY" -name "$2" > /dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1
  import -display "$DISPLAY" -window "$2" "$output/$1.png"
}

# The pictures where a reader keeps theirs.
folder='C:\users\Public\Pictures\Holiday'
mkdir -p "$WINEPREFIX/drive_c/users/Public/Pictures/Holiday"
cp "$pictures"/*.* "$WINEPREFIX/drive_c/users/Public/Pictures/Holiday/"

"${wine[@]}" "$exe" /EXPLORE "$folder" &
program=$!
"${wine[@]}" "$tool" wait 60
shot main-window "Trimlet - $folder"
"${wine[@]}" "$tool" keys 20 ctrl o
shot options-folders Options
"${wine[@]}" "$tool" keys 20 ctrl tab
shot options-editor Options
"${wine[@]}" "$tool" keys 20 ctrl tab
shot options-shell Options
"${wine[@]}" "$tool" keys 20 escape
"${wine[@]}" "$tool" keys 20 ctrl l
shot language Language
"${wine[@]}" "$tool" keys 20 escape
"${wine[@]}" "$tool" command 20 40031
shot about "About Trimlet"
"${wine[@]}" "$tool" keys 20 escape
"${wine[@]}" "$tool" close 20
wait "$program"
