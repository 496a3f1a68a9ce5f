#!/usr/bin/env bash
# Builds every target under AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTRATALOG_SANITIZE=ON >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j"$(nproc)" "$@"
