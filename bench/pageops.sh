# Page operations on refman.pdf. Sourced by bench/run.sh, which provides BUILD, REFMAN and the
# helpers of common.sh.

# Runs pageops_bench offscreen in a throw-away home.
pageops_bench() {
  local home status
  home=$(mktemp -d)
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    QT_QPA_PLATFORM=offscreen "$BUILD/bench/pageops_bench" "$@" 2>/dev/null
  status=$?
  rm -rf "$home"
  return $status
}

# Seconds to move page 2,000 to the front with the page-move command and save; the peer is qpdf
# writing the same order. Best of three.
bench_thumb_reorder_refman() {
  local dir best="" s peer
  dir=$(mktemp -d)
  for _ in 1 2 3; do
    s=$(pageops_bench reorder "$REFMAN" "$dir/copy.pdf") || { echo "failed: pageops_bench reorder" >&2; rm -rf "$dir"; return 1; }
    best=$(awk -v a="$best" -v b="$s" 'BEGIN { if (a == "" || b < a) a = b; printf "%.3f", a }')
  done
  peer=$(best_of_3 qpdf "$REFMAN" --pages "$REFMAN" 2000,1-1999,2001-z -- "$dir/peer.pdf")
  rm -rf "$dir"
  report_ratio thumb-reorder-refman "$best" "$peer"
}

# The middle of the numbers given.
median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Longest GUI-thread block (ms) while 100 selected thumbnails are deleted, median of five runs;
# beside it the GUI thread's CPU time for the deletion itself, which a loaded machine does not
# stretch the way it stretches wall time.
bench_delete_100_refman() {
  local out walls="" cpus=""
  for _ in 1 2 3 4 5; do
    out=$(pageops_bench delete "$REFMAN") || { echo "failed: pageops_bench delete" >&2; return 1; }
    walls="$walls ${out% *}"
    cpus="$cpus ${out#* }"
  done
  echo "BENCH delete-100-refman value=$(median $walls)ms"
  echo "BENCH delete-100-refman-cpu value=$(median $cpus)ms"
}
