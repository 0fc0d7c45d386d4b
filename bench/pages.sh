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
  # What the speed costs in file size: our PNG files' bytes ÷ mutool's.
  awk -v o="$(cat "$w"/refman-images/*.png | wc -c)" -v p="$(cat "$w"/peer-*.png | wc -c)" \
      'BEGIN { printf "BENCH export-png-50-size value=%.2f\n", o / p }'
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

PAGES_GNUPLOT=${PAGES_GNUPLOT:-/usr/share/doc/gnuplot/gnuplot.pdf}

# value: watermarked size ÷ source size; ratio: our time ÷ qpdf overlaying a one-page PDF that
# holds the same text on every page.
bench_watermark_gnuplot() {
  local w; w=$(mktemp -d)
  local ours peer
  ours=$(pages_time "$PAGES_TOOL" watermark "$PAGES_GNUPLOT" "$w/ours.pdf" --text DRAFT --size 72 --color '#ff000060')
  # The peer's overlay: one page of the same size with the same text in a standard font.
  cat >"$w/raw.pdf" <<'PDF'
%PDF-1.4
1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj
2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj
3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R
  /Resources << /Font << /F0 5 0 R >> >> >> endobj
4 0 obj << /Length 60 >> stream
BT /F0 72 Tf 0.7071 0.7071 -0.7071 0.7071 200 300 Tm (DRAFT) Tj ET
endstream endobj
5 0 obj << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> endobj
trailer << /Root 1 0 R >>
%%EOF
PDF
  qpdf "$w/raw.pdf" "$w/one.pdf" >/dev/null 2>&1 || true
  peer=$(pages_time qpdf "$PAGES_GNUPLOT" --overlay "$w/one.pdf" --repeat=1 -- "$w/peer.pdf")
  awk -v n=watermark-gnuplot -v s="$(stat -c %s "$w/ours.pdf")" -v src="$(stat -c %s "$PAGES_GNUPLOT")" \
      -v o="$ours" -v p="$peer" 'BEGIN { printf "BENCH %s value=%.2f ratio=%.2f\n", n, s / src, o / p }'
  rm -rf "$w"
}

# Twenty 4000 × 3000 photos (8 JPEG, 6 PNG, 6 JPEG 2000) onto A4 pages, against img2pdf, which
# embeds the files as they are where we redraw each at its fitted size.
bench_images_20() {
  local w; w=$(mktemp -d)
  local ours peer i files=()
  convert -size 1000x750 plasma:fractal -resize 4000x3000! "$w/base.ppm"
  for i in $(seq 1 20); do
    local ext=jpg
    ((i > 8)) && ext=png
    ((i > 14)) && ext=jp2
    convert "$w/base.ppm" -roll "+$((i * 97))+$((i * 53))" -modulate 100,100,$((80 + i * 2)) -quality 90 "$w/photo$i.$ext"
    files+=("$w/photo$i.$ext")
  done
  ours=$(pages_time "$PAGES_TOOL" images "$w/ours" --size 7 "${files[@]}")
  peer=$(pages_time img2pdf --pagesize A4 -o "$w/peer.pdf" "${files[@]}")
  pages_ratio images-20 "$ours" "$peer"
  rm -rf "$w"
}
