#!/bin/sh
# Runs a test under openbox on the current X display (start it inside xvfb-run): window
# frames, the client list and focus then behave as on a desktop. Waits until the window
# manager has announced itself, runs the test and stops openbox again.
set -u
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$wm" 2>/dev/null; then
        echo "with-openbox: openbox did not start on $DISPLAY" >&2
        kill "$wm" 2>/dev/null
        exit 1
    fi
    sleep 0.1
done
"$@"
code=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $code
