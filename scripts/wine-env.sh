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

# One step of the set-up; on failure it says which step and what the step printed.
_vt_step() {
  local name=$1 log
  shift
  log=$("$@" 2>&1) && return 0
  echo "wine-env: step failed: $name (exit $?)" >&2
  [ -z "$log" ] || printf '%s\n' "$log" | tail -n 15 | sed 's/^/wine-env:   /' >&2
  return 1
}
_vt_set_up_prefix() {
  { [ -f "$WINEPREFIX/system.reg" ] || _vt_step "wineboot -i (making the prefix)" wineboot -i; } &&
    _vt_step "the virtual desktop" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
    _vt_step "the desktop's size" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f &&
    _vt_step "wineserver -w (writing the prefix)" wineserver -w &&
    echo "$_vt_setup" > "$WINEPREFIX/.vintrosk-ready"
}
if [ "$(cat "$WINEPREFIX/.vintrosk-ready" 2>/dev/null)" != "$_vt_setup" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # A set-up that fails once in a while here (a wineserver still going down, a prefix half
  # made) goes through on a second try from a stopped server; a failure twice stops the caller.
  if ! (
    flock 9
    [ "$(cat "$WINEPREFIX/.vintrosk-ready" 2>/dev/null)" = "$_vt_setup" ] && exit 0
    echo "wine-env: setting up Wine prefix $WINEPREFIX" >&2
    _vt_set_up_prefix && exit 0
    echo "wine-env: trying the set-up once more" >&2
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    [ -f "$WINEPREFIX/system.reg" ] || rm -rf "$WINEPREFIX"
    _vt_set_up_prefix
  ) 9>"$WINEPREFIX.lock"; then
    echo "wine-env: setting up the Wine prefix $WINEPREFIX failed twice; see the step above" >&2
    unset -f _vt_step _vt_set_up_prefix
    unset _vt_root _vt_build _vt_setup
    return 1 2>/dev/null || exit 1
  fi
fi
unset -f _vt_step _vt_set_up_prefix
unset _vt_root _vt_build _vt_setup
