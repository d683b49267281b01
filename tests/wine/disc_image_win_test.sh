#!/usr/bin/env bash
# The Win32 disc image writer under Wine makes the images of a real folder and of the sample
# disc that Create CD makes; the readers on the Unix side then check each against its folder
# (nothing is mounted).
# Usage: disc_image_win_test.sh <disc_image_win_test.exe> <output folder>
set -euo pipefail
exe=$1 out=$2
root="$(cd "$(dirname "$0")/../.." && pwd)"
rm -rf "$out/disc_image"
"$root/scripts/wine-run.sh" "$exe"
"$root/tests/unit/disc_readers_test.sh" --check "$out/disc_image/src" "$out/disc_image/image.iso" "Δίσκος Wine" --udf
"$root/tests/unit/disc_readers_test.sh" --check "$out/disc_image/sample" "$out/disc_image/sample.iso" "1_DEMO_GENERAL_M" --udf
