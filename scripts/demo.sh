#!/usr/bin/env bash
# The main job: builds the program (and the driver that plays its user), runs the designer with
# its default settings, creates the sample disc's folder on the (Wine) desktop, answers Yes to
# the preview and lets the new autorun.exe play it, saving screenshots of each stage. Prints the
# folder's listing and its autorun.inf. On the user's display when there is one, otherwise on a
# virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${1:-}" != "--inner" ]; then
  scripts/setup.sh
  # The Wine prefix is set up while the program and the demo's driver build.
  bash -c 'source scripts/wine-env.sh' &
  prefix=$!
  scripts/build.sh --demo
  # A set-up that failed there is named there; the next one tries again and stops the demo.
  wait "$prefix" || true
  source scripts/wine-env.sh
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  scripts/with-display.sh "$0" --inner
  exit 0
fi

out="$root/build/demo"
rm -rf "$out"
mkdir -p "$out"
export VT_OUTPUT_DIR="$out"
# Where this machine runs no 32-bit programs, the 64-bit build of the same program plays it.
tree=build/win
[ "$(scripts/wine-arch.sh)" = win32 ] || tree=build/win64
wine "$tree/tests/wine/demo_driver.exe" "$root/$tree/program/Vintrosk.exe"

for shot in "$out"/*.bmp; do
  [ -e "$shot" ] || continue
  /usr/bin/convert "$shot" "${shot%.bmp}.png" && rm "$shot"
  echo "screenshot: ${shot%.bmp}.png"
done

disc=$(ls -d "$WINEPREFIX"/drive_c/users/*/Desktop/"CD-ROM Distributable Files" | head -n 1)
echo
echo "the disc folder: $disc"
ls -l "$disc"
echo
echo "autorun.inf:"
cat "$disc/autorun.inf"
echo
