#!/usr/bin/env bash
# The lunar-year records of the whole range, timed against the npm package
# lunar-javascript's LunarYear over the same years (medians of RUNS runs):
#
#   tools/lunar_years_vs_js.sh [RUNS]
#
# Builds the optimized terminal tool under build/release and installs the
# package under build/lunar-js (neither is committed).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RUNS=${1:-5}
JS=$ROOT/build/lunar-js
cmake -S "$ROOT" -B "$ROOT/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$ROOT/build/release" -j "$(nproc)" --target tovani >"$ROOT/build/release/build.log" 2>&1 ||
  { echo "the build failed: build/release/build.log" >&2; exit 2; }
mkdir -p "$JS"
[ -d "$JS/node_modules/lunar-javascript" ] || (cd "$JS" && npm install --no-save --silent lunar-javascript >/dev/null)
cat >"$JS/years.js" <<'JS'
const { LunarYear } = require('lunar-javascript');
const t0 = process.hrtime.bigint();
let months = 0;
for (let y = -103; y <= 4103; y++) months += LunarYear.fromYear(y).getMonths().length;
console.log(Number(process.hrtime.bigint() - t0) / 1e6);
JS
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ours() {
  local s e
  s=$(date +%s%N)
  "$ROOT/build/release/bin/tovani" years -103 4103 --modern >/dev/null
  e=$(date +%s%N)
  echo $(((e - s) / 1000000))
}
a=$(for _ in $(seq "$RUNS"); do ours; done | median)
b=$(for _ in $(seq "$RUNS"); do (cd "$JS" && node years.js); done | median)
awk -v a="$a" -v b="$b" -v n="$RUNS" 'BEGIN {
  printf "lunar years -103..4103: tovani years --modern %d ms, lunar-javascript %.0f ms, ratio %.2f (medians of %d)\n", a, b, a / b, n
}'
