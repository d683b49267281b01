#!/usr/bin/env bash
# Runs a command on the current display, or on a virtual one of its own when there is none.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
