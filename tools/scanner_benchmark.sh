#!/usr/bin/env bash
# The scanner's cost beside plain copying: builds the portable core natively with
# optimisation (no sanitizers), generates a site of 2,000 linked pages and 5,000 images, and
# times, in the same run, `cp -r` of the site and the scan of it (per-page pause 0). Each is
# run five times on warm caches; the median counts.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/bench
mkdir -p "$out"
g++ -std=c++17 -O2 -DNDEBUG -Wall -Wextra -Isrc -Itests/unit \
  tools/scanner_benchmark.cpp src/disc/scanner.cpp src/disc/page_links.cpp src/core/text_decode.cpp \
  src/core/text_lines.cpp src/core/unicode_text.cpp src/core/code_page.cpp src/disc/posix/scanner_posix.cpp \
  -o "$out/scanner_benchmark"

work=$(mktemp -d "${TMPDIR:-/tmp}/vk-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
"$out/scanner_benchmark" generate "$work/site"
files=$(find "$work/site" -type f | wc -l)
bytes=$(du -sb "$work/site" | cut -f1)
cat "$work/site"/* > /dev/null

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

cp_times=() scan_times=()
for run in 1 2 3 4 5; do
  rm -rf "$work/copy"
  start=$(date +%s.%N)
  cp -r "$work/site" "$work/copy"
  end=$(date +%s.%N)
  cp_times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }')")

  rm -rf "$work/out" && mkdir "$work/out"
  read -r seconds pages copied missing < <("$out/scanner_benchmark" scan "$work/site" "$work/out")
  [ "$copied" = "$files" ] && [ "$missing" = 0 ] || { echo "scan copied $copied of $files, $missing missing" >&2; exit 1; }
  scan_times+=("$seconds")
done

cp_s=$(printf '%s\n' "${cp_times[@]}" | median)
scan_s=$(printf '%s\n' "${scan_times[@]}" | median)
echo "site: $files files ($pages pages), $((bytes / 1024)) KiB"
echo "cp -r:  ${cp_times[*]} s  (median $cp_s s, $(awk -v f="$files" -v t="$cp_s" 'BEGIN { printf "%.0f", f / t }') files/s)"
echo "scan:   ${scan_times[*]} s  (median $scan_s s, $(awk -v f="$files" -v t="$scan_s" 'BEGIN { printf "%.0f", f / t }') files/s)"
echo "scan / cp -r: $(awk -v a="$scan_s" -v b="$cp_s" 'BEGIN { printf "%.2f", a / b }')"
