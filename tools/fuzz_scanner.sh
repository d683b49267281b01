#!/usr/bin/env bash
# Runs the linked-file scanner's fuzz target under libFuzzer with AddressSanitizer and UBSan:
# tools/fuzz_scanner.sh [seconds, default 60]. Findings are written to build/fuzz-scanner/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
command -v clang++ >/dev/null || { [ "$(id -u)" = 0 ] && apt-get install -y -qq --no-install-recommends clang; }
out=build/fuzz-scanner
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc -Itests/unit tests/fuzz/scanner_fuzz.cpp \
  src/designer/scanner.cpp src/designer/page_links.cpp src/app/text_decode.cpp src/app/text_lines.cpp \
  src/app/unicode_text.cpp src/app/code_page.cpp -o "$out/scanner_fuzz"
"$out/scanner_fuzz" -max_total_time="${1:-60}" -timeout=10 -artifact_prefix="$out/" "$out/corpus"
