#!/usr/bin/env bash
# Runs a test program on the current X display with openbox managing its windows, so
# that windows get a real frame. Call it inside xvfb-run.
set -u
wm=
start() {
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
}
stop() { [ -n "$wm" ] && kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null; }
trap stop EXIT
start
# The manager is up once the root window names its check window. A freshly started X
# server sometimes drops openbox's first connection under load: it is started again.
starts=1
for _ in $(seq 1 100); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    "$@"
    exit $?
  fi
  if ! kill -0 "$wm" 2>/dev/null; then
    if [ "$starts" -ge 3 ]; then
      echo "with-openbox.sh: openbox did not start" >&2
      exit 1
    fi
    starts=$((starts + 1))
    sleep 0.3
    start
  fi
  sleep 0.1
done
echo "with-openbox.sh: openbox did not announce itself within 10 s" >&2
exit 1
