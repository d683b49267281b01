#!/usr/bin/env bash
# The emulator through which ctest runs the cross-built test programs: the project's Wine
# environment, then the program with its arguments; its exit status is the program's.
# Windows appear on whatever DISPLAY the caller provides (scripts/test.sh gives an Xvfb one).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
[ -n "${DISPLAY:-}" ] || echo "wine-run: DISPLAY is not set; programs that open windows will fail" >&2
wine "$@"
