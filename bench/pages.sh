# Page-tool benchmarks: whole quirna-tool processes against the peer tool on the same input.
# Sourced by bench/run.sh; needs QUIRNA_TOOL (path of quirna-tool) or a build/ beside bench/.

PAGES_MANUAL=${PAGES_MANUAL:-/usr/share/R/doc/manual}
PAGES_TOOL=${QUIRNA_TOOL:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/quirna-tool}

# Wall-clock seconds of a command, its output discarded.
pages_time() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l | awk '{printf "%.3f", $1}'
}

pages_ratio() { # name ours peer
  awk -v n="$1" -v o="$2" -v p="$3" 'BEGIN { printf "BENCH %s ours=%s peer=%s ratio=%.2f\n", n, o, p, o / p }'
}

bench_split_refman() {
  local w; w=$(mktemp -d)
  local ours peer
  ours=$(pages_time "$PAGES_TOOL" split "$PAGES_MANUAL/refman.pdf" "$w/ours" all)
  mkdir -p "$w/peer"
  peer=$(pages_time qpdf --split-pages "$PAGES_MANUAL/refman.pdf" "$w/peer/Page_%d.pdf")
  pages_ratio split-refman "$ours" "$peer"
  rm -rf "$w"
}

bench_combine_r() {
  local w; w=$(mktemp -d)
  local m=$PAGES_MANUAL ours peer
  ours=$(pages_time "$PAGES_TOOL" combine "$w" "$m/refman.pdf" "$m/R-exts.pdf" "$m/R-intro.pdf")
  peer=$(pages_time qpdf --empty --pages "$m/refman.pdf" "$m/R-exts.pdf" "$m/R-intro.pdf" -- "$w/peer.pdf")
  pages_ratio combine-r "$ours" "$peer"
  rm -rf "$w"
}

bench_export_png_50() {
  local w; w=$(mktemp -d)
  local ours peer
  ours=$(pages_time "$PAGES_TOOL" export "$PAGES_MANUAL/refman.pdf" "$w" png 1-50)
  peer=$(pages_time mutool draw -q -r 72 -o "$w/peer-%d.png" "$PAGES_MANUAL/refman.pdf" 1-50)
  pages_ratio export-png-50 "$ours" "$peer"
  rm -rf "$w"
}

bench_protect_refman() {
  local w; w=$(mktemp -d)
  local ours peer
  ours=$(pages_time "$PAGES_TOOL" protect "$PAGES_MANUAL/refman.pdf" "$w/ours.pdf" --user u --owner o --no-print)
  peer=$(pages_time qpdf --encrypt u o 256 --print=none -- "$PAGES_MANUAL/refman.pdf" "$w/peer.pdf")
  pages_ratio protect-refman "$ours" "$peer"
  rm -rf "$w"
}

bench_export_rss_growth() {
  local w; w=$(mktemp -d)
  local small large
  small=$( { /usr/bin/time -f %M "$PAGES_TOOL" export "$PAGES_MANUAL/refman.pdf" "$w" png 1-50 >/dev/null; } 2>&1 | tail -1)
  large=$( { /usr/bin/time -f %M "$PAGES_TOOL" export "$PAGES_MANUAL/refman.pdf" "$w" png 1-500 >/dev/null; } 2>&1 | tail -1)
  awk -v s="$small" -v l="$large" 'BEGIN { printf "BENCH export-rss-growth value=%.2fx\n", l / s }'
  rm -rf "$w"
}
