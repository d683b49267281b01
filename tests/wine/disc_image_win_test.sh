#!/usr/bin/env bash
# The Win32 disc image writer under Wine makes the image of a real folder; the readers on the
# Unix side then check it against that folder (nothing is mounted).
# Usage: disc_image_win_test.sh <disc_image_win_test.exe> <output folder>
set -euo pipefail
exe=$1 out=$2
root="$(cd "$(dirname "$0")/../.." && pwd)"
rm -rf "$out/disc_image"
"$root/scripts/wine-run.sh" "$exe"
"$root/tests/unit/disc_readers_test.sh" --check "$out/disc_image/src" "$out/disc_image/image.iso" "Δίσκος Wine"
