#!/usr/bin/env bash
# Takes the README's pictures of the program's two main windows, as the
# program shows them under Wine on a private Xvfb screen: the day window with
# its context menu open (day.png) and the month window (month.png).
#
#   tools/screenshot.sh [folder]     (default resources)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/dev.sh"
OUT=${1:-$ROOT/resources}
case "$OUT" in /*) ;; *) OUT=$PWD/$OUT ;; esac

install_packages "${WINDOWS_PACKAGES[@]}" cmake make locales imagemagick xdotool
ensure_locale
say "building tovani.exe"
cmake -S "$ROOT" -B "$BUILD/windows" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/i686-w64-mingw32.cmake" >/dev/null
cmake --build "$BUILD/windows" -j "$JOBS" --target tovani >/dev/null
trap cleanup EXIT
start_xvfb
setup_wine "$BUILD/wine-shot" headless
wine reg delete 'HKCU\Software\Tovani' /f >/dev/null 2>&1 || true

# The X window of a caption, once it is there.
window_named() {
  local id
  for _ in $(seq 1 200); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  die "no window $1 appeared"
}

# A part of the screen, once the program has painted it (a busy machine may
# take seconds): what is still black is taken again.
snap() {  # geometry, file
  for _ in $(seq 1 40); do
    import -window root -crop "$1" +repage "$2"
    [ "$(convert "$2" -format '%[fx:mean>0.2]' info:)" = 1 ] && return 0
    sleep 0.5
  done
  die "nothing was painted at $1"
}

SHOTS=$(mktemp -d)
wine "$BUILD/windows/bin/tovani.exe" </dev/null >/dev/null 2>&1 &
window=$(window_named 青鹭日历)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT
xdotool mousemove 0 0
snap ${WIDTH}x${HEIGHT}+$X+$Y "$SHOTS/day.png"

# The context menu, opened by a right click on the window's blue margin; it
# reaches below the window.
xdotool mousemove $((X + 7)) $((Y + 42)) click 3
snap 100x100+$((X + 20))+$((Y + HEIGHT + 20)) "$SHOTS/menu.png"
sleep 0.5
snap $((WIDTH + 8))x430+$((X - 4))+$((Y - 4)) "$SHOTS/day.png"

# The month window, by the menu's key.
xdotool key m
month=$(window_named 青鹭月历)
xdotool mousemove 0 0
sleep 1
eval "$(xdotool getwindowgeometry --shell "$month")"
snap ${WIDTH}x${HEIGHT}+$X+$Y "$SHOTS/month.png"

mkdir -p "$OUT"
for picture in day month; do
  convert "$SHOTS/$picture.png" -bordercolor white -border 12 "$OUT/$picture.png"
done
rm -rf "$SHOTS"
say "wrote $OUT/day.png and $OUT/month.png"
