#!/usr/bin/env bash
# Runs the linked-file scanner's fuzz target under libFuzzer with AddressSanitizer and UBSan:
# tools/fuzz_scanner.sh [seconds, default 60],
# or --runs N for a short fixed run (seed 1, no corpus kept), as the test command does.
# Findings are written to build/fuzz-scanner/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
out=build/fuzz-scanner
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc -Itests/unit tests/fuzz/scanner_fuzz.cpp \
  src/disc/scanner.cpp src/disc/page_links.cpp src/core/text_decode.cpp src/core/text_lines.cpp \
  src/core/unicode_text.cpp src/core/code_page.cpp -o "$out/scanner_fuzz"
if [ "${1:-}" = --runs ]; then
  # A fresh corpus each time, so the same runs give the same result.
  rm -rf "$out/brief" && mkdir -p "$out/brief"
  "$out/scanner_fuzz" -runs="$2" -seed=1 -timeout=10 -artifact_prefix="$out/" "$out/brief"
else
  "$out/scanner_fuzz" -max_total_time="${1:-60}" -timeout=10 -artifact_prefix="$out/" "$out/corpus"
fi
