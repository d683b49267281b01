#!/usr/bin/env bash
# The main job: builds the program, makes a small disc folder from the sample files and plays
# it as Windows AutoPlay would (autorun.exe started in the disc's root), saving screenshots of
# what shows. On the user's display when there is one, otherwise on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${1:-}" != "--inner" ]; then
  scripts/build.sh
  source scripts/wine-env.sh
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  scripts/with-display.sh "$0" --inner
  exit 0
fi

out="$root/build/demo"
disc="$out/disc"
rm -rf "$out"
mkdir -p "$disc"
cp build/win/src/Vintrosk.exe "$disc/autorun.exe"
cp samples/splashscreens/default.jpg samples/sounds/default.wav "$disc/"
printf '[autorun]\r\nOPEN=autorun.exe none 0 0 default.jpg default.wav\r\nICON=autorun.exe\r\n' > "$disc/autorun.inf"

shot() { import -window root "$out/$1.png" && echo "screenshot: $out/$1.png"; }

echo "playing $disc"
start=$(date +%s.%N)
(cd "$disc" && wine autorun.exe) &
player=$!
sleep 1
shot 1-splash
wait $player
end=$(date +%s.%N)
shot 2-after
awk -v s="$start" -v e="$end" 'BEGIN { printf "the disc played for %.1f s\n", e - s }'
echo "disc folder:"
ls -l "$disc"
echo "autorun.inf:"
cat "$disc/autorun.inf"
