#!/usr/bin/env bash
# Runs the benchmarks (all, or those named) and prints one BENCH line each.
#   bench/run.sh [NAME ...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --bench
[[ -f build/build.ninja ]] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build >/dev/null
BUILD=$(pwd)/build
source bench/common.sh
for extra in bench/*.sh; do
  [[ "$extra" == bench/common.sh || "$extra" == bench/run.sh ]] || source "$extra"
done

bench_text_refman() {
  local ours peer
  ours=$(best_of_3 "$BUILD/bench/text_extract" "$REFMAN")
  peer=$(best_of_3 mutool draw -F txt -o /dev/null "$REFMAN")
  report_ratio text-refman "$ours" "$peer"
}

# Every function named bench_<name> is a benchmark; dashes in names become underscores.
all=$(declare -F | awk '{print $3}' | grep '^bench_' | sed 's/^bench_//')
selected=("$@")
[[ ${#selected[@]} -gt 0 ]] || selected=($all)
for name in "${selected[@]}"; do
  fn="bench_${name//-/_}"
  if declare -F "$fn" >/dev/null; then "$fn"; else echo "unknown benchmark: $name" >&2; exit 2; fi
done
