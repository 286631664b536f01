#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "${TESSALY_BUILD_DIR:-$top/build}"
ctest --output-on-failure --timeout 600 "$@"
"$top/scripts/fuzz-build.sh"
