#!/usr/bin/env bash
# The benchmark suite: builds the timing programs (Release, in build-bench/), makes or reuses a
# large demo shop, and prints one table of the program's actions beside their baselines
# (medians of interleaved runs). Not part of ./test.sh.
#
#   scripts/bench.sh [--fresh] [--runs N] [--only WORD]
#
# HARBOR_BENCH_SHOP   the shop to measure (default build-bench/bench-shop/large.accdb, made
#                     with "Harbor --make-demo" when missing: 100,000 products, 10 years)
# HARBOR_BENCH_BUILD  the build folder (default build-bench)
# The shop itself is never changed: the suite works on a copy beside it in the build folder
# (upgraded to the program's schema on its first open, and written to by the save rows), made
# again with --fresh or when the shop is newer.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${HARBOR_BENCH_BUILD:-build-bench}
fresh=0
args=()
for arg in "$@"; do
  if [ "$arg" = --fresh ]; then fresh=1; else args+=("$arg"); fi
done

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target Harbor bench_actions bench_raw bench_grid bench_startup -j2

export QT_QPA_PLATFORM=offscreen
mkdir -p "$build/bench-shop"
shop=${HARBOR_BENCH_SHOP:-$build/bench-shop/large.accdb}
if [ ! -f "$shop" ]; then
  echo "Making the large demo shop $shop (a few minutes) ..."
  "$build/Harbor" --make-demo "$shop" --products 100000 --years 10
fi
work="$build/bench-shop/work.accdb"
if [ $fresh = 1 ] || [ ! -f "$work" ] || [ "$shop" -nt "$work" ]; then
  echo "Copying $shop to $work ..."
  rm -f "$work" "$work-wal" "$work-shm"
  cp "$shop" "$work"
fi

echo "machine: $(nproc) cores; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench_actions" --db "$work" --raw "$build/bench_raw" --grid "$build/bench_grid" \
  --startup "$build/bench_startup" "${args[@]}"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
