#!/usr/bin/env bash
# Installs the Debian packages Quirna builds, runs and tests with; only the missing ones.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libqt6sql6-sqlite
  qt6-l10n-tools qt6-tools-dev qt6-tools-dev-tools libgl-dev qt6-translations-l10n
  libmupdf-dev libmujs-dev libgumbo-dev libjbig2dec0-dev libharfbuzz-dev libfreetype-dev
  libjpeg-dev libopenjp2-7-dev zlib1g-dev libqpdf-dev
  fonts-noto-cjk fonts-dejavu-core
  qpdf poppler-utils mupdf-tools imagemagick
  desktop-file-utils appstream
)
if [[ "${1:-}" == "--fuzz" ]]; then
  PACKAGES+=(clang libclang-rt-14-dev)
fi
if [[ "${1:-}" == "--bench" ]]; then
  PACKAGES+=(r-doc-pdf octave-doc xvfb gnuplot-doc img2pdf)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"
echo "Installing: ${missing[*]}" >&2
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
