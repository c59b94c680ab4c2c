#!/usr/bin/env bash
# Takes the README's picture of the program: the day window with its context
# menu open, and the month window, side by side, as the program shows them
# under Wine on a private Xvfb screen.
#
#   tools/screenshot.sh [out.png]     (default resources/screenshot.png)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/dev.sh"
OUT=${1:-$ROOT/resources/screenshot.png}
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

SHOTS=$(mktemp -d)
wine "$BUILD/windows/bin/tovani.exe" </dev/null >/dev/null 2>&1 &
window=$(window_named 青鹭日历)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT
xdotool mousemove 0 0
sleep 0.5

# The context menu, opened by a right click on the window's blue margin.
xdotool mousemove $((X + 7)) $((Y + 42)) click 3
sleep 1
import -window root -crop $((WIDTH + 8))x430+$((X - 4))+$((Y - 4)) +repage "$SHOTS/day.png"

# The month window, by the menu's key.
xdotool key m
month=$(window_named 青鹭月历)
xdotool mousemove 0 0
sleep 1
eval "$(xdotool getwindowgeometry --shell "$month")"
import -window root -crop ${WIDTH}x${HEIGHT}+$X+$Y +repage "$SHOTS/month.png"

convert "$SHOTS/day.png" "$SHOTS/month.png" -background white -gravity west -splice 12x0 +append -bordercolor white \
        -border 12 "$OUT"
rm -rf "$SHOTS"
say "wrote $OUT"
