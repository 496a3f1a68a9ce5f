#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release
for b in build/release/bench/bench_*; do [ -x "$b" ] && "$b" "$@"; done
