#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop gets: the program and
# quirna-tool, a valid desktop entry that handles PDF files, the icon at both sizes, valid
# AppStream data and both translation tables of every area.
#   check-install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

[[ -x $prefix/bin/quirna ]] || fail "quirna not installed"
[[ -x $prefix/bin/quirna-tool ]] || fail "quirna-tool not installed"
"$prefix/bin/quirna-tool" --help >/dev/null || fail "installed quirna-tool does not run"

desktop=$prefix/share/applications/org.quirna.Quirna.desktop
[[ -f $desktop ]] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'MimeType=application/pdf;' "$desktop" || fail "desktop entry does not handle application/pdf"
grep -qx 'Exec=quirna %F' "$desktop" || fail "desktop entry does not pass the files"
grep -q '^Categories=.*Office;.*Viewer;' "$desktop" || fail "categories"
icon=$(sed -n 's/^Icon=//p' "$desktop")

[[ -f $prefix/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no scalable icon"
png=$prefix/share/icons/hicolor/256x256/apps/$icon.png
[[ -f $png ]] || fail "no 256 px icon"
# Width and height are the big-endian words at bytes 16 and 20 of a PNG.
size=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
[[ $size == 256x256 ]] || fail "icon is $size"

metainfo=$prefix/share/metainfo/org.quirna.Quirna.metainfo.xml
[[ -f $metainfo ]] || fail "no AppStream data"
appstreamcli validate --no-net "$metainfo" >/dev/null || { appstreamcli validate --no-net "$metainfo"; fail "appstreamcli validate"; }
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" || fail "metainfo names another desktop entry"

for table in "$source"/resources/translations/*_en.ts; do
  area=$(basename "$table" _en.ts)
  for language in en zh_CN; do
    [[ -s $prefix/share/quirna/translations/${area}_$language.qm ]] || fail "no ${area}_$language.qm installed"
  done
done
echo "installed and valid"
