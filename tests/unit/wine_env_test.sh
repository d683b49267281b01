#!/usr/bin/env bash
# The Wine prefix's set-up under stand-ins for wineboot, wine and wineserver: a step that fails
# once is named and goes through on the second try; one that always fails stops the caller
# with its name and what it printed, and marks nothing ready.
#   wine_env_test.sh WORK
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$1
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }

# WHICH fails its first FAILS runs (a number, or "always"), printing why.
run_set_up() {
  local which=$1 fails=$2
  rm -rf "$work" && mkdir -p "$work/fake" "$work/build/winebin"
  for tool in wineboot wine wineserver; do
    cat >"$work/fake/$tool" <<SH
#!/bin/sh
n=\$(cat "$work/$tool.runs" 2>/dev/null || echo 0); echo \$((n + 1)) >"$work/$tool.runs"
if [ "$tool" = "$which" ] && { [ "$fails" = always ] || [ \$n -lt "$fails" ]; }; then
  echo "$tool: could not do it (run \$n)" >&2; exit 3
fi
[ "$tool" != wineboot ] || touch "\$WINEPREFIX/system.reg"
SH
    chmod +x "$work/fake/$tool"
  done
  mkdir -p "$work/prefix"
  # The build's own wine wrappers stay behind the stand-ins: their folder is on PATH already.
  env -i PATH="$work/fake:$work/build/winebin:/usr/bin:/bin" HOME="$work/home" \
    WINEPREFIX="$work/prefix" VINTROSK_WIN_BUILD="$work/build" \
    bash -c "set -euo pipefail; source '$root/scripts/wine-env.sh'; echo sourced" >"$work/out" 2>"$work/err"
  echo $? >"$work/rc"
}

run_set_up wine 1
check "a step that fails once goes through" '[ "$(cat "$work/rc")" = 0 ] && grep -q sourced "$work/out"'
check "and is named, with what it printed" 'grep -q "step failed: the virtual desktop" "$work/err" && grep -q "could not do it" "$work/err"'
check "the prefix is marked ready" '[ -f "$work/prefix/.vintrosk-ready" ]'

run_set_up wineboot always
check "a step that always fails stops the caller" '[ "$(cat "$work/rc")" != 0 ] && ! grep -q sourced "$work/out"'
check "naming the step twice, then giving up" '[ "$(grep -c "step failed: wineboot" "$work/err")" = 2 ] && grep -q "failed twice" "$work/err"'
check "nothing is marked ready" '[ ! -f "$work/prefix/.vintrosk-ready" ]'

run_set_up none 0
check "a sound set-up prints only its start" '[ "$(cat "$work/rc")" = 0 ] && [ "$(grep -vc "setting up Wine prefix" "$work/err")" = 0 ]'
exit $fail
