#!/usr/bin/env bash
# The Windows-side tests on other days: the whole suite once for each moment
# of the suite's clock (TOVANI_TEST_CLOCK, which every copy of the program the
# tests start runs on), so that no outcome depends on the day the tests run.
# Each run also takes its own time zone, screen size and test order (a
# shuffle with a seed of its own), so that none of those counts either.
#
#   tools/date_sweep.sh                      the four moments below
#   tools/date_sweep.sh "2027-02-05 10:20:00" ...   other moments
#
# About fifteen minutes a moment on two cores; not part of tools/dev.sh test.
# Prints one line per moment and ends with 1 when any failed; the output of
# each run is kept in build/date-sweep/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/dev.sh"

if [ $# -gt 0 ]; then
  MOMENTS=("$@")
else
  MOMENTS=(
    "2026-12-09 10:20:00"  # the day before 世界人权日, a festival with a long name
    "2026-12-31 10:20:00"  # the year's last day; the next year's days off not yet announced
    "2024-02-28 10:20:00"  # the day before a 29 February
    "2026-02-16 10:20:00"  # 除夕, the lunar new year's eve
  )
fi
ZONES=(UTC America/New_York Asia/Shanghai Pacific/Auckland)
SCREENS=(1024x768x24 1280x1024x24 1920x1080x24 1366x768x24)

install_packages "${NATIVE_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
ensure_locale
build_windows
LOGS=$BUILD/date-sweep
mkdir -p "$LOGS"
trap cleanup EXIT

results=() failed=0 i=0
for moment in "${MOMENTS[@]}"; do
  zone=${ZONES[i % ${#ZONES[@]}]} screen=${SCREENS[i % ${#SCREENS[@]}]} seed=$((i + 1))
  log=$LOGS/$(printf '%s' "$moment" | tr ' :' '_-').log
  say "the Windows tests at $moment (TZ=$zone, screen $screen, shuffle seed $seed)"
  export TZ=$zone TOVANI_SCREEN=$screen TOVANI_TEST_CLOCK=$moment GTEST_SHUFFLE=1 GTEST_RANDOM_SEED=$seed
  start_xvfb
  setup_wine "$BUILD/wine-test" headless
  start_desktop
  start=$SECONDS
  if ctest --test-dir "$BUILD/windows" --output-on-failure -j "$JOBS" >"$log" 2>&1; then
    outcome=passed
  else
    outcome="FAILED ($(grep -c '\*\*\*Failed\|\*\*\*Timeout\|\*\*\*Exception' "$log" || true) test programs)"
    failed=1
  fi
  summary=$(grep -E '^[0-9]+% tests passed' "$log" || echo "no summary")
  results+=("$moment  TZ=$zone  $screen  seed $seed: $outcome, $summary, $((SECONDS - start)) s")
  cleanup
  XVFB_PID=
  i=$((i + 1))
done
unset TZ TOVANI_SCREEN TOVANI_TEST_CLOCK GTEST_SHUFFLE GTEST_RANDOM_SEED
printf '%s\n' "${results[@]}"
exit $failed
