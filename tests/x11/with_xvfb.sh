#!/usr/bin/env bash
# with_xvfb.sh COMMAND...: runs COMMAND on a virtual X server of its own
# (DISPLAY set) and returns its status. Installs Xvfb when it is missing and
# the test may (root, or sudo without a password); skips (77) only when
# there is still no Xvfb.
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo -n true 2>/dev/null && sudo=(sudo -n)
    fi
    if [ "$(id -u)" -eq 0 ] || [ ${#sudo[@]} -gt 0 ]; then
        install=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends xvfb)
        "${install[@]}" >/dev/null 2>&1 || { "${sudo[@]}" apt-get update >/dev/null 2>&1 && "${install[@]}" >/dev/null 2>&1; }
    fi
fi
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "Xvfb is not installed: skipped"
    exit 77
fi

work=$(mktemp -d)
xvfb_pid=''
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the descriptor given.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start:"
    cat "$work/xvfb.log"
    exit 1
fi
DISPLAY=":$(head -n1 "$work/display")" "$@"
