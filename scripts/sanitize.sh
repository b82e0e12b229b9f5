#!/usr/bin/env bash
# Builds the program and all its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (gcc) into build-asan/ and runs every test there. Any memory error, leak or undefined
# behaviour fails the test that met it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
source scripts/test-env.sh

jobs="${HARBOR_JOBS:-$(nproc)}"
cmake -S . -B build-asan -DHARBOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
cmake --build build-asan -j"$jobs"
start_test_server build-asan

# Leaks are reported at exit, Qt's included: none needs a suppression.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan
ctest --output-on-failure -j"$jobs" "$@"
