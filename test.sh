#!/usr/bin/env bash
# Installs what is missing, builds and runs every test offscreen: once on SQLite files and once
# on a throw-away PostgreSQL server of its own (label "postgres"), which is stopped at the end
# whatever the tests did.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen

server_dir="$PWD/build/test-server"
server="$PWD/scripts/test-server.sh"
port=${HARBOR_TEST_PGPORT:-55432}
trap '"$server" stop "$server_dir"' EXIT
"$server" stop "$server_dir"
"$server" start "$server_dir" "$port"
export HARBOR_TEST_PGHOST=127.0.0.1 HARBOR_TEST_PGPORT=$port
HARBOR_TEST_PGPASSWORD=$(cat "$server_dir/password")
export HARBOR_TEST_PGPASSWORD
# The program reaches its server on libpq's default port: the tests' server is on this one.
export PGPORT=$port

cd build
ctest --output-on-failure -j"$(nproc)"
