#!/usr/bin/env bash
# The package as a shop gets it: builds it (from the build folder BUILD, build/ by default),
# installs it with apt-get, runs the installed program on an empty shop of a fresh user,
# purges it and checks that nothing of it stays in /usr.
#   scripts/package-check.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
deb=$(scripts/package.sh "$build" | tail -n 1)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -qq "$deb" >/dev/null
installed=$(dpkg-query -L harbor)

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fail() {
  echo "package check: $*" >&2
  $sudo apt-get purge -y -qq harbor >/dev/null || true
  exit 1
}
run() { env HOME="$home" XDG_DATA_HOME="$home/share" QT_QPA_PLATFORM=offscreen /usr/bin/Harbor "$@"; }

version=$(run --version) || fail "Harbor --version failed"
[ "$version" = "Harbor $(sed -n 's/^project(Harbor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] ||
  fail "Harbor --version printed '$version'"
where=$(run --where) || fail "Harbor --where failed"
[ "$where" = "$home/share/Harbor" ] || fail "Harbor --where printed '$where', not the user's data folder"
run --make-empty || fail "Harbor --make-empty failed"
[ -f "$where/Harbor.accdb" ] && [ -f "$where/Lanset.ini" ] || fail "no empty shop in $where"
run --check || fail "Harbor --check failed on the empty shop"
[ ! -e /usr/bin/Lanset.ini ] && [ ! -e /usr/bin/Harbor.accdb ] || fail "the shop was made in /usr/bin"

$sudo apt-get purge -y -qq harbor >/dev/null
if dpkg-query -W -f='${Status}' harbor 2>/dev/null | grep -q installed; then
  fail "harbor is still installed"
fi
left=()
while IFS= read -r path; do
  case "$path" in /usr/*) [ -f "$path" ] || [ -L "$path" ] && left+=("$path") ;; esac
done <<<"$installed"
[ -d /usr/share/doc/harbor ] && left+=(/usr/share/doc/harbor)
[ ${#left[@]} -eq 0 ] || fail "left in /usr after purge: ${left[*]}"
echo "package check passed: $(basename "$deb")"
