#!/usr/bin/env bash
# Renders tools/pictures/<folder>/<name>.svg to install/Picture/<folder>/<name>.png at the SVG's own size.
# Needs rsvg-convert (apt: librsvg2-bin); the PNGs are committed, so the build itself does not.
# Without arguments every SVG is rendered; otherwise only the given ones.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$here/../../install/Picture"
if [ $# -gt 0 ]; then files=("$@"); else mapfile -t files < <(cd "$here" && find . -name '*.svg' | sort); fi
for f in "${files[@]}"; do
    rel="${f#./}"
    rel="${rel#"$here"/}"
    mkdir -p "$out/$(dirname "$rel")"
    rsvg-convert -o "$out/${rel%.svg}.png" "$here/$rel"
    echo "rendered Picture/${rel%.svg}.png"
done
