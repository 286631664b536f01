#!/usr/bin/env bash
# Sets up, builds and starts Tessaly in its working directory (build/run).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "${TESSALY_BUILD_DIR:-$top/build}/run"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" ./tessaly
fi
exec ./tessaly
