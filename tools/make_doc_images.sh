#!/usr/bin/env bash
# Renders the pictures of the README from the bundled samples. The window
# pictures are screenshots of the real window on an X server with a window
# manager (Xvfb and openbox, through scripts/with_x11.sh).
# Needs a build (scripts/build.sh) and pdftoppm (poppler-utils).
set -euo pipefail
cd "$(dirname "$0")/.."
conv=build/src/cli/lobeconv
out=docs/images
mkdir -p "$out"
sample=data/samples/yagi.nsma
env=(--envelopes data/kwr_envelopes.csv --envelope "Class B wide")
"$conv" render "$sample" "$out/polar-db-lin.png"
"$conv" render "$sample" "$out/polar-db-log.png" --grid log
"$conv" render "$sample" "$out/polar-mv.png" --scale mv
"$conv" render "$sample" "$out/rect-db.png" --view rect "${env[@]}"
"$conv" render "$sample" "$out/rect-mv.png" --view rect --scale mv "${env[@]}"
"$conv" render "$sample" "$out/rect90-db.png" --view rect90 "${env[@]}"
"$conv" render "$sample" "$out/emr.png" --view emr --power 100 --loss 1.5 --height 12
"$conv" exposure data/example_site.json --render "$out/exposure-top.png" --view top --z 25 --size 700x720 >/dev/null
"$conv" exposure data/example_site.json --render "$out/exposure-side.png" --view side --size 700x720 >/dev/null
"$conv" report data/samples/panel.labz "$out/report-first-page.png" --envelopes data/kwr_envelopes.csv \
  --reference data/samples/panel.pla
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$conv" render "$sample" "$tmp/portrait.pdf" --print portrait
"$conv" render "$sample" "$tmp/landscape.pdf" --print landscape --view rect "${env[@]}"
pdftoppm -r 60 -png -singlefile "$tmp/portrait.pdf" "$out/print-portrait"
pdftoppm -r 60 -png -singlefile "$tmp/landscape.pdf" "$out/print-landscape"
scripts/with_x11.sh --size 1400x900 \
  build/tools/window_shots "$out" "$sample" data/kwr_envelopes.csv data/kwr_help.txt >/dev/null
ls -l "$out"
