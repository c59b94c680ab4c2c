#!/usr/bin/env bash
# The command-line tool's results over the whole range of the calendar, as
# fingerprints, for two versions side by side: a change of structure must
# change none of them.
#
#   tools/compare_outputs.sh BASE [OTHER]
#
# BASE and OTHER are commits (OTHER defaults to the work tree as it is).  Each
# is built as the optimized tool under build/compare/, then every output below
# is run in both rule sets (historical and --modern) and fingerprinted with
# sha256: dump of every day from -103-01-01 to 4103-12-31, years (and their
# close calls), events and the month, term and moon tables of every year, the
# sun table of a year per city, and the searches.  Prints one line per output
# and "same" or "DIFFERENT"; exits 1 when anything differs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT=$ROOT/build/compare
JOBS=$(nproc 2>/dev/null || echo 2)
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: tools/compare_outputs.sh BASE [OTHER]" >&2; exit 2; }

# Builds the tool of a version and prints its path.
build_tool() {
  local rev=$1 source build
  if [ "$rev" = worktree ]; then
    source=$ROOT
    build=$OUT/worktree
  else
    local commit
    commit=$(git -C "$ROOT" rev-parse --verify "$rev^{commit}")
    source=$OUT/src-$commit
    build=$OUT/build-$commit
    [ -d "$source" ] || git -C "$ROOT" worktree add --detach "$source" "$commit" >/dev/null 2>&1
  fi
  cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release >"$OUT/build.log" 2>&1
  cmake --build "$build" -j "$JOBS" --target tovani >>"$OUT/build.log" 2>&1 ||
    { echo "the build of $rev failed: $OUT/build.log" >&2; exit 2; }
  echo "$build/bin/tovani"
}

# One line per output: its name and the sha256 of what the tool printed.
fingerprints() {
  local tool=$1 rules y page kind
  fp() { printf '%s %s\n' "$1" "$(sha256sum | cut -d' ' -f1)"; }
  for rules in "" --modern; do
    "$tool" dump -103-01-01 4103-12-31 $rules | fp "dump$rules"
    "$tool" years -103 4103 $rules | fp "years$rules"
    for page in months terms moons; do
      for y in $(seq -103 4103); do "$tool" table "$page" "$y" $rules; done | fp "table-$page$rules"
    done
    for y in $(seq -103 4103); do "$tool" events "$y" $rules; done | fp "events$rules"
    for kind in leap big3 small3 big4; do "$tool" search "$kind" -103 4207 $rules | fp "search-$kind$rules"; done
    for y in -103 1200 1800 2000 4004; do  # a search of days covers 100 years at most
      "$tool" search days "$y" 100 --lmonth 1 --lday 1 --weekday 7 $rules
    done | fp "search-days$rules"
  done
  "$tool" years -103 4103 --close-calls | fp "years-close-calls"
  for y in $(seq 1 43); do "$tool" table sun 2024 --city "$y"; done | fp "table-sun-cities"
}

mkdir -p "$OUT"
base=$(build_tool "$1")
other=$(build_tool "${2:-worktree}")
fingerprints "$base" >"$OUT/base.txt"
fingerprints "$other" >"$OUT/other.txt"
status=0
while read -r name sum; do
  other_sum=$(awk -v n="$name" '$1 == n { print $2 }' "$OUT/other.txt")
  if [ "$sum" = "$other_sum" ]; then
    printf '%-22s same      %s\n' "$name" "$sum"
  else
    printf '%-22s DIFFERENT %s %s\n' "$name" "$sum" "$other_sum"
    status=1
  fi
done <"$OUT/base.txt"
exit $status
