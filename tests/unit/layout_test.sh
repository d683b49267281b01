#!/usr/bin/env bash
# The folders' include rules (docs/structure.md): what each folder of src/ may include, and
# that portable files include no Windows header. A file that breaks one is named with its line.
#   layout_test.sh SRC
set -uo pipefail
src=$1
fail=0
# folder (its own files) or file | the project folders and headers its files may include
rules=(
  "framework|framework/"
  "core|core/"
  "core/win|core/ framework/wide.h framework/handles.h"
  "core/posix|core/"
  "disc|core/ disc/"
  "disc/win|core/ disc/ framework/wide.h framework/handles.h"
  "disc/posix|core/ disc/"
  "controls|framework/ core/ controls/"
  "launcher|framework/ core/ controls/ launcher/"
  "designer|framework/ core/ controls/ disc/ designer/"
  # The program's start runs the designer and the command build as well as the launcher.
  "launcher/startup.cpp|framework/ core/ controls/ launcher/ designer/designer_dlg.h disc/command_build.h disc/win/command_build_win.h"
)
for rule in "${rules[@]}"; do
  folder=${rule%%|*}
  allowed=${rule#*|}
  if [ -f "$src/$folder" ]; then
    files=("$src/$folder")
  else
    files=("$src/$folder"/*.h "$src/$folder"/*.cpp)
  fi
  for file in "${files[@]}"; do
    [ -e "$file" ] || continue
    # A file with a rule of its own is checked by that rule alone.
    [ "$file" = "$src/$folder" ] || ! printf '%s\n' "${rules[@]}" | grep -q "^${file#"$src"/}|" || continue
    while IFS= read -r line; do
      included=$(sed -E 's/^[0-9]+:#include "([^"]+)".*/\1/' <<<"$line")
      ok=0
      [[ $included == */* ]] || ok=1 # a header beside it, or a generated one
      for prefix in $allowed; do
        if [[ $included == "$prefix"* ]]; then
          ok=1
          # A portable folder's "core/" or "disc/" does not reach into their platform sides.
          case $folder in core | disc) [[ $included == */win/* || $included == */posix/* ]] && ok=0 ;; esac
        fi
      done
      if [ $ok = 0 ]; then
        echo "FAILED: ${file#"$src"/}:${line%%:*} includes $included, outside what $folder may include"
        fail=1
      fi
    done < <(grep -n '^#include "' "$file")
  done
done
# The portable folders build natively: no Windows header in them.
for file in "$src"/core/*.[ch]* "$src"/disc/*.[ch]*; do
  if grep -nE '^#include <(windows|win[a-z]*|shlobj|shellapi|shlwapi|commctrl|ole2|objbase|oleauto|mmsystem)\.h>' "$file"; then
    echo "FAILED: ${file#"$src"/} is portable and includes a Windows header"
    fail=1
  fi
done
[ $fail = 0 ] && echo "ok: every folder of src/ includes only what it may"
exit $fail
