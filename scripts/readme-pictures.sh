#!/usr/bin/env bash
# Refreshes the README's pictures in docs/screenshots from the screenshots of the last
# scripts/demo.sh run: each cropped to what it shows and reduced to 256 colours.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/demo/8-disc-folder.png ] || { echo "run scripts/demo.sh first" >&2; exit 1; }
mkdir -p docs/screenshots
shot() {  # <demo screenshot> <geometry> <README picture>
  /usr/bin/convert "build/demo/$1.png" -crop "$2" +repage -colors 256 -strip "PNG8:docs/screenshots/$3.png"
  echo "docs/screenshots/$3.png: $(stat -c %s "docs/screenshots/$3.png") bytes"
}
shot 2-designer      620x420+200+172  designer
shot 6-please-wait   620x420+200+172  please-wait
shot 7-missing-files 620x420+200+172  missing-files
shot 8-disc-folder   770x570+35+25  disc-folder
