#!/usr/bin/env bash
# Collects the translatable texts of the sources into translations/TSL_*.ts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
/usr/lib/qt6/bin/lupdate -no-obsolete -locations none app ui updater profiles playlist publish feed audio ftp locations \
    -ts translations/TSL_en.ts translations/TSL_es.ts
