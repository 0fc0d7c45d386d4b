# Printing benchmark: pages 1-20 of refman.pdf printed to a PDF file at 300 dpi through the
# program's print job, against mutool drawing the same pages at 300 dpi to PNG files. Sourced
# by bench/run.sh, which provides BUILD, REFMAN and the helpers of common.sh.

bench_print_refman_20() {
  local w ours peer rss
  w=$(mktemp -d)
  ours=$(QT_QPA_PLATFORM=offscreen best_of_3 "$BUILD/bench/print_bench" "$REFMAN" "$w/ours.pdf" 1-20)
  rss=$(QT_QPA_PLATFORM=offscreen "$BUILD/bench/print_bench" "$REFMAN" "$w/ours.pdf" 1-20 | sed -n 's/^rss=//p')
  peer=$(best_of_3 mutool draw -q -r 300 -o "$w/peer-%d.png" "$REFMAN" 1-20)
  awk -v o="$ours" -v p="$peer" -v r="$rss" \
    'BEGIN { printf "BENCH print-refman-20 ours=%s peer=%s ratio=%.2f rss=%s\n", o, p, o / p, r }'
  rm -rf "$w"
}
