#!/bin/sh
# Runs a command inside a private X server (Xvfb) with a window manager (openbox),
# both stopped afterwards; the command's exit code is returned.
#   tools/x-session.sh COMMAND [ARGS...]
set -u

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.05
done
DISPLAY=":$(cat "$display_file")"
rm -f "$display_file"
export DISPLAY GDK_GL=disable GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
openbox >/dev/null 2>&1 &
openbox=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.05
done

"$@"
status=$?

kill "$openbox" 2>/dev/null
kill "$xvfb" 2>/dev/null
wait 2>/dev/null
exit $status
