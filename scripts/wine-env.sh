# Sourced by bash: sets up the Wine environment that the tests and the demo run in.
# A prefix of the build's own (or the caller's WINEPREFIX), 32-bit, quiet, no Mono/Gecko
# prompts, and a HOME whose ALSA default is the null device so sounds play into nothing
# instead of failing for want of a sound card. Creates the prefix once; quick afterwards.

_vt_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
_vt_build="${VINTROSK_WIN_BUILD:-$_vt_root/build/win}"

export WINEPREFIX="${WINEPREFIX:-$_vt_build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml="
export HOME="$_vt_build/home"

if [ ! -f "$HOME/.asoundrc" ]; then
  mkdir -p "$HOME"
  echo 'pcm.!default { type null }' > "$HOME/.asoundrc"
fi

# ctest may start several test programs at once: only one of them creates the prefix.
if [ ! -f "$WINEPREFIX/.vintrosk-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.vintrosk-ready" ]; then
      echo "wine-env: creating Wine prefix $WINEPREFIX" >&2
      wineboot -i >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.vintrosk-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
unset _vt_root _vt_build
