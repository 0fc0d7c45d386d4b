# Helpers shared by the benchmark scripts.
MANUALS=/usr/share/R/doc/manual
REFMAN=$MANUALS/refman.pdf
OCTAVE=/usr/share/doc/octave/octave.pdf

# Wall-clock seconds of the best of three runs of a command.
best_of_3() {
  local best=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    end=$(date +%s.%N)
    best=$(awk -v a="$best" -v s="$start" -v e="$end" 'BEGIN { t = e - s; if (a == "" || t < a) a = t; printf "%.3f", a }')
  done
  echo "$best"
}

# BENCH line comparing our time with the peer's.
report_ratio() {
  awk -v n="$1" -v o="$2" -v p="$3" 'BEGIN { printf "BENCH %s ours=%s peer=%s ratio=%.2f\n", n, o, p, o / p }'
}
