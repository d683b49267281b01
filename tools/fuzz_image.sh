#!/usr/bin/env bash
# Runs the disc image writer's fuzz target under libFuzzer with AddressSanitizer and UBSan:
# tools/fuzz_image.sh [seconds, default 60]. Findings are written to build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
command -v clang++ >/dev/null || { [ "$(id -u)" = 0 ] && apt-get install -y -qq --no-install-recommends clang; }
out=build/fuzz
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc -Itests/unit tests/fuzz/disc_image_fuzz.cpp \
  src/disc/disc_image.cpp src/app/unicode_text.cpp src/app/text_lines.cpp -larchive -o "$out/disc_image_fuzz"
"$out/disc_image_fuzz" -max_total_time="${1:-60}" -artifact_prefix="$out/" "$out/corpus"
