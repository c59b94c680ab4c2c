#!/usr/bin/env bash
# Set-up, build and run for Tovani on Debian 12.
#
#   tools/dev.sh run    install what is missing, build the optimized command-line tool
#                       and tovani.exe, start tovani.exe under Wine
#   tools/dev.sh test   install what is missing, build both trees, run every test
#   tools/dev.sh timing [RUNS]       response times of the Windows program
#   tools/dev.sh soak [N] [PATH...]  growth per repeated action of the Windows program
#   tools/dev.sh bench [OPTIONS]     the benchmarks, optimized
#
# Run as root on a fresh machine (it installs packages with apt); on a machine
# that has them, any user will do.  Build trees: build/native (tests, with
# sanitizers), build/release (the optimized tovani) and build/windows.
# TOVANI_BUILD_DIR=dir chooses another folder for them.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# TOVANI_BUILD_DIR puts the build trees and Wine prefixes elsewhere (default build/).
BUILD=${TOVANI_BUILD_DIR:-$ROOT/build}
case "$BUILD" in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
JOBS=$(nproc 2>/dev/null || echo 2)

say() { printf '==> %s\n' "$*" >&2; }
die() { printf 'tools/dev.sh: %s\n' "$*" >&2; exit 1; }

NATIVE_PACKAGES=(g++ cmake make googletest libbenchmark-dev locales python3 python3-icalendar)
WINDOWS_PACKAGES=(g++-mingw-w64-i686-posix wine wine32:i386 xvfb xauth fonts-wqy-zenhei
                  fonts-arphic-uming fonts-arphic-ukai gstreamer1.0-plugins-good:i386)

install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -eq 0 ] || die "missing packages (${missing[*]}); run as root to install them"
  say "installing ${missing[*]}"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# Wine reads the ANSI code page from the locale: zh_CN.UTF-8 gives code page 936.
ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    say "generating the zh_CN.UTF-8 locale"
    localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
  fi
}

# The native tests run with AddressSanitizer and UndefinedBehaviorSanitizer.
build_native() {
  say "building the native tree (with sanitizers)"
  cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVANI_SANITIZE=ON >/dev/null
  cmake --build "$BUILD/native" -j "$JOBS"
}

# The command-line tool for everyday use: optimized, without sanitizers.
# cmake --install build/release --prefix DIR puts it in DIR/bin.
build_release_tool() {
  say "building the command-line tool: $BUILD/release/bin/tovani"
  cmake -S "$ROOT" -B "$BUILD/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD/release" -j "$JOBS" --target tovani
}

build_windows() {
  say "building the Windows tree"
  cmake -S "$ROOT" -B "$BUILD/windows" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/i686-w64-mingw32.cmake" >/dev/null
  cmake --build "$BUILD/windows" -j "$JOBS"
}

XVFB_PID=
# TOVANI_SCREEN (WIDTHxHEIGHTxDEPTH) sizes the private Xvfb screen.
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}

start_xvfb() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${TOVANI_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
  done
  die "could not start Xvfb"
}

# A 32-bit Wine prefix of our own, a persistent wineserver and its services,
# all with their standard streams away from any pipe (ctest waits on pipes).
# With "headless", windows are left unmanaged: Xvfb has no window manager, and
# Wine would wait two seconds for one whenever a window closes.
setup_wine() {
  local prefix=$1 mode=${2:-}
  mkdir -p "$BUILD"
  export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export LC_ALL=zh_CN.UTF-8
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$BUILD/asound-null.conf"
  export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$BUILD/asound-null.conf
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "creating the Wine prefix $WINEPREFIX"
    wineboot -i </dev/null >"$BUILD/wineboot.log" 2>&1
  else
    wineboot </dev/null >"$BUILD/wineboot.log" 2>&1
  fi
  # The Song faces resolve to AR PL UMing, the Kai faces to AR PL UKai (both
  # with bitmaps for small sizes, where WenQuanYi Zen Hei drops strokes), the
  # Hei faces to WenQuanYi Zen Hei.  A .reg file with Chinese names must be
  # UTF-16LE with a byte-order mark.
  local reg=$BUILD/wine-settings.reg face
  {
    printf '\xff\xfe'
    {
      printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
      for face in 宋体 SimSun 新宋体 NSimSun; do printf '"%s"="AR PL UMing CN"\n' "$face"; done
      for face in 楷体_GB2312 KaiTi_GB2312 楷体 KaiTi; do printf '"%s"="AR PL UKai CN"\n' "$face"; done
      for face in 黑体 SimHei; do printf '"%s"="WenQuanYi Zen Hei"\n' "$face"; done
      printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n'
      if [ "$mode" = headless ]; then printf '"Managed"="N"\n'; else printf '"Managed"=-\n'; fi
    } | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
}

start_desktop() {
  local marker=$BUILD/windows/desktop.ready
  rm -f "$marker"
  wine "$BUILD/windows/bin/keepalive.exe" "$(winepath -w "$marker" 2>/dev/null)" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 600); do
    [ -f "$marker" ] && return 0
    sleep 0.1
  done
  die "the Wine desktop did not come up"
}

cmd_test() {
  install_packages "${NATIVE_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
  ensure_locale
  build_native
  say "running the native tests"
  ctest --test-dir "$BUILD/native" --output-on-failure -j "$JOBS"
  build_windows
  start_xvfb
  setup_wine "$BUILD/wine-test" headless
  start_desktop
  say "running the Windows tests under Wine"
  ctest --test-dir "$BUILD/windows" --output-on-failure -j "$JOBS"
  say "all tests passed"
}

cmd_run() {
  install_packages "${NATIVE_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
  ensure_locale
  build_release_tool
  build_windows
  local mode=
  if [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    mode=headless
    say "no DISPLAY: Tovani runs headless on Xvfb $DISPLAY (set DISPLAY to see it on your screen)"
  fi
  setup_wine "$BUILD/wine-run" "$mode"
  say "starting tovani.exe (Alt+X closes it)"
  wine "$BUILD/windows/bin/tovani.exe"
}

# The Windows program's response times beside a minimal window's, under Wine
# on Xvfb (tools/timing/timing.cpp): medians of RUNS runs.
cmd_timing() {
  install_packages "${NATIVE_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
  ensure_locale
  build_windows
  start_xvfb
  setup_wine "$BUILD/wine-timing" headless
  start_desktop
  wine reg delete 'HKCU\Software\Tovani' /f >/dev/null 2>&1 || true
  wine "$BUILD/windows/bin/tovani_timing.exe" "${1:-7}"
}

# The benchmarks, optimized and without sanitizers (build/release); the
# arguments go to Google Benchmark (--benchmark_filter=...).
cmd_bench() {
  install_packages "${NATIVE_PACKAGES[@]}"
  say "building the benchmarks: $BUILD/release/bin/tovani_bench"
  cmake -S "$ROOT" -B "$BUILD/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD/release" -j "$JOBS" --target tovani_bench
  "$BUILD/release/bin/tovani_bench" "$@"
}

# What the Windows program keeps per repeated action (tools/soak/soak.cpp):
# growth per operation of memory, GDI and USER objects and handles over N
# operations of each path (default 1000), under Wine on Xvfb; paths by name
# after N (switch, calculator, tables, search, coordinates, memorial, help,
# weather, audition, picture, dpi, balloon, clock), all without.
cmd_soak() {
  install_packages "${NATIVE_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
  ensure_locale
  build_windows
  start_xvfb
  setup_wine "$BUILD/wine-soak" headless
  start_desktop
  wine reg delete 'HKCU\Software\Tovani' /f >/dev/null 2>&1 || true
  wine "$BUILD/windows/bin/tovani_soak.exe" "$@"
}

# Sourced by other scripts of tools/ for its functions only.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  trap cleanup EXIT
  case "${1:-}" in
    run) cmd_run ;;
    test) cmd_test ;;
    timing) cmd_timing "${2:-7}" ;;
    bench) shift; cmd_bench "$@" ;;
    soak) shift; cmd_soak "${@:-1000}" ;;
    *) die "usage: tools/dev.sh run|test|timing [RUNS]|soak [N] [PATH...]|bench [BENCHMARK OPTIONS]" ;;
  esac
fi
