# Image and Stamp tool benchmarks. Sourced by bench/run.sh, which provides BUILD and the helpers
# of common.sh.

stamps_bench() {
  local home status
  home=$(mktemp -d)
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    QT_QPA_PLATFORM=offscreen "$BUILD/bench/stamps_bench" "$@" 2>/dev/null
  status=$?
  rm -rf "$home"
  return $status
}

# Bytes the file grew after a 12-megapixel JPEG was placed and saved, over the JPEG's bytes.
bench_picture_growth() {
  local gnuplot result
  gnuplot=$(dpkg -L gnuplot-doc 2>/dev/null | grep -m1 '/gnuplot\.pdf$' || true)
  [[ -n "$gnuplot" && -f "$gnuplot" ]] || { echo "failed: gnuplot.pdf (gnuplot-doc) not found" >&2; return 1; }
  result=$(stamps_bench picture-growth "$gnuplot") || { echo "failed: stamps_bench picture-growth" >&2; return 1; }
  read -r ratio grew jpeg <<<"$result"
  echo "BENCH picture-growth value=${ratio} grew=${grew}B jpeg=${jpeg}B target<=1.05"
}

# From the Stamp button to the picker with all 23 cells painted: the window's first opening is
# the value (what a user waits for), later openings are shown beside it.
bench_stamp_picker_open() {
  local result first best
  result=$(stamps_bench stamp-picker-open) || { echo "failed: stamps_bench stamp-picker-open" >&2; return 1; }
  read -r first best <<<"$result"
  echo "BENCH stamp-picker-open value=${first}ms later=${best}ms target<50ms"
}
