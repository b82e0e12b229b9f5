#!/usr/bin/env bash
# Builds the Debian package harbor_<version>_<arch>.deb into the project's folder and checks it:
# lintian (no errors), desktop-file-validate and appstreamcli validate.
#   scripts/package.sh [BUILD]   BUILD: an existing build folder to package from; without it
#                                the package is built from a Release build in build-package/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh --package
build=${1:-build-package}
if [ $# -eq 0 ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
else
  cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target Harbor harbor_package_files
rm -f "$build"/harbor_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/harbor_*.deb)
mv -f "$deb" "$root/"
deb="$root/$(basename "$deb")"

desktop-file-validate packaging/cn.yuanhang.Harbor.desktop
appstreamcli validate --no-net packaging/cn.yuanhang.Harbor.metainfo.xml
# Errors fail the package; warnings are printed for the record.
lintian --fail-on error "$deb"
echo "$deb"
