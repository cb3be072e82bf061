#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it. Extra arguments go to the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DVORLANEX_TESTS=OFF -DVORLANEX_BENCH=OFF >/dev/null
cmake --build "$root/build" --target vorlanex -j"$(nproc)"
exec "$root/build/vorlanex" "$@"
