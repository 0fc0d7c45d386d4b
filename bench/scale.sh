# Scale benchmarks: page-tree work on documents of tens of thousands of pages.
# Sourced by bench/run.sh.

SCALE_TOOL=${QUIRNA_TOOL:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/quirna-tool}
SCALE_GNUPLOT=/usr/share/doc/gnuplot/gnuplot.pdf

# Two documents of 80 copies of gnuplot.pdf each (24,880 pages) combined into one, beside qpdf
# doing the same.
bench_combine_50k() {
  [[ -f "$SCALE_GNUPLOT" ]] || { echo "combine-50k: needs $SCALE_GNUPLOT (gnuplot-doc)" >&2; return 1; }
  local w; w=$(mktemp -d)
  local copies=()
  for _ in $(seq 80); do copies+=("$SCALE_GNUPLOT"); done
  qpdf --empty --pages "${copies[@]}" -- "$w/first.pdf"
  cp "$w/first.pdf" "$w/second.pdf"
  local start end ours peer
  start=$(date +%s.%N)
  "$SCALE_TOOL" combine "$w/out" "$w/first.pdf" "$w/second.pdf" >/dev/null || echo "combine-50k: quirna-tool failed" >&2
  end=$(date +%s.%N)
  ours=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')
  start=$(date +%s.%N)
  qpdf --empty --pages "$w/first.pdf" "$w/second.pdf" -- "$w/peer.pdf"
  end=$(date +%s.%N)
  peer=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')
  local pages; pages=$(qpdf --show-npages "$w/out/merge.pdf" 2>/dev/null || echo 0)
  awk -v o="$ours" -v p="$peer" -v n="$pages" 'BEGIN { printf "BENCH combine-50k ours=%s peer=%s ratio=%.2f pages=%d\n", o, p, o / p, n }'
  rm -rf "$w"
}
