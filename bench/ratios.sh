#!/usr/bin/env bash
# The two speed ratios of the engine, each against a yardstick measured in the same run:
#   - a new paper (BM_NewPaperC1C2C3C4) against the physical floor of the same paper
#     (BM_PaperFloor: only its rows' bytes read, texts decoded, question texts and pictures
#     deciphered), on the built bank and on the bank-shaped file with 14-60 KB pictures;
#   - `examora-bank export BANK test` against `mdb-export -b hex` (bench/export_vs_mdbtools.sh).
# The paper benchmarks run interleaved, so that a slow moment of the machine falls on both.
#
#   bench/ratios.sh [BUILD_DIR] [REPETITIONS]     (defaults: build, 15)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
repetitions=${2:-15}
bench=$build/bench/paper_bench

if [[ ! -x $bench ]]; then
  echo "ratios: $bench is missing; build first (cmake --build $build)" >&2
  exit 1
fi

# Median CPU milliseconds of the two paper benchmarks on the bank named by EXAMORA_BENCH_BANK
# ($1: empty for the built bank, "shaped" for the bank-shaped file), and their ratio.
paper_ratio() {
  local json
  json=$(mktemp)
  EXAMORA_BENCH_BANK=$1 "$bench" --benchmark_filter='BM_NewPaperC1C2C3C4$|BM_PaperFloor$' \
    --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$json" 2>/dev/null
  python3 - "$json" "${1:-built}" <<'EOF'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {r["run_name"]: r["cpu_time"] for r in runs if r.get("aggregate_name") == "median"}
paper, floor = median["BM_NewPaperC1C2C3C4"], median["BM_PaperFloor"]
print("new paper on the %s bank: %.3f ms, floor %.3f ms, ratio %.2fx"
      % (sys.argv[2], paper, floor, paper / floor))
EOF
  rm -f "$json"
}

paper_ratio ""
paper_ratio shaped
"$root/bench/export_vs_mdbtools.sh" "$build"
