#!/usr/bin/env bash
# Writes a seed corpus of small, mostly broken PDFs into the folder given.
set -euo pipefail
out=$1
mkdir -p "$out"

good() { # a valid one-page PDF with text, an annotation and an outline; $1 more catalog entries,
         # $2 more objects (numbered from 8)
  local body="1 0 obj <</Type/Catalog/Pages 2 0 R/Outlines 6 0 R${1:-}>> endobj
2 0 obj <</Type/Pages/Kids[3 0 R]/Count 1>> endobj
3 0 obj <</Type/Page/Parent 2 0 R/MediaBox[0 0 200 200]/Contents 4 0 R/Annots[5 0 R]/Resources<</Font<</F1<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>>>>>>> endobj
4 0 obj <</Length 44>>stream
BT /F1 12 Tf 20 100 Td (Hello fuzz) Tj ET
endstream endobj
5 0 obj <</Type/Annot/Subtype/Square/Rect[10 10 50 50]/C[1 0 0]/Contents(box)>> endobj
6 0 obj <</Type/Outlines/First 7 0 R/Last 7 0 R/Count 1>> endobj
7 0 obj <</Title(Start)/Parent 6 0 R/Dest[3 0 R/XYZ 0 200 null]>> endobj
${2:-}"
  printf '%%PDF-1.7\n%s' "$body"
  printf 'xref\n0 8\n0000000000 65535 f \n'
  printf 'trailer <</Size 8/Root 1 0 R>>\nstartxref\n9999\n%%%%EOF\n'
}

good > "$out/good.pdf"
head -c 200 "$out/good.pdf" > "$out/truncated.pdf"
head -c 600 "$out/good.pdf" > "$out/truncated-stream.pdf"
good | sed 's/^xref/xref garbage 12 x/' > "$out/garbage-xref.pdf"
good | sed 's/\/Count 1>> endobj/\/Count 0\/Kids[]>> endobj/' > "$out/zero-pages.pdf"
good | sed 's/trailer <</trailer <<\/Encrypt <<\/Filter\/Standard\/V 5\/R 6\/O(x)\/U(y)\/P -4>>/' > "$out/bad-encrypt.pdf"
good | sed 's/\/Parent 6 0 R/\/Parent 7 0 R\/Next 7 0 R\/First 7 0 R/' > "$out/outline-cycle.pdf"
good | sed 's/\/Kids\[3 0 R\]/\/Kids[2 0 R 3 0 R]/' > "$out/page-tree-cycle.pdf"
printf '%%PDF-1.4\n' > "$out/header-only.pdf"
printf 'not a pdf at all' > "$out/not-pdf.bin"
# Hostile structure: every graph walk must end, and one page numbering must hold.
good | sed 's/\/Title(Start)\/Parent 6 0 R/\/Title(Start)\/Parent 6 0 R\/First 7 0 R\/Last 7 0 R\/Count 1/' > "$out/outline-child-cycle.pdf"
good | sed 's/\/Title(Start)\/Parent 6 0 R/\/Title(Start)\/Parent 6 0 R\/First 6 0 R\/Last 6 0 R/' > "$out/outline-ancestor-cycle.pdf"
good | sed 's/\/Kids\[3 0 R\]\/Count 1/\/Kids[3 0 R 3 0 R]\/Count 2/' > "$out/page-tree-duplicate.pdf"
good | sed 's/\/Kids\[3 0 R\]\/Count 1/\/Kids[3 0 R 8 0 R]\/Count 3\/Parent 2 0 R/' \
  | sed 's/^xref/8 0 obj <<\/Type\/Pages\/Parent 8 0 R\/Kids[8 0 R 3 0 R]\/Count 9>> endobj\nxref/' > "$out/page-parent-cycle.pdf"
good '/PageLabels 8 0 R' '8 0 obj <</Kids[8 0 R 8 0 R 9 0 R]/Nums[0<</S/r/P(x)>>]>> endobj
9 0 obj <</Kids[8 0 R]/Nums[0<</S/A/St 2147483647>>]>> endobj
' > "$out/page-labels-cycle.pdf"
good '/Names<</Dests 8 0 R>>' '8 0 obj <</Kids[8 0 R]/Limits[(a)(z)]>> endobj
' | sed 's/\/Dest\[3 0 R\/XYZ 0 200 null\]/\/Dest(nowhere)/' > "$out/name-tree-cycle.pdf"
good | sed 's/\/MediaBox\[0 0 200 200\]/\/MediaBox[0 0 40000 40000]/' > "$out/huge-page.pdf"
good | sed 's/\/MediaBox\[0 0 200 200\]/\/MediaBox[-1e30 -1e30 1e30 1e30]\/UserUnit 75000/' > "$out/absurd-page.pdf"
good | sed 's/\/MediaBox\[0 0 200 200\]//; s/\/Kids\[3 0 R\]\/Count 1/\/Kids[3 0 R]\/Count 1\/MediaBox[0 0 14400 14400]\/Rotate 90/' > "$out/huge-inherited-box.pdf"
good | sed 's/\/Contents(box)>>/\/Contents(box)\/AP 8 0 R>>/' \
  | sed 's/^xref/8 0 obj <<\/N 8 0 R\/D <<\/Off 8 0 R>> >> endobj\nxref/' > "$out/appearance-cycle.pdf"
