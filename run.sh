#!/usr/bin/env bash
# Installs what is missing, builds when out of date, and launches Quirna.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
bash scripts/install-deps.sh
[[ -f build/build.ninja ]] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target quirna
args=()
for f in "$@"; do
  [[ "$f" = /* || "$f" = -* ]] && args+=("$f") || args+=("$ROOT/$f")
done
exec build/quirna "${args[@]}"
