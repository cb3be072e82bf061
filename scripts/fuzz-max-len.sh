#!/usr/bin/env bash
# The longest input a fuzz target may be given: its largest seed (a shipped file such as the tile library
# must fit whole), at least 4096 bytes. Left to itself the fuzzer would cut every input at 1 MB or less.
set -euo pipefail
largest=4096
for seeds in "$@"; do
    [ -d "$seeds" ] || continue
    size=$(find "$seeds" -type f -printf '%s\n' | sort -n | tail -1)
    [ -n "$size" ] && [ "$size" -gt "$largest" ] && largest=$size
done
echo "$largest"
