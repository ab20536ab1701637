#!/usr/bin/env bash
# Starts or stops the test session: an Xvfb display, a persistent Wine
# server on a Wine prefix of its own, and two destinations that refuse a
# crop (mounted only where the user may mount): a 1 MB file system at
# DIR/small-disk, and a read-only one at DIR/read-only-disk holding p.bmp,
# a crop saved before.
#   session.sh start DIR    session.sh stop DIR
set -euo pipefail

action=${1:?start or stop}
dir=${2:?session folder}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
export WINEPREFIX="$dir/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop() {
  if [ -f "$dir/session.env" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$dir/xvfb.pid"
  fi
  rm -f "$dir/session.env" "$dir/display"
  for disk in small-disk read-only-disk; do
    if mountpoint -q "$dir/$disk" 2>/dev/null; then umount "$dir/$disk" || true; fi
  done
}

start() {
  stop
  # Xvfb picks a free display and writes its number to fd 5.
  rm -f "$dir/display"
  setsid Xvfb -displayfd 5 -screen 0 "${TRIMLET_SCREEN:-1280x1024x24}" -nolisten tcp 5>"$dir/display" \
    >"$dir/xvfb.log" 2>&1 < /dev/null &
  echo $! > "$dir/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$dir/display" ] && break
    sleep 0.1
  done
  [ -s "$dir/display" ] || { echo "Xvfb did not start:"; cat "$dir/xvfb.log"; exit 1; }
  export DISPLAY=":$(head -n 1 "$dir/display")"
  printf 'export DISPLAY=%q WINEPREFIX=%q\n' "$DISPLAY" "$WINEPREFIX" > "$dir/session.env"

  # A persistent server makes each later start cheap.
  setsid wineserver -p < /dev/null > /dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/.configured" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    wineboot -i > "$dir/wineboot.log" 2>&1
    # There is no window manager on the display: Wine draws the frames
    # itself, and does not wait two seconds for a manager that never answers
    # each time a window is hidden.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
    touch "$WINEPREFIX/.configured"
  else
    # Start the prefix's services now so that the first test is not charged.
    wine cmd /c exit 0 > /dev/null 2>&1 || true
  fi
  mkdir -p "$dir/small-disk" "$dir/read-only-disk"
  if mount -t tmpfs -o size=1m,mode=0777 trimlet-small-disk "$dir/small-disk" 2>/dev/null &&
    mount -t tmpfs -o size=1m trimlet-read-only-disk "$dir/read-only-disk"; then
    printf 'the crop saved before' > "$dir/read-only-disk/p.bmp"
    mount -o remount,ro "$dir/read-only-disk"
  else
    echo "No small disks mounted in $dir: the full-disk test will say it was not run"
  fi
  echo "Wine session on display $DISPLAY"
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
