#!/usr/bin/env bash
# Configures and builds into build/ (or $KX_BUILD_DIR) with two jobs.
# Extra arguments are passed to cmake --build (for example --target korvexcmd).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KX_BUILD_DIR:-$root/build}"
jobs="${KX_JOBS:-2}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${KX_BUILD_TYPE:-RelWithDebInfo}" ${KX_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$jobs" "$@"
