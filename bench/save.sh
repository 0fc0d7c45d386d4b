# Save benchmarks: saving refman.pdf over itself through the engine, as the Save command does.
# Sourced by bench/run.sh.

SAVE_BENCH=${BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}/bench/save_bench

# One rectangle added, then saved over the file: the save's own time and how much the file grew,
# beside mutool adding the same rectangle and saving incrementally (in place, unsynced).
bench_save_refman_annot() {
  local w; w=$(mktemp -d)
  local best="" line ms growth
  for _ in 1 2 3; do
    cp "$REFMAN" "$w/ours.pdf"
    line=$("$SAVE_BENCH" annot "$w/ours.pdf")
    ms=$(sed -E 's/.*ms=([0-9]+).*/\1/' <<<"$line")
    growth=$(sed -E 's/.*growth=([0-9-]+).*/\1/' <<<"$line")
    if [[ -z "$best" || "$ms" -lt "$best" ]]; then best=$ms; fi
  done
  qpdf --check "$w/ours.pdf" >/dev/null 2>&1 || echo "save-refman-annot: qpdf --check failed" >&2
  cat >"$w/peer.js" <<'JS'
var doc = new PDFDocument(scriptArgs[0]);
var annot = doc.loadPage(0).createAnnotation("Square");
annot.setRect([100, 100, 300, 250]);
annot.update();
doc.save(scriptArgs[0], "incremental");
JS
  cp "$REFMAN" "$w/peer.pdf"
  mutool run "$w/peer.js" "$w/peer.pdf"
  local peer_growth=$(( $(stat -c %s "$w/peer.pdf") - $(stat -c %s "$REFMAN") ))
  echo "BENCH save-refman-annot ms=$best growth=$growth peer_growth=$peer_growth"
  rm -rf "$w"
}

# Page 2 deleted, then saved: the saved size over that of qpdf writing the same pages with
# object streams. The deleted page's text must be gone from the file.
bench_save_refman_delete() {
  local w; w=$(mktemp -d)
  cp "$REFMAN" "$w/ours.pdf"
  local line; line=$("$SAVE_BENCH" delete "$w/ours.pdf" 2)
  qpdf "$REFMAN" --pages . 1,3-z -- --object-streams=generate "$w/peer.pdf"
  local ours peer; ours=$(stat -c %s "$w/ours.pdf"); peer=$(stat -c %s "$w/peer.pdf")
  # A line of page 2 that no other page has: present in the original, absent from the save.
  pdftotext "$REFMAN" "$w/all.txt"
  local probe; probe=$(pdftotext -f 2 -l 2 "$REFMAN" - | awk 'length > 25' | while read -r l; do
    [[ $(grep -cxF -- "$l" "$w/all.txt") == 1 ]] && { echo "$l"; break; }; done)
  local left="unknown"
  if [[ -n "$probe" ]]; then left=$(pdftotext "$w/ours.pdf" - | grep -cxF -- "$probe" || true); fi
  qpdf --check "$w/ours.pdf" >/dev/null 2>&1 || echo "save-refman-delete: qpdf --check failed" >&2
  awk -v o="$ours" -v p="$peer" -v l="$left" -v t="$line" 'BEGIN {
    split(t, f, /[ =]/); printf "BENCH save-refman-delete value=%.3f ours=%d peer=%d ms=%s deleted_text_left=%s\n", o / p, o, p, f[2], l }'
  rm -rf "$w"
}
