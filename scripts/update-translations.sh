#!/usr/bin/env bash
# Collects the translatable texts of the sources into translations/TSL_*.ts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
/usr/lib/qt6/bin/lupdate -no-obsolete -locations none app ui updater profiles playlist publish feed audio remote ftp sftp s3 locations \
    -ts translations/TSL_en.ts translations/TSL_es.ts
# French is the source language everywhere but in the remote clients.
/usr/lib/qt6/bin/lupdate -no-obsolete -locations none remote ftp sftp s3 -ts translations/TSL_fr.ts
