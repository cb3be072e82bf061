#!/usr/bin/env bash
# The long soak: random two-player play on every shipped map for 200 000 frames a map (SOAK_FRAMES to change),
# in an optimised build with AddressSanitizer and UndefinedBehaviorSanitizer. Not part of the test command:
# it runs for about an hour on two cores.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-soak" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANEX_SANITIZE=ON -DVORLANEX_TESTS=ON \
    -DVORLANEX_BENCH=OFF >/dev/null
cmake --build "$root/build-soak" -j"$(nproc)" --target vorlanex_tests_shell vorlanex
SOAK_FRAMES="${SOAK_FRAMES:-200000}" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$root/build-soak/vorlanex_tests_shell" --gtest_filter='ShippedMaps/Soak.*' "$@"
