#!/usr/bin/env bash
# Runs every test: the sources' format, the core's native tests (with AddressSanitizer and
# UBSan), then the tests that run the real program under Wine. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
tools/format.sh --check
scripts/build.sh
ctest --test-dir build/native --output-on-failure

source scripts/wine-env.sh
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
if [ "$(scripts/wine-arch.sh)" = win64 ]; then
  echo "test: this machine runs no 32-bit programs; the Wine tests run the 64-bit build (build/win64)," \
    "and the setup program, which is 32-bit, is not run"
  ctest --test-dir build/win --output-on-failure
  scripts/with-display.sh ctest --test-dir build/win64 --output-on-failure
else
  scripts/with-display.sh ctest --test-dir build/win --output-on-failure
fi
