#!/usr/bin/env bash
# Runs the disc image writer's fuzz target under libFuzzer with AddressSanitizer and UBSan:
# tools/fuzz_image.sh [seconds, default 60],
# or --runs N for a short fixed run (seed 1, no corpus kept), as the test command does.
# Findings are written to build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
out=build/fuzz
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc -Itests/unit tests/fuzz/disc_image_fuzz.cpp \
  src/disc/disc_image.cpp src/disc/udf.cpp src/core/unicode_text.cpp src/core/text_lines.cpp -larchive -o "$out/disc_image_fuzz"
if [ "${1:-}" = --runs ]; then
  # A fresh corpus each time, so the same runs give the same result.
  rm -rf "$out/brief" && mkdir -p "$out/brief"
  "$out/disc_image_fuzz" -runs="$2" -seed=1 -artifact_prefix="$out/" "$out/brief"
else
  "$out/disc_image_fuzz" -max_total_time="${1:-60}" -artifact_prefix="$out/" "$out/corpus"
fi
