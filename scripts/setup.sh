#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt that are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sudo=""
[[ $(id -u) -ne 0 ]] && sudo=sudo
missing=()
while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done < "$here/packages.txt"
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The local S3 store the tests start, in the project's own folder (ignored by git).
if [[ ! -x "$here/../build-tools/node_modules/.bin/s3rver" ]]; then
    # Debian's nodejs comes without npm; a Node.js of NodeSource's brings its own, with which
    # Debian's npm package conflicts.
    if ! command -v npm >/dev/null; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
    fi
    npm install --prefix "$here/../build-tools" --no-audit --no-fund s3rver@3.7.1
fi
