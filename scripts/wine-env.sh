# Sourced by bash: sets up the Wine environment that the tests and the demo run in.
# A prefix of the build's own (or the caller's WINEPREFIX), 32-bit, quiet, no Mono/Gecko
# prompts, one virtual desktop of 1024x768 for all programs, and a HOME whose ALSA default is
# the null device so sounds play into nothing instead of failing for want of a sound card.
# Sets the prefix up once; quick afterwards.

_vt_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEARCH="$("$_vt_root/scripts/wine-arch.sh")"
if [ "$WINEARCH" = win64 ]; then
  _vt_build="${VINTROSK_WIN_BUILD:-$_vt_root/build/win64}"
  # Debian's wine command picks the 32-bit loader whenever it is installed, runnable or not.
  mkdir -p "$_vt_build/winebin"
  for _vt_name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
      >"$_vt_build/winebin/$_vt_name"
    chmod +x "$_vt_build/winebin/$_vt_name"
  done
  case ":$PATH:" in *":$_vt_build/winebin:"*) ;; *) export PATH="$_vt_build/winebin:$PATH" ;; esac
  unset _vt_name
else
  _vt_build="${VINTROSK_WIN_BUILD:-$_vt_root/build/win}"
fi

export WINEPREFIX="${WINEPREFIX:-$_vt_build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml="
export HOME="$_vt_build/home"

if [ ! -f "$HOME/.asoundrc" ]; then
  mkdir -p "$HOME"
  echo 'pcm.!default { type null }' > "$HOME/.asoundrc"
fi

# Every program runs in one Wine virtual desktop, as on Windows: on a bare X display with no
# window manager, Wine waits two seconds for each hidden window to be withdrawn, and windows
# get no caption. ctest may start several test programs at once: one of them sets it all up.
_vt_setup=2  # raise when the prefix needs something new
if [ "$(cat "$WINEPREFIX/.vintrosk-ready" 2>/dev/null)" != "$_vt_setup" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ "$(cat "$WINEPREFIX/.vintrosk-ready" 2>/dev/null)" != "$_vt_setup" ]; then
      echo "wine-env: setting up Wine prefix $WINEPREFIX" >&2
      { [ -f "$WINEPREFIX/system.reg" ] || wineboot -i; } >/dev/null 2>&1 &&
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 &&
        wineserver -w && echo "$_vt_setup" > "$WINEPREFIX/.vintrosk-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
unset _vt_root _vt_build _vt_setup
