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

# Again into the same folder, with a label: a folder of an earlier build is rebuilt.
touch cd/stale.gif
run again 0 build --out cd --image cd.iso --label SAMPLE
[ ! -e cd/stale.gif ] || fail "again: a file of the earlier build stayed"
"$here/disc_readers_test.sh" --check cd cd.iso SAMPLE >readers2.log 2>&1 \
    || { cat readers2.log; fail "again: the readers do not read the labelled image back"; }

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
# A folder of the user's own is not emptied.
mkdir -p mine && printf 'keep me' > mine/letter.txt
run mine 1 build --out mine
[ "$(cat mine/letter.txt)" = "keep me" ] || fail "mine: the user's file was touched"

# A check before writing: a linked name longer than a disc allows; nothing is written.
long=$(printf 'n%.0s' $(seq 61)).gif
printf '<meta http-equiv="X-UA-Compatible" content="IE=edge"><img src="%s">' "$long" > site/long.htm
printf 'x' > "site/$long"
run toolong 1 build --out toolong --target site/long.htm
expect_err toolong "The file $work/site/$long cannot go on the CD-ROM as $long: the name is longer than the 64 characters a disc allows.

Please rename the file or select another one."
[ ! -e toolong ] || fail "toolong: the output folder was made"
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

[ "$failures" = 0 ] && echo "vintrosk: all checks passed"
exit $((failures > 0))
