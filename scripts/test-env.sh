# Sourced by the test scripts: the environment every test run shares.
# shellcheck shell=bash
export QT_QPA_PLATFORM=offscreen
export LC_ALL=C.UTF-8
# Qt wants a private runtime folder; CI and containers often have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/runtime-$(id -u)"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
