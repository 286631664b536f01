#!/usr/bin/env bash
# Builds the libFuzzer target of the FTP parsers with clang into build-fuzz/ (or $TESSALY_FUZZ_BUILD_DIR).
# Run it with, for instance: build-fuzz/ftpparsers_fuzz -max_total_time=300 ftp/fuzz/corpus
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSALY_FUZZ_BUILD_DIR:-$top/build-fuzz}
cmake -S "$top/ftp/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
