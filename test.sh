#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole suite headless.
#   ./test.sh              the suite
#   ./test.sh --sanitize   the suite under AddressSanitizer and UndefinedBehaviorSanitizer
#   ./test.sh --fuzz SECS  the PDF fuzzer for SECS seconds on its seed corpus
set -euo pipefail
cd "$(dirname "$0")"
JOBS=$(nproc)

case "${1:-}" in
  --sanitize)
    bash scripts/install-deps.sh
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUIRNA_SANITIZE=ON >/dev/null
    cmake --build build-sanitize -j "$JOBS"
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir build-sanitize --output-on-failure -j "$JOBS"
    ;;
  --fuzz)
    SECS=${2:-60}
    bash scripts/install-deps.sh --fuzz
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUIRNA_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j "$JOBS" --target fuzz_pdf_document
    exec bash fuzz/run.sh build-fuzz/fuzz/fuzz_pdf_document "$SECS"
    ;;
  "")
    bash scripts/install-deps.sh
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$JOBS"
    ctest --test-dir build --output-on-failure -j "$JOBS"
    ;;
  *)
    echo "usage: $0 [--sanitize | --fuzz SECONDS]" >&2
    exit 2
    ;;
esac
