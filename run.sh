#!/usr/bin/env bash
# Installs what is missing, builds, prepares an empty shop database when there is none and
# starts 远航五交化销售管理系统. The shop's data lives in run/.
#   ./run.sh --demo   starts the program on a small demo shop in demo/ instead (run/ is untouched)
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
folder=run
if [ "${1:-}" = "--demo" ]; then
  shift
  folder=demo
fi
mkdir -p "$folder"
install -m 755 build/Harbor "$folder/Harbor"
cd "$folder"
if [ "$folder" = demo ]; then
  [ -f Harbor.accdb ] || ./Harbor --make-demo Harbor.accdb --products 3000 --years 3 --documents 4000
else
  [ -f Harbor.accdb ] || ./Harbor --init-db Harbor.accdb
fi
[ -f Lanset.ini ] || ./Harbor --init-lanset Lanset.ini
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under Xvfb."
  exec xvfb-run -a -s "-screen 0 1600x900x24" ./Harbor "$@"
fi
exec ./Harbor "$@"
