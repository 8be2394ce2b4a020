#!/bin/sh
# Draws the README's picture, docs/floorplan.png, from the corpus drawing
# floorplan.dxf with kxrender. The corpus is looked for in $KX_SHARED_DIR
# (default: ../shared beside the source tree).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
shared=${KX_SHARED_DIR:-$here/../shared}
drawing=$shared/corpus/dxfjs/floorplan.dxf
[ -f "$drawing" ] || { echo "make-readme-picture: $drawing not found" >&2; exit 1; }
cmake -S "$here" -B "$here/build" >/dev/null
cmake --build "$here/build" -j2 --target kxrender dxfin >/dev/null
mkdir -p "$here/docs"
"$here/build/bin/kxrender" "$drawing" "$here/docs/floorplan.png" --size 480
echo "docs/floorplan.png"
