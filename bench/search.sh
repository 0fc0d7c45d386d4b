# Search benchmarks: refman.pdf searched for "function" from the search field. Sourced by
# bench/run.sh, which provides BUILD, REFMAN and the helpers of common.sh.

# Milliseconds from typing the word until the first match is in the list; best of three.
bench_search_first_match() {
  local best="" ms
  for _ in 1 2 3; do
    ms=$(QT_QPA_PLATFORM=offscreen "$BUILD/bench/search_bench" "$REFMAN" function first) || { echo "failed: search_bench" >&2; return 1; }
    best=$(awk -v a="$best" -v m="$ms" 'BEGIN { if (a == "" || m < a) a = m; printf "%.1f", a }')
  done
  echo "BENCH search-first-match value=${best}ms"
}

# The whole search, as a process, against the text extraction of the whole file by mutool.
bench_search_refman() {
  local ours peer
  ours=$(QT_QPA_PLATFORM=offscreen best_of_3 "$BUILD/bench/search_bench" "$REFMAN" function all)
  peer=$(best_of_3 mutool draw -F txt -o /dev/null "$REFMAN")
  report_ratio search-refman "$ours" "$peer"
}
