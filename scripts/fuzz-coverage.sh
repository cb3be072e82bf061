#!/usr/bin/env bash
# Runs every fuzz target for a long while (ten minutes each unless FUZZ_SECONDS says otherwise) from its
# seed corpus and the corpus earlier runs grew in build-fuzz/corpus/, then prints what each run covered:
# the fuzzer's edge and feature counts and, per source file of the game, the share of the code edges
# reached inside the functions the run entered (functions never entered are not listed by the fuzzer). Not part of scripts/test.sh; run it now and then, e.g. nice -n 10 bash scripts/fuzz-coverage.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${FUZZ_SECONDS:-600}"
logs="$root/build-fuzz/coverage"
command -v clang++ >/dev/null || { echo "clang is needed for fuzzing" >&2; exit 1; }

CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORLANEX_FUZZ=ON -DVORLANEX_TESTS=ON -DVORLANEX_BENCH=OFF >/dev/null
mkdir -p "$logs"
targets=$(cd "$root/tests/fuzz" && ls *_fuzz.cpp | sed 's/\.cpp$//')
for t in $targets; do
    cmake --build "$root/build-fuzz" --target "$t" -j"$(nproc)" >/dev/null
    corpus="$root/build-fuzz/corpus/$t"
    seeds="$root/tests/fuzz/corpus/$t"
    mkdir -p "$corpus"
    [ -d "$seeds" ] || seeds=""
    "$root/build-fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 -print_coverage=1 \
        -max_len="$(bash "$root/scripts/fuzz-max-len.sh" "$seeds")" -artifact_prefix="$logs/$t-" \
        "$corpus" $seeds >"$logs/$t.log" 2>&1 || echo "$t: the fuzzer found a fault, see $logs/$t.log"
done

# COVERED_FUNC lines carry "edges: reached/total" and the function's source file.
python3 - "$root" "$logs" $targets <<'PY'
import re, sys
root, logs, targets = sys.argv[1], sys.argv[2], sys.argv[3:]
for t in targets:
    text = open(f"{logs}/{t}.log", errors="replace").read()
    done = re.findall(r"#(\d+)\s+DONE\s+cov: (\d+) ft: (\d+) corp: (\d+)", text)
    runs, cov, ft, corp = done[-1] if done else ("?", "?", "?", "?")
    print(f"{t}: {runs} runs, cov {cov} edges, ft {ft} features, corpus {corp} inputs")
    files = {}
    for m in re.finditer(r"^COVERED_FUNC: hits: \d+ edges: (\d+)/(\d+) .* (\S+):\d+$", text, re.M):
        path = m.group(3)
        if "/src/" not in path:
            continue
        name = path[path.index("/src/") + 1:]
        got, total = files.get(name, (0, 0))
        files[name] = (got + int(m.group(1)), total + int(m.group(2)))
    for name, (got, total) in sorted(files.items()):
        if got:
            print(f"    {name}: {got}/{total} edges of the functions entered ({100 * got // max(total, 1)}%)")
PY
