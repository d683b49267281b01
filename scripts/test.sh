#!/usr/bin/env bash
# Runs every test: the core's native tests (with AddressSanitizer and UBSan), then the tests
# that run the real program under Wine. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build/native --output-on-failure

source scripts/wine-env.sh
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
scripts/with-display.sh ctest --test-dir build/win --output-on-failure
