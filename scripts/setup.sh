#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages. Idempotent: when all is
# present it only checks and returns.
set -euo pipefail

need=()
command -v cmake >/dev/null                  || need+=(cmake)
command -v g++ >/dev/null                    || need+=(g++)
command -v make >/dev/null                   || need+=(make)
command -v i686-w64-mingw32-g++ >/dev/null   || need+=(mingw-w64)
command -v xvfb-run >/dev/null               || need+=(xvfb)
command -v import >/dev/null                 || need+=(imagemagick)
command -v xauth >/dev/null                  || need+=(xauth)
# The setup program, and signing with a throwaway certificate in the tests.
command -v makensis >/dev/null               || need+=(nsis)
command -v osslsigncode >/dev/null           || need+=(osslsigncode)
command -v openssl >/dev/null                || need+=(openssl)
# Readers of disc images that the tests check the project's images with.
command -v xorriso >/dev/null                || need+=(xorriso)
command -v isoinfo >/dev/null                || need+=(genisoimage)
# The UDF side of images: mkudffs makes volumes for the tests' own reader, udfinfo, 7-Zip
# and pycdlib (for Debian's own python3) read it.
command -v udfinfo >/dev/null                || need+=(udftools)
command -v 7z >/dev/null                     || need+=(p7zip-full)
/usr/bin/python3 -c 'import pycdlib' 2>/dev/null || need+=(python3-pycdlib)
command -v bsdtar >/dev/null                 || need+=(libarchive-tools)
[ -f /usr/include/archive.h ]                || need+=(libarchive-dev)
# The benchmarks: CPU time and peak memory of a command.
[ -x /usr/bin/time ]                         || need+=(time)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
# The sources' one format, which the tests check.
command -v clang-format >/dev/null           || need+=(clang-format)
# clang with libFuzzer, for the short fuzz runs of the tests.
command -v clang++ >/dev/null                || need+=(clang)
compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null || need+=(libclang-rt-dev)
# Real documentation sites of four generators (Sphinx, doxygen, Apache's own, texinfo) that
# the scanner is checked against.
[ -f /usr/share/doc/python3/html/index.html ] || need+=(python3-doc)
[ -f /usr/share/doc/doxygen/html/index.html ] || need+=(doxygen-doc)
[ -f /usr/share/doc/apache2-doc/manual/index.html ] || need+=(apache2-doc)
[ -f /usr/share/doc/libffi8/html/index.html ] || need+=(libffi-dev)
# The sources too: the tests under Wine build GoogleTest with the cross compiler.
[ -f /usr/src/googletest/googletest/src/gtest-all.cc ] || need+=(googletest)
wine_ok=1
command -v wine >/dev/null || wine_ok=0
dpkg -s wine32:i386 >/dev/null 2>&1 || wine_ok=0
[ $wine_ok = 1 ] || need+=(wine wine32:i386 wine64)

[ ${#need[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
if [ $wine_ok = 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
