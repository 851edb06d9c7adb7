#!/usr/bin/env bash
# Builds and runs every test: each fuzz target for a bounded time, then the
# suites under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=${KX_JOBS:-2}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_FUZZ=ON \
  -DKX_FUZZ_SECONDS="${KX_FUZZ_SECONDS:-20}" > /dev/null
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz -j"$jobs" --output-on-failure

# The Windows build, for the suite's tests under Wine (run when CI or
# KX_WINDOWS_TESTS is set).
if [ -n "${CI:-}${KX_WINDOWS_TESTS:-}" ]; then
  bash scripts/windows.sh build
fi

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKX_SANITIZE=ON > /dev/null
cmake --build build-test -j"$jobs"
ctest --test-dir build-test -j"$jobs" --output-on-failure
