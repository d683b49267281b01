#!/usr/bin/env bash
# `vintrosk build` (optimised) beside `cp -rL` of the manual it builds from, on tmpfs and on
# disk, with and without the disc image; and the build's peak memory as a site grows.
#
#   tools/build_benchmark.sh [RUNS]
#
# The build of the folder, the build with its image and the copy run in turn, RUNS times (7)
# after a warm-up, on warm caches; the output is removed before each run, outside the time.
# The medians and the medians of the ratios of each run count. The manuals: the Apache manual (apache2-doc: 1,857 of its files are links,
# which cp -rL and the build both copy as files) and the Python manual (python3-doc). A build
# copies the files its start page reaches, which the table counts beside the copy's.
# Peak memory: generated chains of 1,000, 10,000 and 50,000 pages, each linking the next.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVINTROSK_SANITIZE=OFF >/dev/null
cmake --build build/release --target vintrosk -j"$(nproc 2>/dev/null || echo 2)" >/dev/null
vintrosk=$PWD/build/release/vintrosk

sites=(/usr/share/doc/apache2-doc/manual/index.html /usr/share/doc/python3/html/index.html)
for start in "${sites[@]}"; do
  [ -f "$start" ] || { echo "no manual at $start (apt-get install apache2-doc python3-doc)" >&2; exit 1; }
done
places=(/dev/shm "${TMPDIR:-/tmp}")
work=()
for place in "${places[@]}"; do work+=("$(mktemp -d "$place/vk-build-bench-XXXXXX")"); done
trap 'rm -rf "${work[@]}"' EXIT
# The launcher the disc gets: the program's size, its bytes do not matter here.
head -c 280000 /dev/zero > "${work[0]}/launcher.exe"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# Seconds and peak KB of one run of a command, its output thrown away.
timed() { /usr/bin/time -f "%e %M" -o "$1.time" "${@:2}" >/dev/null 2>&1; cat "$1.time"; }

# The build's command line: start out [image].
build() {
  args=("$vintrosk" build --quiet --allow-missing --no-splash --no-sound --no-icon
        --launcher "${work[0]}/launcher.exe" --target "$1" --out "$2")
  [ -z "${3:-}" ] || args+=(--image "$3")
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }'; }
printf '%-11s %-9s %8s %8s %8s %12s %12s %12s %6s %6s\n' manual place folder_s image_s cp_s folder/cp image/cp image/folder files cp_files
for start in "${sites[@]}"; do
  manual=$(dirname "$start")
  name=$(basename "$(dirname "$(readlink -f "$manual")")")
  for i in "${!places[@]}"; do
    w=${work[$i]}
    f=() m=() c=() fc=() mc=() mf=() kf=() km=()
    for run in $(seq 0 "$runs"); do
      rm -rf "$w/out" "$w/out.iso" "$w/copy"
      build "$start" "$w/out" ""
      read -r fs fk < <(timed "$w/f" "${args[@]}")
      bfiles=$(find "$w/out" -type f | wc -l)
      rm -rf "$w/out"
      build "$start" "$w/out" "$w/out.iso"
      read -r ms mk < <(timed "$w/m" "${args[@]}")
      rm -rf "$w/out" "$w/out.iso"
      read -r cs _ < <(timed "$w/c" cp -rL "$manual" "$w/copy")
      cfiles=$(find "$w/copy" -type f | wc -l)
      rm -rf "$w/copy"
      [ "$run" -gt 0 ] || continue  # the warm-up
      f+=("$fs") m+=("$ms") c+=("$cs") kf+=("$fk") km+=("$mk")
      fc+=("$(ratio "$fs" "$cs")") mc+=("$(ratio "$ms" "$cs")") mf+=("$(ratio "$ms" "$fs")")
    done
    med() { printf '%s\n' "$@" | median; }
    printf '%-11s %-9s %8s %8s %8s %12s %12s %12s %6s %6s\n' "$name" "${places[$i]}" "$(med "${f[@]}")" \
      "$(med "${m[@]}")" "$(med "${c[@]}")" "$(med "${fc[@]}")" "$(med "${mc[@]}")" "$(med "${mf[@]}")" \
      "$bfiles" "$cfiles"
    echo "            peak memory: folder $(med "${kf[@]}") KB, with the image $(med "${km[@]}") KB"
  done
done

# Peak memory against the number of pages: a chain of pages, each linking the next and a picture.
for pages in 1000 10000 50000; do
  site="${work[0]}/chain$pages"
  mkdir -p "$site"
  python3 - "$site" "$pages" <<'PY'
import sys, os
site, n = sys.argv[1], int(sys.argv[2])
open(os.path.join(site, "pic.gif"), "wb").write(b"GIF89a")
for i in range(n):
    nxt = f'<a href="p{i + 1}.html">next</a>' if i + 1 < n else ""
    open(os.path.join(site, f"p{i}.html"), "w").write(
        '<html><head><meta http-equiv="X-UA-Compatible" content="IE=edge"></head>'
        f'<body><img src="pic.gif">{nxt}</body></html>\n')
PY
  rm -rf "${work[0]}/out"
  build "$site/p0.html" "${work[0]}/out"
  read -r s k < <(timed "${work[0]}/m" "${args[@]}")
  echo "chain of $pages pages: ${s} s, peak memory $k KB"
  rm -rf "$site" "${work[0]}/out"
done
