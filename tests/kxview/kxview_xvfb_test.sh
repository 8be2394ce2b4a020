#!/usr/bin/env bash
# kxview on a virtual X server: the drawing shows, a wheel notch and keys
# change the picture, and closing the window ends the program with status 0.
# Installs Xvfb when it is missing and the test may (root, or sudo without a
# password); skips (77) only when there is still no Xvfb.
#
# kxview_xvfb_test.sh KXVIEW PROBE DRAWING SHOT_FOLDER
set -u
kxview=$1 probe=$2 drawing=$3 shots=$4

if ! command -v Xvfb >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends xvfb >/dev/null 2>&1 ||
            { apt-get update >/dev/null 2>&1 &&
              DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends xvfb >/dev/null 2>&1; }
    elif sudo -n true 2>/dev/null; then
        sudo -n env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends xvfb >/dev/null 2>&1
    fi
fi
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "Xvfb is not installed: skipped"
    exit 77
fi

mkdir -p "$shots"
work=$(mktemp -d)
xvfb_pid='' kxview_pid=''
cleanup() {
    [ -n "$kxview_pid" ] && kill "$kxview_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the fd given.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"

"$kxview" "$drawing" --size 640x480 2>"$work/kxview.err" &
kxview_pid=$!
"$probe" "$shots"
probe_status=$?

status=0
for _ in $(seq 100); do
    kill -0 "$kxview_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$kxview_pid" 2>/dev/null; then
    echo "kxview did not exit when its window was closed"; status=1
else
    wait "$kxview_pid"; kxview_status=$?
    kxview_pid=''
    [ "$kxview_status" -eq 0 ] || { echo "kxview exited with $kxview_status"; status=1; }
fi
if [ -s "$work/kxview.err" ]; then
    echo "kxview wrote to stderr:"; cat "$work/kxview.err"; status=1
fi
[ "$probe_status" -eq 0 ] || status=1
[ "$status" -eq 0 ] && echo "kxview passed; screenshots in $shots"
exit "$status"
