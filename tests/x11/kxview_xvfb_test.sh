#!/usr/bin/env bash
# kxview on the X display: the drawing shows, a wheel notch and keys change
# the picture (checked by the probe), and closing the window ends the
# program with status 0 and nothing on stderr. Run through with_xvfb.sh.
#
# kxview_xvfb_test.sh KXVIEW PROBE DRAWING SHOT_FOLDER
set -u
kxview=$1 probe=$2 drawing=$3 shots=$4
mkdir -p "$shots"
errors=$(mktemp)
kxview_pid=''
cleanup() {
    [ -n "$kxview_pid" ] && kill "$kxview_pid" 2>/dev/null
    rm -f "$errors"
}
trap cleanup EXIT

"$kxview" "$drawing" --size 640x480 2>"$errors" &
kxview_pid=$!
"$probe" "$shots"
probe_status=$?

status=0
for _ in $(seq 100); do
    kill -0 "$kxview_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$kxview_pid" 2>/dev/null; then
    echo "kxview did not exit when its window was closed"
    status=1
else
    wait "$kxview_pid"
    kxview_status=$?
    kxview_pid=''
    [ "$kxview_status" -eq 0 ] || { echo "kxview exited with $kxview_status"; status=1; }
fi
if [ -s "$errors" ]; then
    echo "kxview wrote to stderr:"
    cat "$errors"
    status=1
fi
[ "$probe_status" -eq 0 ] || status=1
[ "$status" -eq 0 ] && echo "kxview passed; screenshots in $shots"
exit "$status"
