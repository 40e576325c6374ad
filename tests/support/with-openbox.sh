#!/usr/bin/env bash
# Runs a test program on the current X display with openbox managing its windows, so
# that windows get a real frame. Call it inside xvfb-run.
set -u
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
stop() { kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null; }
trap stop EXIT
# The manager is up once the root window names its check window.
for _ in $(seq 1 100); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    "$@"
    exit $?
  fi
  if ! kill -0 "$wm" 2>/dev/null; then
    echo "with-openbox.sh: openbox did not start" >&2
    exit 1
  fi
  sleep 0.1
done
echo "with-openbox.sh: openbox did not announce itself within 10 s" >&2
exit 1
