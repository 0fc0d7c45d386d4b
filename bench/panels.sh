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

# The median of five runs: on a machine shared with other work a single run may lose the
# processor for tens of milliseconds, which says nothing about this program.
median_of_five() {
  local runs="" ms
  for _ in 1 2 3 4 5; do
    ms=$(panels_bench "$@") || { echo "failed: panels_bench $*" >&2; return 1; }
    runs="$runs $ms"
  done
  echo "$runs" | tr ' ' '\n' | sed '/^$/d' | sort -n | sed -n 3p
}

# ms from the Contents tab being shown on octave.pdf (once its first page is drawn) to the first
# paint of the tree with every top-level entry laid out.
bench_outline_octave() {
  local ms
  ms=$(median_of_five outline "$OCTAVE") || return 1
  echo "BENCH outline-octave value=${ms}ms"
}

# Longest GUI-thread block (ms) from one annotation being added to a document of 2,000 until the
# highlights list shows it.
bench_annotation_list_2000() {
  local ms
  ms=$(median_of_five annotations 2000) || return 1
  echo "BENCH annotation-list-2000 value=${ms}ms"
}
