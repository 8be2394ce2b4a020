#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests.
# With KX_SANITIZE_TOO=1 the tests run a second time in an AddressSanitizer
# and UndefinedBehaviorSanitizer build (build-asan/).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"

run_suite() {
    local build="$1"
    shift
    KX_BUILD_DIR="$build" KX_CMAKE_ARGS="$*" "$root/scripts/build.sh"
    ctest --test-dir "$build" --output-on-failure -j"${KX_JOBS:-2}"
}

run_suite "${KX_BUILD_DIR:-$root/build}" -DKX_BUILD_BENCH=OFF
if [ "${KX_SANITIZE_TOO:-0}" = "1" ]; then
    run_suite "$root/build-asan" -DKX_SANITIZE=ON -DKX_BUILD_BENCH=OFF
fi
