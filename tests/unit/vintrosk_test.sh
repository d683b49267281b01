#!/usr/bin/env bash
# The Linux program "vintrosk build" on real files: the sample disc and its image (read back by
# the readers), the defaults beside the program, and each failure with its exit code and message,
# with nothing written where the build is refused before it starts.
#
#   vintrosk_test.sh VINTROSK SAMPLES WORK
set -uo pipefail
tool=$1 samples=$2 work=$3
here="$(cd "$(dirname "$0")" && pwd)"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work" && mkdir -p "$work/program" && cd "$work" || exit 1
# The program installed with its sample folders; a stand-in launcher beside it.
cp -r "$samples"/. program/
cp "$tool" program/vintrosk
printf 'MZ stand-in launcher' > program/Vintrosk.exe
vk=program/vintrosk

# run NAME EXPECTED-CODE ARGS...: runs the tool, keeps its output in NAME.out and NAME.err.
run() {
    local name=$1 want=$2 code
    shift 2
    "$vk" "$@" >"$name.out" 2>"$name.err"
    code=$?
    [ "$code" = "$want" ] || fail "$name: exit $code, expected $want; $(cat "$name.err")"
}
# expect_err NAME TEXT: standard error is exactly TEXT.
expect_err() { [ "$(cat "$1.err")" = "$2" ] || fail "$1: standard error is \"$(cat "$1.err")\", expected \"$2\""; }

# A good run with the defaults, an output folder and an image.
run good 0 build --out cd --image cd.iso
expected="1_Demo_General_Menu.html 2_Demo_Page_Actions.html 3_Demo_Movie.html COPY_ALL_TO_CDROM_ROOT.txt autorun.exe autorun.inf back.jpg btn_browse.gif btn_copy.gif btn_message.gif btn_movie.gif btn_page.gif btn_quit.gif btn_run.gif btn_web.gif default.jpg default.wav intro.avi logo.gif readme.txt wallpaper.jpg"
[ "$(cd cd && ls | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')" = "$(echo $expected | tr ' ' '\n' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')" ] \
    || fail "good: the folder holds $(ls cd | tr '\n' ' ')"
[ "$(cat cd/autorun.inf)" = "$(printf '[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\nICON=autorun.exe\r')" ] \
    || fail "good: autorun.inf is $(cat -A cd/autorun.inf)"
cmp -s cd/autorun.exe program/Vintrosk.exe || fail "good: autorun.exe is not the launcher beside the program"
cmp -s cd/default.wav "$samples/sounds/default.wav" || fail "good: default.wav differs"
[ ! -s good.err ] || fail "good: warnings or errors: $(cat good.err)"
grep -q '^Done\.$' good.out || fail "good: no Done. in $(cat good.out)"
"$here/disc_readers_test.sh" --check cd cd.iso 1_DEMO_GENERAL_M >readers.log 2>&1 \
    || { cat readers.log; fail "good: the readers do not read the image back"; }

# A rebuild A -> B into the same folder and image holds exactly B: a site kept in folders first,
# then the sample disc with a label.
mkdir -p rebuild/img rebuild/sub
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><img src="img/a.gif"><a href="sub/b.htm">b</a>' > rebuild/index.htm
printf 'a' > rebuild/img/a.gif
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><img src="../img/a.gif">' > rebuild/sub/b.htm
run first 0 build --out cd --image cd.iso --target rebuild/index.htm --no-splash --no-sound
[ -e cd/img/a.gif ] && [ -e cd/sub/b.htm ] || fail "first: the site's folders are not on the disc"
run again 0 build --out cd --image cd.iso --label SAMPLE
[ ! -e cd/img ] && [ ! -e cd/sub ] && [ ! -e cd/index.htm ] || fail "again: files of the earlier build stayed: $(find cd -newer rebuild/index.htm -prune -o -print | head)"
[ "$(cd cd && ls | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')" = "$(echo $expected | tr ' ' '\n' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')" ] \
    || fail "again: the folder holds $(ls cd | tr '\n' ' ')"
"$here/disc_readers_test.sh" --check cd cd.iso SAMPLE >readers2.log 2>&1 \
    || { cat readers2.log; fail "again: the readers do not read the labelled image back"; }
ls -d cd.* | grep -qv '^cd\.iso$' && fail "again: something was left beside the folder: $(ls -d cd.*)"
# A file no build wrote, in a subfolder of the earlier disc: the build stops naming it, and the
# folder and image stay as they were.
mkdir -p cd/notes && printf 'mine' > cd/notes/todo.txt
cp cd.iso before.iso
run stranger 1 build --out cd --image cd.iso --target rebuild/index.htm
grep -q '^    notes/todo.txt$' stranger.err || fail "stranger: the file is not named: $(cat stranger.err)"
[ "$(cat cd/notes/todo.txt)" = mine ] && [ -e cd/default.wav ] && cmp -s cd.iso before.iso \
    || fail "stranger: the earlier disc was changed"
rm -r cd/notes

# The help, and bad commands and options.
run help 0 build --help
grep -q -- '--launcher FILE' help.out && grep -q '^Exit codes' help.out || fail "help: $(cat help.out)"
run bare 2
run command 2 make
expect_err command "There is no command make; the one command is build.
Run vintrosk build --help for the options."
run badopt 2 build --window-size huge
expect_err badopt "The window size huge is not one of default, 640x480, 800x600 or full.
Run vintrosk build --help for the options."

# Missing files: a given file, a linked file, the launcher.
run gone 1 build --out gone --splash nothing.jpg
expect_err gone "The splash image $work/nothing.jpg was not found."
[ ! -e gone ] || fail "gone: the output folder was made"
mkdir -p site && printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><img src="here.gif"><img src="lost.gif">' > site/index.htm
printf 'here' > site/here.gif
run missing 3 build --out missing --target site/index.htm
expect_err missing "Missing linked file: $work/site/lost.gif (not found)
1 linked file(s) missing: the CD-ROM files are incomplete."
[ -e missing/here.gif ] || fail "missing: the files that are there were not copied"
run allowed 0 build --out allowed --target site/index.htm --allow-missing
expect_err allowed "Missing linked file: $work/site/lost.gif (not found)"
run nolauncher 1 build --out nolauncher --launcher elsewhere/Vintrosk.exe
expect_err nolauncher "The program to copy as autorun.exe, $work/elsewhere/Vintrosk.exe, was not found. Please name it with --launcher."

# An output that cannot be written: a folder under a file, and an image nowhere.
printf 'a file' > plainfile
run unwritable 1 build --out plainfile/cd
expect_err unwritable "There was a problem creating the output folder $work/plainfile/cd

Please check that the folder above it exists and that you may write there."
run noimage 1 build --out noimage --image plainfile/cd.iso
grep -q "^There was a problem writing the disc image: " noimage.err || fail "noimage: $(cat noimage.err)"
[ ! -e plainfile/cd.iso ] || fail "noimage: something of the image was left"
# The output at a file, and the image at a file no build wrote or among the site's pages.
run outfile 1 build --out plainfile
expect_err outfile "The output folder $work/plainfile is a file, not a folder, so the CD-ROM files cannot go there.

Please move or rename that file, or choose another folder."
printf 'keep me' > keep.txt
run imagekeep 1 build --out imagekeep --image keep.txt
grep -q "^The file $work/keep.txt is not a disc image that Create CD wrote" imagekeep.err || fail "imagekeep: $(cat imagekeep.err)"
[ "$(cat keep.txt)" = "keep me" ] && [ ! -e imagekeep ] || fail "imagekeep: something was written"
cp site/index.htm index.before
run imagepage 1 build --out imagepage --target site/index.htm --image site/index.htm
grep -q "^The disc image $work/site/index.htm would lie inside $work/site, the folder of the pages" imagepage.err \
    || fail "imagepage: $(cat imagepage.err)"
cmp -s site/index.htm index.before && [ ! -e imagepage ] || fail "imagepage: something was written"
run imageinside 1 build --out imageinside --target site/index.htm --image site/sub/cd.iso --allow-missing
grep -q "would lie inside $work/site," imageinside.err || fail "imageinside: $(cat imageinside.err)"
# The root as the output names itself with a slash.
run root 1 build --out /
grep -q ' lies inside /, which Create CD empties' root.err || fail "root: $(head -2 root.err)"

# A copy that fails for want of room is an error naming the reason, with or without
# --allow-missing, and leaves no folder behind: a file size limit makes every big write fail.
mkdir -p big && head -c 3000000 /dev/zero > big/big.bin
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><a href="big.bin">big</a>' > big/index.htm
for extra in "" --allow-missing; do
    (ulimit -f 1024; trap '' XFSZ; "$vk" build --out bigcd --target big/index.htm --no-splash --no-sound $extra \
        >bigfail.out 2>bigfail.err)
    code=$?
    [ "$code" = 1 ] || fail "bigfail $extra: exit $code, expected 1; $(cat bigfail.err)"
    grep -q "^There was a problem copying $work/big/big.bin to $work/bigcd/big.bin: file too large\.$" bigfail.err \
        || fail "bigfail $extra: $(cat bigfail.err)"
    grep -q "Missing linked file" bigfail.err && fail "bigfail $extra: the failed copy is called a missing link"
    [ ! -e bigcd ] && [ ! -e bigcd.part ] || fail "bigfail $extra: a folder was left"
done
# A disk too small for the disc is found before anything is written (where a tmpfs can be had).
mkdir -p small
if mount -t tmpfs -o size=2m tmpfs small 2>/dev/null; then
    for extra in "" --allow-missing; do
        run small 1 build --out small/cd --target big/index.htm --no-splash --no-sound $extra
        grep -q "^There is not enough free space in $work/small for the CD-ROM files: they need 3 MB, and 2 MB are free\.$" small.err \
            || fail "small $extra: $(cat small.err)"
        [ -z "$(ls -A small)" ] || fail "small $extra: something was written: $(ls -A small)"
    done
    # The folder fits alone, not beside its image.
    head -c 1200000 /dev/zero > big/big.bin
    run smallimage 1 build --out small/cd --target big/index.htm --no-splash --no-sound --image small/cd.iso
    grep -q "^There is not enough free space in $work/small" smallimage.err || fail "smallimage: $(cat smallimage.err)"
    run smallfits 0 build --out small/cd --target big/index.htm --no-splash --no-sound
    umount small
else
    echo "vintrosk: no tmpfs can be mounted here; the free space check is left to the unit tests"
fi

# A folder of the user's own is not emptied.
mkdir -p mine && printf 'keep me' > mine/letter.txt
run mine 1 build --out mine
[ "$(cat mine/letter.txt)" = "keep me" ] || fail "mine: the user's file was touched"

# A check before writing: a linked name longer than any disc holds; nothing is written.
long=$(printf 'n%.0s' $(seq 251)).gif
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><img src="%s">' "$long" > site/long.htm
printf 'x' > "site/$long"
run toolong 1 build --out toolong --target site/long.htm
expect_err toolong "The file $work/site/$long cannot go on the CD-ROM as $long: the name is longer than a disc holds (254 Latin characters, or 127 of other scripts).

Please rename the file or select another one."
[ ! -e toolong ] || fail "toolong: the output folder was made"
# A name longer than Joliet's 64 is a warning: the image holds it whole in UDF, shortened in Joliet.
joliet=$(printf 'j%.0s' $(seq 61)).gif
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><img src="%s">' "$joliet" > site/joliet.htm
printf 'x' > "site/$joliet"
run joliet 0 build --out joliet --target site/joliet.htm --image joliet.iso
expect_err joliet "Warning: The name $joliet is longer than the 64 characters of Joliet, so it is shortened to $(printf 'j%.0s' $(seq 58))~1.gif on systems that read only Joliet (Windows reads it from the disc image's UDF)."
[ -e "joliet/$joliet" ] || fail "joliet: the file is not in the folder"
# A warning is printed and the build goes on.
printf '<img src="here.gif">' > site/old.htm
run oldmode 0 build --out oldmode --target site/old.htm
expect_err oldmode "Warning: The page $work/site/old.htm declares no document mode (X-UA-Compatible), so the built-in viewer draws it in its oldest mode."

# A site kept in folders: a stylesheet and its picture, a page in a subfolder linking back up.
mkdir -p tree/css tree/img tree/sub
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><link rel=stylesheet href="css/site.css"><img src="img\\logo.gif"><a href="sub/page.htm">p</a>' > tree/index.htm
printf 'body { background: url(../img/bg.gif) }' > tree/css/site.css
printf 'logo' > tree/img/logo.gif && printf 'bg' > tree/img/bg.gif
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><img src="../img/logo.gif">' > tree/sub/page.htm
run tree 0 build --out treecd --target tree/index.htm --no-splash --no-sound --image tree.iso
[ ! -s tree.err ] || fail "tree: warnings or errors: $(cat tree.err)"
for f in css/site.css img/logo.gif img/bg.gif sub/page.htm; do
    cmp -s "tree/$f" "treecd/$f" || fail "tree: $f is not in its folder on the disc"
done
"$here/disc_readers_test.sh" --check treecd tree.iso INDEX >readers3.log 2>&1 \
    || { cat readers3.log; fail "tree: the readers do not read the image of a site in folders back"; }

# A site of long names in five scripts, ten folders deep: built with warnings (Joliet shortens
# the names, ISO 9660 and Joliet may not reach the deepest folders), every file linked is on the
# disc, and the image holds them all whole in UDF.
python3 "$here/../../tools/make_long_site.py" longsite >/dev/null || fail "longsite: the site was not made"
run longsite 0 build --out longcd --target longsite/index.html --no-splash --no-sound --image long.iso
grep -q "^The name .* is longer than the 64 characters of Joliet, so it is shortened to .*~1" longsite.err \
    || fail "longsite: no warning of a shortened name: $(head -c 300 longsite.err)"
grep -q "Missing linked file" longsite.err && fail "longsite: files are missing: $(grep Missing longsite.err | head -3)"
[ "$(cd longsite && find . -type f | LC_ALL=C sort)" = "$(cd longcd && find . -type f ! -name autorun.exe ! -name autorun.inf ! -name COPY_ALL_TO_CDROM_ROOT.txt | LC_ALL=C sort)" ] \
    || fail "longsite: the folder holds other files than the site"
"$here/disc_readers_test.sh" --check longcd long.iso INDEX --udf --long >readers4.log 2>&1 \
    || { cat readers4.log; fail "longsite: the readers do not read the image back"; }

# A site made where letter case tells names apart: the disc, read by Windows, holds the start
# page, and the linked Index.htm beside it is reported, not written to shadow it.
mkdir -p cased
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><a href="Index.htm">index</a>' > cased/index.htm
printf 'the index' > cased/Index.htm
run cased 3 build --out casedcd --target cased/index.htm --no-splash --no-sound
expect_err cased "Missing linked file: $work/cased/Index.htm (letter-case twin of another file)
1 linked file(s) missing: the CD-ROM files are incomplete."
[ ! -e casedcd/Index.htm ] || fail "cased: Index.htm was written beside the start page"
cmp -s cased/index.htm casedcd/index.htm || fail "cased: the start page is not on the disc"

# A folder link back to its own folder: reported once, not followed level after level (nor
# checked before writing at every level).
mkdir -p looped
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><a href="loop/index.htm">again</a><img src="loop/loop/pic.gif">' > looped/index.htm
printf 'pic' > looped/pic.gif
ln -s . looped/loop
run looped 3 build --out loopedcd --target looped/index.htm --no-splash --no-sound
expect_err looped "Missing linked file: $work/looped/loop (folder link in a loop)
1 linked file(s) missing: the CD-ROM files are incomplete."
[ ! -e loopedcd/loop ] || fail "looped: the folder link was followed"

# On a terminal the build shows one line, rewritten in place and cleared before what follows;
# in a log it writes no such line; --quiet prints only what goes wrong.
script -qec "$vk build --out tty --image tty.iso" /dev/null >tty.log 2>&1 || fail "tty: the build failed: $(cat tty.log)"
grep -q $'\r''Copying the files [0-9]' tty.log || fail "tty: no progress line in $(cat -A tty.log | head -c 600)"
grep -q $'\r\e\[K''Done\.' tty.log || fail "tty: the progress line is not cleared before Done.: $(cat -A tty.log | tail -c 300)"
grep -q $'\r' good.out good.err && fail "good: a progress line in a log"
grep -q '^Reading html/1_Demo_General_Menu.html$' good.out || fail "good: no pages in the log: $(cat good.out)"
run quiet 0 build --out quiet --image quiet.iso --quiet
[ ! -s quiet.out ] && [ ! -s quiet.err ] || fail "quiet: printed $(cat quiet.out quiet.err)"
[ -e quiet/autorun.inf ] && [ -e quiet.iso ] || fail "quiet: nothing built"

[ "$failures" = 0 ] && echo "vintrosk: all checks passed"
exit $((failures > 0))
