# Document-window benchmarks on refman.pdf: start-up, scrolling smoothness and memory. Sourced
# by bench/run.sh, which provides BUILD, REFMAN and the helpers of common.sh.

# Runs window_bench in a throw-away home, since the window reads and writes preferences and caches.
window_bench() {
  local home status
  home=$(mktemp -d)
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    QT_QPA_PLATFORM=offscreen "$BUILD/bench/window_bench" "$@" 2>/dev/null
  status=$?
  rm -rf "$home"
  return $status
}

# Seconds from process start until page 1 is painted in the document window; best of three.
bench_first_paint_refman() {
  local best="" s
  for _ in 1 2 3; do
    s=$(window_bench first-paint "$REFMAN") || { echo "failed: window_bench first-paint" >&2; return 1; }
    best=$(awk -v a="$best" -v b="$s" 'BEGIN { if (a == "" || b < a) a = b; printf "%.3f", a }')
  done
  echo "BENCH first-paint-refman value=${best}s"
}

# Longest GUI-thread block (ms) while the view scrolls a wheel step per frame through 300 pages.
bench_gui_stall_scroll() {
  local ms
  ms=$(window_bench stall "$REFMAN" 300) || { echo "failed: window_bench stall" >&2; return 1; }
  echo "BENCH gui-stall-scroll value=${ms}ms"
}

# Resident memory (MB) after paging through the whole document, each screenful rendered.
bench_rss_scroll_all() {
  local mb
  mb=$(window_bench rss "$REFMAN") || { echo "failed: window_bench rss" >&2; return 1; }
  echo "BENCH rss-scroll-all value=${mb}MB"
}
