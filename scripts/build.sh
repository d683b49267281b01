#!/usr/bin/env bash
# Builds the portable core with its native tests, and the Windows program with its Wine tests.
#   scripts/build.sh          everything
#   scripts/build.sh --demo   only the program and the demo's driver, in the tree Wine runs
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
# The shipped program is always the 32-bit one. Where this machine runs no 32-bit Wine, its Wine
# tests are built and run from a 64-bit tree of the same sources instead (build/win64).
if [ "$(scripts/wine-arch.sh)" = win64 ]; then
  wine_tree=build/win64 wine_config=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake)
else
  wine_tree=build/win wine_config=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DVINTROSK_WINE_TESTS=ON)
fi
if [ "${1:-}" = --demo ]; then
  cmake -S . -B "$wine_tree" "${wine_config[@]}" >/dev/null
  cmake --build "$wine_tree" --target Vintrosk demo_driver -j"$jobs"
  exit 0
fi
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"
# Build trees from before the program moved to build/win/program keep the sample folders where
# windres looks first, so an old icons/ there would go into the program.
rm -rf build/win/src/html build/win/src/icons build/win/src/sounds build/win/src/splashscreens \
  build/win/src/splashscreen.jpg build/win/src/Vintrosk.exe
if [ "$wine_tree" = build/win64 ]; then
  cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DVINTROSK_WINE_TESTS=OFF >/dev/null
  cmake --build build/win -j"$jobs"
fi
cmake -S . -B "$wine_tree" "${wine_config[@]}" >/dev/null
cmake --build "$wine_tree" -j"$jobs"
# The Linux program as users run it: optimised, without the tests' sanitizers.
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVINTROSK_SANITIZE=OFF >/dev/null
cmake --build build/release --target vintrosk -j"$jobs"
# The Linux program takes the Windows program beside it as autorun.exe, and that program's
# sample folders as its defaults: a link makes build/release/vintrosk (and the tests' own
# build/native/vintrosk) work as they stand.
ln -sfn ../win/program/Vintrosk.exe build/native/Vintrosk.exe
ln -sfn ../win/program/Vintrosk.exe build/release/Vintrosk.exe
