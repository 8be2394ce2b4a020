#!/usr/bin/env bash
# Times the conversion by korvexcmd (read, finish, write) of a drawing made of
# the path and block entities: LWPOLYLINEs of 20 vertices with bulges, closed
# POLYLINEs and INSERTs of a 20-entity block, and reports the time, the peak
# memory and the engine segments per second the read produced.
#
# Usage: bench/dxf_paths.sh [BIN_DIR] [POLYLINES] [INSERTS]
#   BIN_DIR    folder with korvexcmd and dxfin (default build/bin)
#   POLYLINES  LWPOLYLINEs and POLYLINEs each (default 50000)
#   INSERTS    INSERTs (default 100000)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin_dir="$(cd "${1:-$here/../build/bin}" && pwd)"
polylines="${2:-50000}"
inserts="${3:-100000}"
work="$(mktemp -d /tmp/kx-paths-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT

python3 - "$work/in/paths.dxf" "$polylines" "$inserts" <<'PY'
import os, sys
path, polylines, inserts = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
os.makedirs(os.path.dirname(path), exist_ok=True)
out = ["0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "0", "ENDSEC",
       "0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "8", "0", "2", "B", "70", "0", "10", "0", "20", "0"]
for i in range(20):
    out += ["0", "LINE", "8", "0", "10", str(i), "20", "0", "11", str(i), "21", "1"]
out += ["0", "ENDBLK", "8", "0", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"]
for i in range(polylines):
    x, y = i % 1000, i // 1000
    out += ["0", "LWPOLYLINE", "8", "0", "90", "20", "70", "1"]
    for j in range(20):
        out += ["10", "%.3f" % (x + j * 0.1), "20", "%.3f" % (y + (j % 2) * 0.5),
                "42", "0.2" if j % 5 == 0 else "0"]
    out += ["0", "POLYLINE", "8", "0", "66", "1", "10", "0", "20", "0", "30", "0", "70", "1"]
    for j in range(20):
        out += ["0", "VERTEX", "8", "0", "10", "%.3f" % (x + j * 0.1), "20", "%.3f" % (y + 0.7)]
    out += ["0", "SEQEND", "8", "0"]
for i in range(inserts):
    out += ["0", "INSERT", "8", "0", "2", "B", "10", str(i % 300 * 25), "20", str(i // 300 * 2)]
out += ["0", "ENDSEC", "0", "EOF"]
with open(path, "w") as f:
    f.write("\n".join(out) + "\n")
PY

export TMPDIR="$work"
size=$(stat -c %s "$work/in/paths.dxf")
/usr/bin/time -f "%e %M" -o "$work/time" "$bin_dir/korvexcmd" "$work/in/paths.dxf" -nologo >/dev/null
read -r seconds peak_kb <"$work/time"
segments=$((polylines * 40))
echo "file: $((size / 1048576)) MB, $polylines LWPOLYLINEs + $polylines POLYLINEs ($segments segments), $inserts INSERTs"
echo "korvexcmd: ${seconds} s, peak ${peak_kb} KB"
awk -v s="$seconds" -v n="$segments" 'BEGIN { if (s > 0) printf "segments per second: %.0f\n", n / s }'
grep -c . "$work/TranslatorRead.err" | awk '{ print "error-log lines: " $1 }'
