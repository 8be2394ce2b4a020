#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) into build-fuzz/
# (or $KX_FUZZ_BUILD_DIR) and runs each for $KX_FUZZ_SECONDS (60) seconds on
# its seeds, its kept findings (fuzz/regressions/<target>/) and, when
# $KX_FUZZ_CORPUS is set, its corpus directory $KX_FUZZ_CORPUS/<target>/, with
# its dictionary. $KX_FUZZ_JOBS (all six) targets run at once, so the whole
# run takes about $KX_FUZZ_SECONDS. Fails when a target
# does not build or any run finds a crash, hang (30 s for one input: the CI
# machine may be busy), leak or sanitizer report;
# the finding and the run's log are kept in the work directory it names.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KX_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${KX_FUZZ_SECONDS:-60}"
jobs="${KX_FUZZ_JOBS:-6}"

# target, seed folder under fuzz/seeds, dictionary under fuzz/ ("-": none)
targets=(
    "dxf_fuzzer dxf dxf.dict"
    "dxf_engine_fuzzer dxf dxf.dict"
    "mtext_fuzzer mtext mtext.dict"
    "clip_fuzzer clip -"
    "pdbdraw_fuzzer pdb -"
    "ini_fuzzer ini -"
)

if ! command -v clang++ >/dev/null; then
    echo "fuzz-smoke: clang++ is missing (scripts/setup.sh installs it)" >&2
    exit 1
fi
names=()
for entry in "${targets[@]}"; do names+=("${entry%% *}"); done

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"${KX_JOBS:-2}" --target "${names[@]}"
for name in "${names[@]}"; do
    if [ ! -x "$build/bin/$name" ]; then
        echo "fuzz-smoke: $name was not built (does this clang have -fsanitize=fuzzer?)" >&2
        exit 1
    fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/kx-fuzz-smoke-XXXXXX")"
run_target() {
    local name="$1" seeds="$2" dict="$3"
    local corpus="$work/$name/corpus" findings="$work/$name/findings/"
    mkdir -p "$corpus" "$findings"
    local inputs=("$root/fuzz/seeds/$seeds")
    [ -d "$root/fuzz/regressions/$name" ] && inputs+=("$root/fuzz/regressions/$name")
    [ -n "${KX_FUZZ_CORPUS:-}" ] && [ -d "$KX_FUZZ_CORPUS/$name" ] && inputs+=("$KX_FUZZ_CORPUS/$name")
    local options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
                   -artifact_prefix="$findings")
    [ "$dict" != "-" ] && options+=(-dict="$root/fuzz/$dict")
    "$build/bin/$name" "$corpus" "${inputs[@]}" "${options[@]}" >"$work/$name.log" 2>&1
}

failed=()
pids=()
running=()
finish_one() {
    local pid="${pids[0]}" name="${running[0]}"
    pids=("${pids[@]:1}")
    running=("${running[@]:1}")
    if wait "$pid"; then
        echo "fuzz-smoke: $name: $(grep -m1 -E '^#[0-9]+[[:space:]]+DONE' "$work/$name.log" || echo done)"
    else
        echo "fuzz-smoke: $name FAILED; log and finding in $work/$name*" >&2
        grep -E 'ERROR|SUMMARY|Test unit written' "$work/$name.log" >&2 || tail -n 20 "$work/$name.log" >&2
        failed+=("$name")
    fi
}
for entry in "${targets[@]}"; do
    read -r name seeds dict <<<"$entry"
    [ "${#pids[@]}" -ge "$jobs" ] && finish_one
    run_target "$name" "$seeds" "$dict" &
    pids+=("$!")
    running+=("$name")
done
while [ "${#pids[@]}" -gt 0 ]; do finish_one; done

if [ "${#failed[@]}" -gt 0 ]; then
    echo "fuzz-smoke: findings in: ${failed[*]}" >&2
    exit 1
fi
rm -rf "$work"
echo "fuzz-smoke: ${#names[@]} targets, ${seconds}s each, no finding"
