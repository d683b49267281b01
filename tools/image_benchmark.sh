#!/usr/bin/env bash
# The disc image writer's speed beside xorriso's: builds the writer natively with optimisation
# (no sanitizers), generates a folder of about 500 MB (large files, a few hundred small ones in
# subfolders), and times, in the same run and interleaved, `xorriso -as mkisofs -J` and the
# writer on that folder: wall time and CPU time (user + system). Each runs five times on warm
# caches; the median counts. Then the writer's peak memory on 2,000 and on 20,000 small files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
out=build/bench
mkdir -p "$out"
g++ -std=c++17 -O2 -DNDEBUG -Wall -Wextra -Isrc tests/unit/write_folder_image.cpp src/disc/disc_image.cpp src/disc/udf.cpp \
  src/disc/posix/folder_image_posix.cpp src/core/posix/file_access_posix.cpp src/core/file_access.cpp src/core/unicode_text.cpp src/core/text_lines.cpp -o "$out/write_folder_image"

work=$(mktemp -d "${TMPDIR:-/tmp}/vk-image-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
tree="$work/tree"
mkdir -p "$tree/movies" "$tree/html/pictures"
for i in $(seq 1 12); do head -c $((40 * 1024 * 1024 + i * 4099)) /dev/urandom >"$tree/movies/clip $i.avi"; done
for i in $(seq 1 400); do head -c $((i * 97 + 1000)) /dev/urandom >"$tree/html/pictures/picture $i.jpg"; done
for i in $(seq 1 200); do seq 1 $((i * 10)) >"$tree/html/page $i.html"; done
bytes=$(du -sb "$tree" | cut -f1)
cat "$tree"/*/* "$tree"/html/pictures/* >/dev/null 2>&1 || true

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# "wall cpu" seconds of a command.
timed() { /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>&1; awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"; }

xorriso_wall=() xorriso_cpu=() ours_wall=() ours_cpu=()
for run in 1 2 3 4 5; do
  rm -f "$work/x.iso" "$work/v.iso"
  read -r w c < <(timed xorriso -as mkisofs -J -o "$work/x.iso" "$tree"); xorriso_wall+=("$w"); xorriso_cpu+=("$c")
  rm -f "$work/x.iso"
  read -r w c < <(timed "$out/write_folder_image" "$tree" "$work/v.iso" BENCH); ours_wall+=("$w"); ours_cpu+=("$c")
  [ -s "$work/v.iso" ] || { echo "the writer wrote no image" >&2; exit 1; }
done

xw=$(printf '%s\n' "${xorriso_wall[@]}" | median) xc=$(printf '%s\n' "${xorriso_cpu[@]}" | median)
vw=$(printf '%s\n' "${ours_wall[@]}" | median) vc=$(printf '%s\n' "${ours_cpu[@]}" | median)
mb() { awk -v b="$bytes" -v t="$1" 'BEGIN { printf "%.0f", b / 1048576 / t }'; }
echo "folder: $(find "$tree" -type f | wc -l) files, $((bytes / 1048576)) MiB"
echo "xorriso -as mkisofs -J: wall ${xorriso_wall[*]} s (median $xw s, $(mb "$xw") MiB/s); CPU median $xc s"
echo "write_folder_image:     wall ${ours_wall[*]} s (median $vw s, $(mb "$vw") MiB/s); CPU median $vc s"
echo "wall, writer / xorriso: $(awk -v a="$xw" -v b="$vw" 'BEGIN { printf "%.2f", b / a }')"
echo "CPU, writer / xorriso:  $(awk -v a="$xc" -v b="$vc" 'BEGIN { printf "%.2f", b / a }')"

# Peak memory against the number of files: small files in folders of 100.
for count in 2000 20000; do
  many="$work/many$count"
  for i in $(seq 0 $((count - 1))); do
    [ $((i % 100)) = 0 ] && mkdir -p "$many/folder $((i / 100))"
    echo "$i" >"$many/folder $((i / 100))/a file named $i.txt"
  done
  /usr/bin/time -f '%M' -o "$work/rss" "$out/write_folder_image" "$many" "$work/m.iso" BENCH >/dev/null 2>&1
  echo "peak memory, $count files: $(( $(cat "$work/rss") / 1024 )) MiB"
  rm -rf "$many" "$work/m.iso"
done
