#!/usr/bin/env bash
# The setup program under Wine, in a prefix of its own made afresh (the other Wine tests share
# theirs): a silent install, installer_test.exe's two phases around the quiet uninstall, then
# the signed setup program (from signing_test.sh) installed silently into a folder of the
# administrator's choice, its signed program and uninstaller checked, run and removed.
# Usage: installer_test.sh <setup.exe> <signed setup.exe> <installer_test.exe> <work folder>
set -euo pipefail
setup=$1 signed_setup=$2 test_exe=$3 work=$4
root="$(cd "$(dirname "$0")/../.." && pwd)"

rm -rf "$work"
mkdir -p "$work"
export VINTROSK_WIN_BUILD="$work"  # wine-env.sh puts the prefix and HOME there
unset WINEPREFIX
source "$root/scripts/wine-env.sh"
# Wine would turn each shortcut into a .desktop file in HOME; Windows has no such thing.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
c="$WINEPREFIX/drive_c"

step() { echo "installer_test: $*"; }

step "silent install of $(basename "$setup")"
wine "$setup" /S
wineserver -w
wine "$test_exe" --gtest_filter='Installed.*'
wine "$test_exe" --gtest_filter='Uninstalled.*'
wineserver -w
# Nothing of ours in the Windows folders; the user's temporary folder is not ours to check.
leftover=$(find "$c/Program Files" "$c/ProgramData" "$c/users/Public" -iname '*vintrosk*' | head -n 5)
[ -z "$leftover" ] || { echo "left behind: $leftover"; exit 1; }
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vintrosk' >/dev/null 2>&1 &&
  { echo "the installed-programs entry is left"; exit 1; }

step "signed setup, silent, into a folder of the administrator's choice"
osslsigncode verify -CAfile "$(dirname "$signed_setup")/signing/cert.pem" -in "$signed_setup" >/dev/null
# /D= takes the rest of the command line as it stands, spaces and all, unquoted: through cmd.
wine cmd /c "$(winepath -w "$signed_setup") /S /D=C:\Apps\Vintrosk Signed"
wineserver -w
dir="$c/Apps/Vintrosk Signed"
for f in Vintrosk.exe uninstall.exe; do
  osslsigncode verify -CAfile "$(dirname "$signed_setup")/signing/cert.pem" -in "$dir/$f" >/dev/null
  step "$f is signed"
done
wine "C:\\Apps\\Vintrosk Signed\\Vintrosk.exe" none 0 0
step "the signed program ran and ended"
wine "C:\\Apps\\Vintrosk Signed\\uninstall.exe" /S
wineserver -w
[ ! -e "$dir" ] || { echo "left behind: $(ls -R "$dir")"; exit 1; }
step "passed"
