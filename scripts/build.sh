#!/usr/bin/env bash
# Builds the portable core with its native tests, and the Windows program with its Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"
# Build trees from before the program moved to build/win/program keep the sample folders where
# windres looks first, so an old icons/ there would go into the program.
rm -rf build/win/src/html build/win/src/icons build/win/src/sounds build/win/src/splashscreens \
  build/win/src/splashscreen.jpg build/win/src/Vintrosk.exe
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win -j"$jobs"
