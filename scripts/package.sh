#!/usr/bin/env bash
# Builds the Debian package tessaly_<version>_<arch>.deb into build-package/ (or
# $TESSALY_PACKAGE_BUILD_DIR) with Debian's hardening flags, then checks it with lintian.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSALY_PACKAGE_BUILD_DIR:-$top/build-package}
"$top/scripts/setup.sh"
# The changelog and the metadata carry the date of the last commit, not the day of the build.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
# Read by CMake when it first configures the build folder; CMake knows no CPPFLAGS.
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DTESSALY_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
rm -f "$build"/tessaly_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/tessaly_*.deb)
lintian --fail-on error "$deb"
echo "$deb"
