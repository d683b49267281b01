#!/usr/bin/env bash
# The scanner on a real manual of many pages beside `cp -r` of the same files, the page
# reader's speed, and the scan's memory as sites grow. Builds the core natively with
# optimisation (no sanitizers). Needs the Apache manual (apache2-doc; scripts/setup.sh
# installs it) or a start page given as $1.
#
#   1. Scan (per-page pause 0) of the manual as the scan puts it on the disc, and `cp -r` of
#      the same files, interleaved, five runs each on warm caches; the medians count. Beside
#      them the same scan writing nothing (its reading and resolving alone). The work folder
#      is in $TMPDIR: TMPDIR=/dev/shm measures on tmpfs, without the disk file system's cost
#      of making files.
#      And the scan's file work alone (its copies, folders and page reads in its order, timed
#      without reading a link): what the goal leaves for reading the pages' links.
#   2. The page reader over every page and stylesheet of the manual, in memory, in MB/s.
#   3. Peak memory of scans of generated chains of 1,000 and 10,000 pages, each page linking the
#      next (the deepest site there is) and a picture.
set -euo pipefail
cd "$(dirname "$0")/.."
start=${1:-/usr/share/doc/apache2-doc/manual/index.html}
[ -f "$start" ] || { echo "no manual at $start (apt-get install apache2-doc)" >&2; exit 1; }
out=build/bench
mkdir -p "$out"
core="src/disc/scanner.cpp src/disc/page_links.cpp src/core/text_decode.cpp src/core/text_lines.cpp
      src/core/unicode_text.cpp src/core/code_page.cpp src/disc/posix/scanner_posix.cpp"
# shellcheck disable=SC2086
g++ -std=c++17 -O2 -DNDEBUG -Wall -Wextra -Isrc -Itests/unit tools/scan_site.cpp $core -o "$out/scan_site"
# shellcheck disable=SC2086
g++ -std=c++17 -O2 -DNDEBUG -Wall -Wextra -Isrc tools/tokenizer_benchmark.cpp $core -o "$out/tokenizer_benchmark"

work=$(mktemp -d "${TMPDIR:-/tmp}/vk-site-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
# The site as the scan puts it on the disc, in the work folder: both the scan and cp -r read
# exactly these files from the same file system.
"$out/scan_site" "$start" "$work/disc" > /dev/null
page="$work/disc/$(basename "$start")"
files=$(find "$work/disc" -type f | wc -l)
pages=$(find "$work/disc" -type f \( -name '*.htm*' -o -name '*.css' \) | wc -l)
bytes=$(du -sb "$work/disc" | cut -f1)

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
cp_times=() scan_times=() read_times=() file_times=()
for run in 1 2 3 4 5; do
  rm -rf "$work/copy"
  s=$(date +%s.%N); cp -r "$work/disc" "$work/copy"; e=$(date +%s.%N)
  cp_times+=("$(awk -v s="$s" -v e="$e" 'BEGIN { printf "%.4f", e - s }')")
  rm -rf "$work/out"
  s=$(date +%s.%N); "$out/scan_site" "$page" "$work/out" > /dev/null; e=$(date +%s.%N)
  scan_times+=("$(awk -v s="$s" -v e="$e" 'BEGIN { printf "%.4f", e - s }')")
  [ "$(find "$work/out" -type f | wc -l)" = "$files" ] || { echo "scan copied a different set" >&2; exit 1; }
  read_times+=("$("$out/scan_site" --no-copies "$page" "$work/none" | tail -1 | cut -d' ' -f2)")
  rm -rf "$work/files"
  file_times+=("$("$out/scan_site" --file-work "$page" "$work/files" | tail -1 | cut -d' ' -f2)")
done
cp_s=$(printf '%s\n' "${cp_times[@]}" | median)
scan_s=$(printf '%s\n' "${scan_times[@]}" | median)
echo "manual: $start: $files files ($pages pages and stylesheets), $((bytes / 1024)) KiB"
echo "cp -r:  ${cp_times[*]} s  (median $cp_s s)"
echo "scan:   ${scan_times[*]} s  (median $scan_s s)"
echo "scan / cp -r: $(awk -v a="$scan_s" -v b="$cp_s" 'BEGIN { printf "%.2f", a / b }')  (goal <= 1.25)"
read_s=$(printf '%s\n' "${read_times[@]}" | median)
echo "scan writing nothing: ${read_times[*]} s  (median $read_s s, $(awk -v a="$read_s" -v b="$cp_s" 'BEGIN { printf "%.2f", a / b }') x cp -r)"
file_s=$(printf '%s\n' "${file_times[@]}" | median)
echo "scan's file work alone: ${file_times[*]} s  (median $file_s s, $(awk -v a="$file_s" -v b="$cp_s" 'BEGIN { printf "%.2f", a / b }') x cp -r;" \
     "the goal leaves $(awk -v a="$file_s" -v b="$cp_s" 'BEGIN { printf "%.2f", 1.25 - a / b }') x cp -r for reading the pages' links)"

mapfile -t docs < <(find "$work/disc" -type f \( -name '*.htm*' -o -name '*.css' \))
read -r mbs total values < <("$out/tokenizer_benchmark" "${docs[@]}")
echo "page reader: $mbs MB/s over $((total / 1024)) KiB of pages, $values link values a pass  (goal >= 500)"

for n in 1000 10000; do
  site="$work/chain$n"
  mkdir -p "$site"
  python3 - "$site" "$n" <<'PY'
import sys
site, n = sys.argv[1], int(sys.argv[2])
open(f"{site}/pic.gif", "w").write("GIF")
for i in range(n):
    with open(f"{site}/p{i}.htm", "w") as f:
        f.write(f'<html><body><img src="pic.gif"><p>Page {i}</p><a href="p{i + 1}.htm">next</a></body></html>\n')
PY
  peak=$("$out/scan_site" "$site/p0.htm" "$work/chain-out$n" | tail -1 | cut -d' ' -f4)
  echo "chain of $n pages: peak memory $peak KiB"
done
