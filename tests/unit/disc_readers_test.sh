#!/usr/bin/env bash
# Disc images read back by three readers nobody here wrote: xorriso, isoinfo and bsdtar each
# list the same names and extract the same bytes as the folder the image was made of; the
# primary tree holds the same files under 8.3 names; isovfy finds no fault; the volume label
# reads back; autorun.inf lies in the root. A write that fails half way leaves nothing.
#
#   disc_readers_test.sh WRITER SAMPLES WORK          build both trees, image and check them
#   disc_readers_test.sh --check FOLDER IMAGE LABEL [--udf] [--long]
#                                                     check an image made elsewhere
#
# --udf also reads the UDF tree: 7-Zip forced to UDF extracts the same names and bytes,
# udfinfo reads the label and revision 1.02, pycdlib walks the same paths, sizes and bytes, and
# pycdlib's Joliet tree holds the same too.
# --long is for a folder with names longer than Joliet's 64 units or deeper than 8 levels,
# which the Joliet and primary trees hold under shortened names: there they must hold as many
# files with the same bytes (and Joliet dates), whatever the names; UDF still holds the names.
set -uo pipefail

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Every path under a folder, files and folders, sorted.
listing() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort); }
# The checksums of the files alone, sorted: the same bytes whatever the files are called.
latin1() { perl -CI -pe 's/([^\x00-\xFF])/ord($1) > 0xFFFF ? "__" : "_"/ge'; }
sums() { (cd "$1" && find . -type f -exec md5sum {} + | cut -d' ' -f1 | LC_ALL=C sort); }
# Each file's checksum with its date, sorted: dates compared whatever the files are called.
dated_sums() {
    (cd "$1" && find . -type f -exec sh -c 'for f; do printf "%s %s\n" "$(md5sum <"$f" | cut -d" " -f1)" \
        "$(date -u -r "$f" "+%F %T")"; done' sh {} + | LC_ALL=C sort)
}
# pycdlib wants Debian's own python3, which python3-pycdlib is installed for.
py=/usr/bin/python3
[ -x $py ] || py=python3
walk() { $py "$(dirname "$0")/udf_walk.py" "$@"; }
# Of walk's lines, the files' "size md5" alone, sorted.
file_sums() { grep -v '/$' | awk '{print $(NF-1), $NF}' | LC_ALL=C sort; }

check() {
    local src=$1 image=$2 label=$3 udf=$4 long=$5 out
    out=$(mktemp -d)
    echo "== $image${udf:+ (UDF too)}${long:+ (long names)}"

    # xorriso reads the Joliet tree (no Rock Ridge here).
    xorriso -abort_on FAILURE -indev "$image" -osirrox on -extract / "$out/xorriso" >"$out/xorriso.log" 2>&1 \
        || { cat "$out/xorriso.log"; fail "xorriso could not extract $image"; }
    chmod -R u+w "$out/xorriso" 2>/dev/null
    if [ -n "$long" ]; then
        [ "$(sums "$src")" = "$(sums "$out/xorriso")" ] || fail "xorriso extracts other files' bytes or another number of files"
    else
        diff -r "$src" "$out/xorriso" >/dev/null || fail "xorriso extracts other names or bytes: $(diff -rq "$src" "$out/xorriso" | head -5)"
    fi
    # The primary label: upper-case d-characters, one "_" for each other character.
    local primary_label
    primary_label=$(printf '%s' "$label" | LC_ALL=C.UTF-8 sed 's/[^A-Za-z0-9_]/_/g' | tr a-z A-Z)
    grep -q "Volume id *: *'$primary_label'" "$out/xorriso.log" \
        || fail "xorriso reads another primary volume label: $(grep -i 'Volume id' "$out/xorriso.log")"

    # bsdtar (libarchive) reads the Joliet tree, with the files' dates.
    mkdir "$out/bsdtar"
    bsdtar -xf "$image" -C "$out/bsdtar" || fail "bsdtar could not extract $image"
    local dates
    if [ -n "$long" ]; then
        dates=$(diff <(dated_sums "$src") <(dated_sums "$out/bsdtar"))
        [ -z "$dates" ] || fail "bsdtar reads other files' bytes or dates: $(echo "$dates" | head -4)"
    else
        diff -r "$src" "$out/bsdtar" >/dev/null || fail "bsdtar extracts other names or bytes: $(diff -rq "$src" "$out/bsdtar" | head -5)"
        dates=$(diff <(cd "$src" && find . -type f -printf '%p %TY-%Tm-%Td %TH:%TM:%.2TS\n' | LC_ALL=C sort) \
                     <(cd "$out/bsdtar" && find . -type f -printf '%p %TY-%Tm-%Td %TH:%TM:%.2TS\n' | LC_ALL=C sort))
        [ -z "$dates" ] || fail "bsdtar reads other file dates: $(echo "$dates" | head -4)"
    fi

    # isoinfo: the Joliet listing, every file extracted one by one, and the primary tree. It
    # knows no UTF-8: names come out in Latin-1, every other UTF-16 unit as "_".
    # (With long names the listing is not the folder's: pycdlib checks Joliet below.)
    if [ -z "$long" ]; then
        isoinfo -J -f -i "$image" | sed 's|^/|./|' | LC_ALL=C sort >"$out/isoinfo.list"
        diff <(listing "$src" | latin1 | LC_ALL=C sort) "$out/isoinfo.list" >/dev/null \
            || fail "isoinfo lists other names: $(diff <(listing "$src" | latin1 | LC_ALL=C sort) "$out/isoinfo.list" | head -5)"
        while IFS= read -r file; do
            cmp -s "$src/$file" <(isoinfo -J -i "$image" -x "/$(printf '%s\n' "${file#./}" | latin1)") \
                || fail "isoinfo extracts other bytes of $file"
        done < <(cd "$src" && find . -type f | LC_ALL=C sort)
    fi
    local primary
    primary=$(isoinfo -f -i "$image")
    if [ -n "$long" ]; then
        [ "$(echo "$primary" | grep -c ';1$')" = "$(find "$src" -type f | wc -l)" ] \
            || fail "the primary tree holds another number of files"
    else
        [ "$(echo "$primary" | wc -l)" = "$(listing "$src" | wc -l)" ] || fail "the primary tree holds another number of entries"
    fi
    echo "$primary" | grep -qvE '^(/[A-Z0-9_]{1,8}(\.[A-Z0-9_]{0,3};1)?)+$' \
        && fail "primary names that are not 8.3 upper case: $(echo "$primary" | grep -vE '^(/[A-Z0-9_]{1,8}(\.[A-Z0-9_]{0,3};1)?)+$' | head -3)"
    echo "$primary" | grep -qx '/AUTORUN.INF;1' || fail "no AUTORUN.INF in the primary root"
    isoinfo -J -f -i "$image" | grep -qx '/autorun.inf' || fail "no autorun.inf in the Joliet root"

    # The primary tree alone, through xorriso: the same files' bytes under the 8.3 names.
    xorriso -read_fs ecma119 -indev "$image" -osirrox on -extract / "$out/primary" >/dev/null 2>&1 \
        || fail "xorriso could not extract the primary tree"
    chmod -R u+w "$out/primary" 2>/dev/null
    [ "$(sums "$src")" = "$(sums "$out/primary")" ] || fail "the primary tree holds other bytes"

    isovfy "$image" >"$out/isovfy.log" 2>&1
    grep -q "No errors found" "$out/isovfy.log" || fail "isovfy: $(head -5 "$out/isovfy.log")"

    # The Joliet label as Windows shows it.
    local joliet_label
    joliet_label=$(PATH=$PATH:/sbin:/usr/sbin blkid -p -o value -s LABEL "$image")
    [ "$joliet_label" = "$label" ] || fail "the Joliet label reads $joliet_label"

    if [ -n "$udf$long" ]; then
        walk --folder "$src" >"$out/folder.walk"
        # pycdlib's Joliet tree: the same paths, sizes and bytes, or with long names as many
        # files of the same sizes and bytes.
        if ! walk --joliet "$image" >"$out/joliet.walk"; then
            fail "pycdlib could not walk the Joliet tree"
        elif [ -n "$long" ]; then
            diff <(file_sums <"$out/folder.walk") <(file_sums <"$out/joliet.walk") >/dev/null \
                || fail "pycdlib's Joliet tree holds other files: $(diff <(file_sums <"$out/folder.walk") <(file_sums <"$out/joliet.walk") | head -5)"
        else
            diff "$out/folder.walk" "$out/joliet.walk" >/dev/null \
                || fail "pycdlib's Joliet tree differs: $(diff "$out/folder.walk" "$out/joliet.walk" | head -5)"
        fi
    fi
    [ -n "$udf" ] && check_udf "$src" "$image" "$label" "$out"
    rm -rf "$out"
}

# The UDF tree, by three readers; long names and any depth held as they are.
check_udf() {
    local src=$1 image=$2 label=$3 out=$4
    # 7-Zip forced to UDF (it would pick the ISO 9660 side by itself), names in UTF-8.
    if LC_ALL=C.UTF-8 7z x -tUdf -y -o"$out/7z" "$image" >"$out/7z.log" 2>&1; then
        diff -r "$src" "$out/7z" >/dev/null || fail "7-Zip extracts other UDF names or bytes: $(diff -rq "$src" "$out/7z" | head -5)"
    else
        fail "7-Zip could not extract the UDF tree of $image: $(grep -iE 'error|can.t' "$out/7z.log" | head -3)"
    fi

    local info
    if info=$(PATH=$PATH:/sbin:/usr/sbin udfinfo --utf8 "$image" 2>&1); then
        echo "$info" | grep -qxF "label=$label" || fail "udfinfo reads another UDF label: $(echo "$info" | grep '^label=')"
        echo "$info" | grep -qx 'udfrev=1.02' || fail "udfinfo reads another UDF revision: $(echo "$info" | grep '^udfrev=')"
    else
        fail "udfinfo cannot read $image: $(echo "$info" | tail -2)"
    fi

    if walk "$image" >"$out/udf.walk"; then
        diff "$out/folder.walk" "$out/udf.walk" >/dev/null \
            || fail "pycdlib's UDF tree differs: $(diff "$out/folder.walk" "$out/udf.walk" | head -5)"
    else
        fail "pycdlib could not walk the UDF tree"
    fi
}

if [ "${1:-}" = --check ]; then
    udf="" long=""
    for flag in "${@:5}"; do
        case $flag in
            --udf) udf=1 ;;
            --long) long=1 ;;
            *) echo "unknown option $flag (--udf, --long)"; exit 2 ;;
        esac
    done
    check "$2" "$3" "$4" "$udf" "$long"
    [ $failures = 0 ] && echo "all readers agree" || echo "$failures failure(s)"
    [ $failures = 0 ]
    exit
fi

writer=$1 samples=$2 work=$3
rm -rf "$work" && mkdir -p "$work"

# (a) The sample site with an autorun.inf and an autorun.exe beside it.
disc="$work/disc"
cp -r "$samples" "$disc"
printf '[autorun]\r\nOPEN=autorun.exe -b index.htm\r\nICON=autorun.exe\r\n' >"$disc/autorun.inf"
head -c 150000 /dev/urandom >"$disc/autorun.exe"

# (b) Long, mixed-case, Unicode and deep names; names that share their 8.3 form; zero-byte
# and multi-megabyte files; dates from long ago and far ahead.
tree="$work/tree"
deep="$tree/Level 2/level.three/Λεβελ 4/レベル5/Level 6/Level7 with a long name/8"
mkdir -p "$deep"
long=$(printf 'x%.0s' $(seq 1 59))
printf 'sixty-four' >"$tree/${long}.abcd"
printf 'deep' >"$deep/Deepest File.TXT"
: >"$tree/empty"
: >"$deep/empty.dat"
seq 1 900000 >"$tree/Several Megabytes.log"
head -c 3000001 /dev/urandom >"$tree/Level 2/random.bin"
for name in "Long file name one.txt" "Long file name two.txt" "LONG FILE NAME THREE.TXT" "README" "readme.txt" \
            "ReadMe.TXT.bak" "a.b.c.d" "Ünïcödé café.html" "日本語のファイル名.txt" "Ελληνικά.txt" "emoji 😀.txt" \
            ".hidden" "with space" "UPPER.TXT" "lower.txt" "MiXeD.CaSe"; do
    printf '%s\n' "$name" >"$tree/$name"
done
touch -d '1985-03-04 05:06:07 UTC' "$tree/UPPER.TXT"
touch -d '2099-12-31 23:59:58 UTC' "$tree/lower.txt"
printf '[autorun]\r\nOPEN=autorun.exe\r\n' >"$tree/autorun.inf"

"$writer" "$disc" "$work/disc.iso" "SAMPLE DISC" || fail "the writer failed on the sample disc"
"$writer" "$tree" "$work/tree.iso" "Ünïcode Label 16" || fail "the writer failed on the long-name tree"
# A write that fails half way (here the file size limit, as on a full or FAT-formatted disc)
# names the image and leaves nothing of it.
if ( ulimit -f 64; trap '' XFSZ; "$writer" "$disc" "$work/full.iso" "SAMPLE DISC" ) 2>"$work/full.log"; then
    fail "the writer went past the file size limit"
fi
grep -qx "$work/full.iso: File too large." "$work/full.log" || fail "the failed write says: $(cat "$work/full.log")"
[ ! -e "$work/full.iso" ] && [ ! -e "$work/full.iso.part" ] || fail "a failed write left a partial image"

# (c) A site of names up to 196 characters in five scripts and ten folders deep: whole in UDF,
# shortened in Joliet.
site="$work/long"
python3 "$(dirname "$0")/../../tools/make_long_site.py" "$site" || fail "the long site was not made"
printf '[autorun]\r\nOPEN=autorun.exe index.html\r\n' >"$site/autorun.inf"
"$writer" "$site" "$work/long.iso" "LONG NAMES" || fail "the writer failed on the long names"

# Every image holds the UDF tree beside the ISO 9660 and Joliet ones.
check "$disc" "$work/disc.iso" "SAMPLE DISC" --udf ""
check "$tree" "$work/tree.iso" "Ünïcode Label 16" --udf ""
check "$site" "$work/long.iso" "LONG NAMES" --udf --long
[ $failures = 0 ] && echo "all readers agree" || echo "$failures failure(s)"
[ $failures = 0 ]
