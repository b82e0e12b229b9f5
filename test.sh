#!/usr/bin/env bash
# Installs what is missing, builds and runs every test offscreen: once on SQLite files and once
# on a throw-away PostgreSQL server of its own (label "postgres"), which is stopped at the end
# whatever the tests did.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
source scripts/test-env.sh
start_test_server build
cd build
ctest --output-on-failure -j"$(nproc)"
