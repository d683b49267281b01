#!/usr/bin/env bash
# The designer's Create CD of a site against "Vintrosk.exe design --build" of the same site,
# under the same Wine, in turn; prints min, median and max of each and the ratio.
#
#   tools/create_cd_benchmark.sh [RUNS] [START PAGE, a Windows path]
#
# The start page defaults to the Apache manual's (apache2-doc), read through Wine's Z: drive.
# Needs the 64-bit tree of scripts/build.sh (build/win64).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build/win64 --target create_cd_benchmark -j"$(nproc 2>/dev/null || echo 2)" >/dev/null
export VT_BENCH_RUNS=${1:-3}
[ -z "${2:-}" ] || export VT_BENCH_TARGET=$2
# shellcheck disable=SC1091
source scripts/wine-env.sh
scripts/with-display.sh scripts/wine-run.sh build/win64/tests/wine/create_cd_benchmark.exe 2>/dev/null | grep -E '^\[figure\]|unexpected|Failure|FAILED'
