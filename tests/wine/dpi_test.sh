#!/usr/bin/env bash
# dpi_test.exe once per screen scale (96, 120, 144 and 192 dpi), in a Wine prefix of its own
# whose LogPixels is set before each run, so that the other tests' prefix stays at 96. Each
# scale gets a virtual desktop and display of 1024 x 768 at 100 %, grown with the scale, as a
# real screen of that scale would be. The prefix is made once and kept in the work folder.
# Usage: dpi_test.sh <dpi_test.exe> <work folder>
set -euo pipefail
test_exe=$1 work=$2
root="$(cd "$(dirname "$0")/../.." && pwd)"

mkdir -p "$work"
export VINTROSK_WIN_BUILD="$work"  # wine-env.sh puts the prefix and HOME there
unset WINEPREFIX
source "$root/scripts/wine-env.sh"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

status=0
for dpi in ${VT_DPIS:-96 120 144 192}; do
  width=$((1024 * dpi / 96)) height=$((768 * dpi / 96))
  echo "dpi_test: $dpi dpi, ${width} x ${height}"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${width}x${height}" /f >/dev/null 2>&1
  wineserver -w
  VT_DPI=$dpi xvfb-run -a -s "-screen 0 ${width}x${height}x24" wine "$test_exe" || status=1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
done
exit $status
