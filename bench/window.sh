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

# Median and largest of five runs' longest GUI-thread blocks (ms): one run's longest block is
# too noisy to compare on its own. Arguments: the window_bench mode and its arguments.
stall_median_of_5() {
  local runs=() ms
  for _ in 1 2 3 4 5; do
    ms=$(window_bench "$@") || { echo "failed: window_bench $*" >&2; return 1; }
    runs+=("$ms")
  done
  printf '%s\n' "${runs[@]}" | sort -g | awk '{ v[NR] = $1 } END { printf "value=%sms worst=%sms", v[3], v[5] }'
}

# Longest GUI-thread block while the view scrolls a wheel step per frame through 300 pages.
bench_gui_stall_scroll() {
  local plain busy
  plain=$(stall_median_of_5 stall "$REFMAN" 300) || return 1
  echo "BENCH gui-stall-scroll $plain"
  # The same while a search and a thumbnail column work in the background.
  busy=$(stall_median_of_5 stall "$REFMAN" 300 busy) || return 1
  echo "BENCH gui-stall-scroll-busy $busy"
}

# Longest GUI-thread block while page 100 is zoomed from fit width through every zoom step to
# the largest and back.
bench_gui_stall_zoom() {
  local result
  result=$(stall_median_of_5 zoom "$REFMAN" 100) || return 1
  echo "BENCH gui-stall-zoom $result"
}

# Resident memory (MB) after paging through the whole document, each screenful rendered.
bench_rss_scroll_all() {
  local mb
  mb=$(window_bench rss "$REFMAN") || { echo "failed: window_bench rss" >&2; return 1; }
  echo "BENCH rss-scroll-all value=${mb}MB"
}

# The same on a large manual full of images (Debian's octave-doc: octave.pdf, 1,158 pages).
bench_rss_scroll_all_octave() {
  local mb
  [[ -f "$OCTAVE" ]] || { echo "missing $OCTAVE (install octave-doc)" >&2; return 1; }
  mb=$(window_bench rss "$OCTAVE") || { echo "failed: window_bench rss" >&2; return 1; }
  echo "BENCH rss-scroll-all-octave value=${mb}MB"
}
