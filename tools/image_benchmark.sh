#!/usr/bin/env bash
# The disc image writer's speed beside xorriso's: builds the writer natively with optimisation
# (no sanitizers), generates a folder of about 500 MB (large files, a few hundred small ones in
# subfolders), and times, in the same run and interleaved, `xorriso -as mkisofs -J` and the
# writer on that folder. Each runs five times on warm caches; the median counts.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
out=build/bench
mkdir -p "$out"
g++ -std=c++17 -O2 -DNDEBUG -Wall -Wextra -Isrc tests/unit/write_folder_image.cpp src/disc/disc_image.cpp \
  src/disc/folder_image_posix.cpp src/app/unicode_text.cpp src/app/text_lines.cpp -o "$out/write_folder_image"

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
seconds() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }'; }

xorriso_times=() ours_times=()
for run in 1 2 3 4 5; do
  rm -f "$work/x.iso" "$work/v.iso"
  xorriso_times+=("$(seconds xorriso -as mkisofs -J -o "$work/x.iso" "$tree")")
  rm -f "$work/x.iso"
  ours_times+=("$(seconds "$out/write_folder_image" "$tree" "$work/v.iso" BENCH)")
  [ -s "$work/v.iso" ] || { echo "the writer wrote no image" >&2; exit 1; }
done

x=$(printf '%s\n' "${xorriso_times[@]}" | median)
v=$(printf '%s\n' "${ours_times[@]}" | median)
mb() { awk -v b="$bytes" -v t="$1" 'BEGIN { printf "%.0f", b / 1048576 / t }'; }
echo "folder: $(find "$tree" -type f | wc -l) files, $((bytes / 1048576)) MiB"
echo "xorriso -as mkisofs -J: ${xorriso_times[*]} s  (median $x s, $(mb "$x") MiB/s)"
echo "write_folder_image:     ${ours_times[*]} s  (median $v s, $(mb "$v") MiB/s)"
echo "throughput, writer / xorriso: $(awk -v a="$x" -v b="$v" 'BEGIN { printf "%.2f", a / b }')"
