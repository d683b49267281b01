#!/usr/bin/env bash
# The designer's image option writes an image the readers read back, and
# design --build under Wine gives the designer's folder (command_build_test.exe checks that and
# leaves both); here the Linux program builds from the same settings, natively, and the three
# folders must hold the same names and bytes; both images read back with the same names and
# bytes through the readers, and differ at most in their dates.
# Usage: command_build_test.sh <command_build_test.exe> <output folder> <vintrosk> <program folder>
set -euo pipefail
exe=$1 out=$2 tool=$3 program=$4
root="$(cd "$(dirname "$0")/../.." && pwd)"
[ -x "$tool" ] || { echo "the Linux program $tool is not built (build the native tree first)"; exit 1; }
rm -rf "$out/command_build"
# A site of long names in five scripts, ten folders deep, for the designer to build.
rm -rf "$out/long_site"
python3 "$root/tools/make_long_site.py" "$out/long_site" >/dev/null
VT_LONG_SITE="$out/long_site" "$root/scripts/wine-run.sh" "$exe"
kept=$out/command_build
[ -d "$kept/long_designer" ] || { echo "the designer built no long-named site"; exit 1; }
"$root/tests/unit/disc_readers_test.sh" --check "$kept/long_designer" "$kept/long_designer.iso" INDEX --udf --long
"$tool" build --launcher "$program/Vintrosk.exe" --out "$kept/linux" --image "$kept/linux.iso"
diff -r "$kept/designer" "$kept/command"
diff -r "$kept/designer" "$kept/linux"
"$root/tests/unit/disc_readers_test.sh" --check "$kept/command" "$kept/command.iso" 1_DEMO_GENERAL_M --udf
"$root/tests/unit/disc_readers_test.sh" --check "$kept/linux" "$kept/linux.iso" 1_DEMO_GENERAL_M --udf
# The image of the designer's own option.
"$root/tests/unit/disc_readers_test.sh" --check "$kept/designer_image" "$kept/designer.iso" 1_DEMO_GENERAL_M --udf
# The same layout: the same size, and the bytes that differ lie in date fields (7 bytes in a
# directory record, 17 in a volume descriptor; in UDF up to 9 in each of a file entry's three
# times and in the descriptors' times, with the CRC and checksum of each tag that holds one, and
# the hex digits of the volume set's name), so there are few of them.
[ "$(stat -c %s "$kept/command.iso")" = "$(stat -c %s "$kept/linux.iso")" ] || { echo "the images differ in size"; exit 1; }
differing=$(cmp -l "$kept/command.iso" "$kept/linux.iso" | wc -l || true)
echo "bytes that differ between the images: $differing"
[ "$differing" -le 800 ] || { echo "the images differ in more than their dates"; exit 1; }
# Typed at a command prompt (a real console, given by script): the program has no handles of its
# own, attaches to the prompt's console and writes there; start /wait hands on its exit code.
console=$(cd "$program" && { script -qec "$root/scripts/wine-run.sh cmd /c \"start /wait Vintrosk.exe design --build --bogus & echo exit code %ERRORLEVEL%\"" /dev/null || true; } | tr -d '\r')
echo "$console" | grep -q "There is no option --bogus." || { echo "nothing on the console: $console"; exit 1; }
echo "$console" | grep -q "exit code 2" || { echo "no exit code 2 at the console: $console"; exit 1; }
# A site made on the Linux side, where letter case tells names apart (Wine opens each name as
# spelled): the Win32 scan reports the linked Index.htm instead of writing it to shadow the
# start page.
cased=$out/command_build/cased
mkdir -p "$cased"
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><a href="Index.htm">index</a>' > "$cased/index.htm"
printf 'the index' > "$cased/Index.htm"
console=$(cd "$cased" && { script -qec "$root/scripts/wine-run.sh cmd /c \"start /wait Z:${program//\//\\}\\Vintrosk.exe design --build --no-splash --no-sound --out cd --target index.htm & echo exit code %ERRORLEVEL%\"" /dev/null || true; } | tr -d '\r')
# The console wraps long lines and moves its cursor: the text alone, in one line.
flat=$(printf '%s' "$console" | tr -d '\n' | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g')
echo "$flat" | grep -q "Missing linked file: .*cased.Index\.htm (letter-case twin of another file)1 linked file(s) missing" || { echo "Index.htm not reported: $console"; exit 1; }
echo "$console" | grep -q "exit code 3" || { echo "no exit code 3 for Index.htm: $console"; exit 1; }
[ ! -e "$cased/cd/Index.htm" ] || { echo "Index.htm was written beside the start page"; exit 1; }
cmp -s "$cased/index.htm" "$cased/cd/index.htm" || { echo "the start page is not on the disc"; exit 1; }
echo "command_build: the designer, design --build and the Linux program agree"
