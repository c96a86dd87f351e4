#!/usr/bin/env bash
# Builds qxsetup and runs the whole test suite twice: a normal build in build/ and an
# AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/. Fails on any test failure
# or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

echo "== normal build =="
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure
scripts/check-layers.sh build

echo "== sanitizer build (ASan + UBSan) =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build-asan -j"$jobs" --output-on-failure
echo "All tests passed in both builds."

echo "== fuzz targets (clang + ASan + UBSan, 10 s each) =="
scripts/fuzz.sh 10

echo "== packaging: desktop entry, AppStream metadata, Debian package contents, lintian =="
start=$SECONDS
scripts/package.sh
echo "Packaging stage: $((SECONDS - start)) s"
