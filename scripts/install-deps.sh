#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test, when they are missing.
#   scripts/install-deps.sh --package   also the tools that build and check the Debian package
set -euo pipefail
packages=(cmake g++ make ccache qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libsqlite3-dev unixodbc libsqliteodbc
          fonts-wqy-microhei fonts-arphic-uming fonts-arphic-ukai xvfb xauth
          postgresql odbc-postgresql libzint-dev zbar-tools poppler-utils libxlsxwriter-dev python3-openpyxl
          clang libclang-rt-14-dev libfuzzer-14-dev qt6-translations-l10n libsodium-dev qtkeychain-qt6-dev)
if [ "${1:-}" = "--package" ]; then
  packages+=(dpkg-dev file lintian desktop-file-utils appstream)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
