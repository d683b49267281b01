#!/usr/bin/env bash
# The UDF pass and the --long mode of disc_readers_test.sh --check, proven on images that
# genisoimage makes: they pass a sound image and fail a copy whose only fault is in the UDF
# tree, and --long accepts Joliet names shortened where plain --check refuses them.
#
#   disc_readers_udf_test.sh WORK
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$1
for tool in genisoimage 7z udfinfo; do
    PATH=$PATH:/usr/sbin:/sbin command -v $tool >/dev/null || { echo "SKIP: no $tool (scripts/setup.sh installs it)"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# check EXPECT LOG ARGS...: disc_readers_test.sh --check ARGS... passes (pass) or fails (fail).
check() {
    local expect=$1 log=$2
    shift 2
    if "$here/disc_readers_test.sh" --check "$@" >"$log" 2>&1; then
        [ "$expect" = pass ] || fail "--check $* passed; it should have failed"
    else
        [ "$expect" = fail ] || { cat "$log"; fail "--check $* failed"; }
    fi
}
image() { genisoimage -quiet -input-charset utf-8 "$@"; }

# A small folder; Latin-1, Greek and Japanese names (genisoimage keeps no name outside the BMP).
mkdir -p small/sub/deeper
printf '[autorun]\r\nOPEN=index.htm\r\n' >small/autorun.inf
echo '<html></html>' >small/index.htm
echo café >small/café.html
echo greek >small/Ελληνικά.txt
echo japanese >small/日本語.txt
: >small/empty
head -c 200000 /dev/urandom >small/sub/random.bin
echo deep >"small/sub/deeper/Deep File.TXT"
image -udf -J -V UDFSMALL -o small.iso small || fail "genisoimage failed"
check pass small.log small small.iso UDFSMALL --udf

# One byte of one UDF name changed: the ISO 9660 and Joliet side still passes, the UDF pass not.
cp small.iso damaged.iso
at=$(LC_ALL=C grep -obaP '\x08caf\xe9\.html' damaged.iso | head -1 | cut -d: -f1)
[ -n "$at" ] || fail "no UDF name café.html in the image"
printf 'K' | dd of=damaged.iso bs=1 seek=$((at + 1)) conv=notrunc status=none
check pass damaged-iso.log small damaged.iso UDFSMALL
check fail damaged-udf.log small damaged.iso UDFSMALL --udf
grep -q "7-Zip" damaged-udf.log && grep -q "pycdlib could not walk the UDF tree" damaged-udf.log \
    || fail "the damaged UDF tree is not reported by 7-Zip and pycdlib: $(cat damaged-udf.log)"

# Names past Joliet's 64 units and ten levels: genisoimage's UDF and long Joliet (103) hold
# them; its plain Joliet shortens them to 64, which only --long accepts. A Greek folder below
# a Latin-1 one: names in UTF-16 below names of one byte a character.
deep="long/Étage 1/Επίπεδο 2/3/4/5/6/7/8/9/10"
mkdir -p "$deep"
printf '[autorun]\r\nOPEN=index.htm\r\n' >long/autorun.inf
echo deepest >"$deep/deepest.txt"
echo greek >"long/$(printf 'Ω%.0s' $(seq 1 90)).txt"
echo latin >"long/Long name $(printf 'é%.0s' $(seq 1 80)) end.html"
image -udf -J -joliet-long -D -V LONGTEST -o long.iso long || fail "genisoimage failed"
check pass long.log long long.iso LONGTEST --udf --long
image -J -D -V LONGTEST -o short.iso long 2>/dev/null || fail "genisoimage failed"
check pass short-long.log long short.iso LONGTEST --long
check fail short.log long short.iso LONGTEST

[ $failures = 0 ] && echo "the UDF pass and --long hold" || echo "$failures failure(s)"
[ $failures = 0 ]
