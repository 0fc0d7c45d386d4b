#!/usr/bin/env bash
# Installs what is missing, builds when out of date, and launches Quirna.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
bash scripts/install-deps.sh
[[ -f build/build.ninja ]] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# ./run.sh --install [PREFIX]: builds and installs the program, quirna-tool, the desktop entry,
# icons, AppStream data and translations (default prefix ~/.local, which needs no root).
if [[ "${1:-}" == "--install" ]]; then
  prefix=${2:-$HOME/.local}
  cmake --build build --target quirna quirna-tool
  cmake --install build --prefix "$prefix"
  command -v update-desktop-database >/dev/null && update-desktop-database -q "$prefix/share/applications" || true
  command -v gtk-update-icon-cache >/dev/null && gtk-update-icon-cache -q -t "$prefix/share/icons/hicolor" || true
  exit 0
fi
cmake --build build --target quirna
args=()
for f in "$@"; do
  [[ "$f" = /* || "$f" = -* ]] && args+=("$f") || args+=("$ROOT/$f")
done
exec build/quirna "${args[@]}"
