#!/usr/bin/env bash
# Runs a command on the current display, or on a virtual one of its own when there is none.
# Wine's programs (its desktop above all) are stopped before a virtual display goes away:
# otherwise each prints "X connection to :99 broken" as the display dies under it.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  status=0
  "$@" || status=$?
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  exit $status' with-display "$@"
