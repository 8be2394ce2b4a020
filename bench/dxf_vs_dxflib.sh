#!/usr/bin/env bash
# Times a whole DXF conversion by korvexcmd (read, finish, write) against
# dxflib parsing the same file (parse only) and against `wc -l`, in one run,
# and prints the ratios. Goal: korvexcmd / dxflib <= 1. Also times the read
# alone (plug-in into an engine document, no finishing or writing).
#
# Usage: bench/dxf_vs_dxflib.sh [SIZE_MB]
#   BUILD_DIR  release build to use or make (default /tmp/build-kx-bench)
#   RUNS       timed runs per program, best kept (default 5)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(dirname "$here")"
size_mb="${1:-24}"
build_dir="${BUILD_DIR:-/tmp/build-kx-bench}"
runs="${RUNS:-5}"
work="$(mktemp -d /tmp/kx-dxf-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT

need_package() {
    if ! dpkg -s "$1" >/dev/null 2>&1; then
        echo "installing $1" >&2
        if [ "$(id -u)" = 0 ]; then
            apt-get update -qq && apt-get install -y -qq "$1" >/dev/null
        else
            sudo apt-get update -qq && sudo apt-get install -y -qq "$1" >/dev/null
        fi
    fi
}
need_package libdxflib-dev
need_package python3
need_package bc

echo "== building (release) in $build_dir" >&2
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target korvexcmd dxfin >/dev/null
g++ -O2 -std=c++17 -o "$work/dxflib_parse" "$here/dxflib/dxflib_parse.cpp" -ldxflib

python3 "$here/gen_big_dxf.py" "$work/big.dxf" "$size_mb" >&2

# korvexcmd writes beside itself, so it runs from a copy of the program folder.
station="$work/station"
mkdir -p "$station/tmp"
cp -r "$build_dir/bin/korvexcmd" "$build_dir/bin/"lib*.so* "$station/"
[ -d "$build_dir/bin/Resources" ] && cp -r "$build_dir/bin/Resources" "$station/"
for tool in kx_read_only kx_phases; do
    g++ -O2 -std=c++17 -o "$station/$tool" "$here/kxread/$tool.cpp" \
        -I"$source_dir/include" -I"$source_dir/platform/include" \
        -L"$station" -lkxcore -Wl,-rpath,'$ORIGIN'
done

now() { date +%s.%N; }
# best_of LABEL COMMAND...: prints the best wall time in seconds. $before,
# when set, names a command run untimed before each run.
before=""
best_of() {
    local label="$1"; shift
    local best=""
    for _ in $(seq "$runs"); do
        local start end t
        if [ -n "$before" ]; then "$before"; fi
        start=$(now)
        "$@" >/dev/null
        end=$(now)
        t=$(echo "$end - $start" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
    done
    printf '%-10s %8.3f s\n' "$label" "$best" >&2
    echo "$best"
}

read_only() {
    (cd "$station" && TMPDIR="$station/tmp" ./kx_read_only "$work/big.dxf")
}

# The last run's drawing is removed before the clock starts: freeing a
# hundred megabytes of file is not part of converting.
clear_output() {
    rm -rf "$station/cnvrt"
}
convert() {
    (cd "$station" && TMPDIR="$station/tmp" ./korvexcmd -nologo "$work/big.dxf")
}

"$work/dxflib_parse" "$work/big.dxf" >&2
clear_output
convert >&2
ls "$station/cnvrt"/*.pdb >/dev/null || { echo "korvexcmd wrote no drawing" >&2; exit 1; }

t_wc=$(best_of "wc -l" wc -l "$work/big.dxf")
t_dxflib=$(best_of "dxflib" "$work/dxflib_parse" "$work/big.dxf")
t_read=$(best_of "read only" read_only)
before=clear_output
t_kx=$(best_of "korvexcmd" convert)
before=""

bytes=$(stat -c %s "$work/big.dxf")
printf '\ninput: %.1f MB\n' "$(echo "$bytes / 1048576" | bc -l)"
printf 'korvexcmd / dxflib : %.2f   (goal <= 1.00)\n' "$(echo "$t_kx / $t_dxflib" | bc -l)"
printf 'read only / dxflib : %.2f\n' "$(echo "$t_read / $t_dxflib" | bc -l)"
printf 'korvexcmd / wc -l  : %.2f\n' "$(echo "$t_kx / $t_wc" | bc -l)"
printf 'dxflib / wc -l     : %.2f\n' "$(echo "$t_dxflib / $t_wc" | bc -l)"

# Where the time of the conversion goes: the best of three runs.
best_phases=""
best_total=""
for _ in 1 2 3; do
    line=$(cd "$station" && TMPDIR="$station/tmp" ./kx_phases "$work/big.dxf" "$work/phases.pdb")
    total=${line##*: }
    total=${total% ms}
    if [ -z "$best_total" ] || [ "$(echo "$total < $best_total" | bc -l)" = 1 ]; then
        best_total=$total
        best_phases=$line
    fi
    rm -f "$work/phases.pdb"
done
printf 'phases             : %s\n' "$best_phases"
