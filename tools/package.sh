#!/usr/bin/env bash
# Builds the Debian package from the release preset and checks it: lintian must report no
# errors, and the AppStream metainfo it carries must validate. Prints the package's path.
# Install it with: sudo apt install ./build/release/tellurix_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release "$@" >/dev/null
cmake --build --preset release
rm -f build/release/tellurix_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/tellurix_*.deb)

lintian --fail-on error --display-info "$deb"

contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml

echo "$deb"
