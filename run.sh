#!/usr/bin/env bash
# Installs what is missing, builds, prepares an empty shop database when there is none and
# starts 远航五交化销售管理系统. The shop's data lives in run/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
mkdir -p run
install -m 755 build/Harbor run/Harbor
cd run
[ -f Harbor.accdb ] || ./Harbor --init-db Harbor.accdb
[ -f Lanset.ini ] || ./Harbor --init-lanset Lanset.ini
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under Xvfb."
  exec xvfb-run -a -s "-screen 0 1600x900x24" ./Harbor "$@"
fi
exec ./Harbor "$@"
