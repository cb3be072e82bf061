#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite headless:
# the unit and scenario tests, the same tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# and a short run of every fuzz target (when clang is installed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

bash "$root/scripts/install-deps.sh"

echo "== build and test"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANEX_TESTS=ON -DVORLANEX_BENCH=ON \
    -DVORLANEX_SANITIZE=OFF -DVORLANEX_FUZZ=OFF >/dev/null
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs" --timeout 300
unit=$(ctest --test-dir "$root/build" -N | sed -n 's/^Total Tests: //p')
if [ "${unit:-0}" -eq 0 ]; then
    echo "no tests were found in $root/build" >&2
    exit 1
fi

echo "== sanitizers"
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DVORLANEX_SANITIZE=ON -DVORLANEX_TESTS=ON -DVORLANEX_BENCH=OFF \
    >/dev/null
cmake --build "$root/build-sanitize" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs" --timeout 600
sanitized=$(ctest --test-dir "$root/build-sanitize" -N | sed -n 's/^Total Tests: //p')
fuzzed=0

if command -v clang++ >/dev/null; then
    echo "== fuzz"
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVORLANEX_FUZZ=ON -DVORLANEX_TESTS=ON -DVORLANEX_BENCH=OFF >/dev/null
    targets=$(cd "$root/tests/fuzz" && ls *_fuzz.cpp 2>/dev/null | sed 's/\.cpp$//')
    for t in $targets; do
        cmake --build "$root/build-fuzz" --target "$t" -j"$jobs"
        corpus="$root/build-fuzz/corpus/$t"
        mkdir -p "$corpus"
        seeds="$root/tests/fuzz/corpus/$t"
        [ -d "$seeds" ] || seeds=""
        "$root/build-fuzz/$t" -max_total_time="${FUZZ_SECONDS:-20}" -rss_limit_mb=2048 \
            -max_len="$(bash "$root/scripts/fuzz-max-len.sh" "$seeds")" "$corpus" $seeds
    done
    fuzzed=$(echo $targets | wc -w)
    echo "fuzzing: $fuzzed targets ran clean"
else
    echo "== fuzz skipped: clang is not installed"
fi

# Every stage above stops the script on a failure, so reaching here means all passed.
echo "tests: $((unit + sanitized + fuzzed)) passed, 0 failed"
