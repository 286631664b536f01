#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
# The fuzz target of the FTP parsers is built too, so that it never rots.
"$top/scripts/fuzz-build.sh"
cd "${TESSALY_BUILD_DIR:-$top/build}"
ctest --output-on-failure --timeout 600 "$@"
