#!/usr/bin/env bash
# Prints the Wine architecture this machine can run the tests in: win32 where it runs 32-bit
# Linux programs (Wine's 32-bit loader is one), win64 where its kernel has no IA-32 emulation
# and only a 64-bit Wine runs; there the Wine tests run a 64-bit build of the same sources.
if [ -n "${VINTROSK_WINE_ARCH:-}" ]; then
  echo "$VINTROSK_WINE_ARCH"
elif [ -e /lib/ld-linux.so.2 ] && ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo win64
else
  echo win32
fi
