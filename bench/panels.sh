# Side-panel benchmarks: the Contents tab on octave.pdf and the highlights list of a heavily
# annotated document. Sourced by bench/run.sh, which provides BUILD and the helpers of common.sh.

OCTAVE=/usr/share/doc/octave/octave.pdf

panels_bench() {
  local home status
  home=$(mktemp -d)
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    QT_QPA_PLATFORM=offscreen "$BUILD/bench/panels_bench" "$@" 2>/dev/null
  status=$?
  rm -rf "$home"
  return $status
}

# ms from the Contents tab being shown on octave.pdf to its tree painted; best of three.
bench_outline_octave() {
  local best="" ms
  for _ in 1 2 3; do
    ms=$(panels_bench outline "$OCTAVE") || { echo "failed: panels_bench outline" >&2; return 1; }
    best=$(awk -v a="$best" -v b="$ms" 'BEGIN { if (a == "" || b < a) a = b; printf "%.1f", a }')
  done
  echo "BENCH outline-octave value=${best}ms"
}

# Longest GUI-thread block (ms) while the highlights list of 2,000 annotations refills after
# one annotation is added; worst of three.
bench_annotation_list_2000() {
  local worst="" ms
  for _ in 1 2 3; do
    ms=$(panels_bench annotations 2000) || { echo "failed: panels_bench annotations" >&2; return 1; }
    worst=$(awk -v a="$worst" -v b="$ms" 'BEGIN { if (a == "" || b > a) a = b; printf "%.1f", a }')
  done
  echo "BENCH annotation-list-2000 value=${worst}ms"
}
