#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang-14, ASan and UBSan in build-fuzz/ and runs each
# one for the given number of seconds (default 60) on its seed corpus and the kept crash inputs.
#   scripts/fuzz.sh [seconds] [target...]
# New interesting inputs collect in build-fuzz/corpus/<target>/ (kept between local runs). A crash is
# written to build-fuzz/artifacts/; once fixed, keep the input in fuzz/regressions/<target>/, where the
# replay test (tests/core/test_fuzzcorpus.cpp) runs it in every build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(conversions frames ini reply_text remote_decoders parser profiles)

scripts/deps.sh clang-14 libclang-rt-14-dev

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
# -O1: fast enough to fuzz, quick enough to build on two cores.
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE= \
    -DCMAKE_CXX_FLAGS="-O1 -g" -DQX_FUZZ=ON -DQX_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target qxfuzz -j"$(nproc)"

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

mkdir -p build-fuzz/artifacts
passed=0
failed=0
for target in "${targets[@]}"; do
    work="$root/build-fuzz/corpus/$target"
    mkdir -p "$work"
    seeds=("$root/fuzz/corpus/$target")
    [ -d "$root/fuzz/regressions/$target" ] && seeds+=("$root/fuzz/regressions/$target")
    dict=()
    case $target in
    parser | remote_decoders | reply_text) dict=(-dict="$root/fuzz/replies.dict") ;;
    profiles) dict=(-dict="$root/fuzz/profiles.dict") ;;
    esac
    log="$root/build-fuzz/artifacts/$target.log"
    echo "== fuzz $target (${seconds}s) =="
    # Paths are absolute: the window targets change their working directory.
    if build-fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$root/build-fuzz/artifacts/$target-" -print_final_stats=1 "${dict[@]}" \
        "$work" "${seeds[@]}" >"$log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^Done' "$log" | tail -1
        passed=$((passed + 1))
    else
        tail -40 "$log"
        echo "fuzz $target FAILED (full log: $log)"
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
