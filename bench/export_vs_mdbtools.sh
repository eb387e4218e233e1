#!/usr/bin/env bash
# Whole-process time of `examora-bank export BANK test` against `mdb-export -b hex BANK test` on
# the full-size bank the build makes (2,300 questions, 465 pictures), run side by side, and the
# ratio between them. Uses hyperfine when it is installed, else a loop timed with date +%s%N.
#
#   bench/export_vs_mdbtools.sh [BUILD_DIR] [RUNS]     (defaults: build, 20)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
runs=${2:-20}
tool=$build/bin/examora-bank
bank=$build/bank/exam.sys

for need in "$tool" "$bank"; do
  if [[ ! -e $need ]]; then
    echo "export_vs_mdbtools: $need is missing; build first (cmake --build $build)" >&2
    exit 1
  fi
done
if ! command -v mdb-export >/dev/null; then
  echo "export_vs_mdbtools: mdb-export is missing (Debian package mdbtools)" >&2
  exit 1
fi

ours=("$tool" export "$bank" test)
theirs=(mdb-export -b hex "$bank" test)
echo "bank: $bank ($(stat -c %s "$bank") bytes, $("${ours[@]}" | wc -l) rows)"

if command -v hyperfine >/dev/null; then
  json=$(mktemp)
  trap 'rm -f "$json"' EXIT
  hyperfine -N --warmup 3 --runs "$runs" --export-json "$json" \
    -n examora-bank "${ours[*]}" -n mdb-export "${theirs[*]}"
  read -r ours_ms theirs_ms < <(python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))["results"]
print(" ".join("%.2f" % (x["mean"] * 1000) for x in r))' "$json")
else
  # Mean wall time in milliseconds of `runs` runs after one warm-up, output thrown away.
  mean_ms() {
    "$@" >/dev/null
    local start end
    start=$(date +%s%N)
    for ((i = 0; i < runs; i++)); do "$@" >/dev/null; done
    end=$(date +%s%N)
    awk -v ns=$((end - start)) -v n="$runs" 'BEGIN { printf "%.2f", ns / n / 1e6 }'
  }
  ours_ms=$(mean_ms "${ours[@]}")
  theirs_ms=$(mean_ms "${theirs[@]}")
  printf '%-14s %10s ms\n' examora-bank "$ours_ms" mdb-export "$theirs_ms"
fi

awk -v a="$ours_ms" -v b="$theirs_ms" \
  'BEGIN { printf "examora-bank export: %.2f ms, mdb-export -b hex: %.2f ms, ratio %.1fx\n", a, b, b / a }'
