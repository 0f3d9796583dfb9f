#!/usr/bin/env bash
# Renders the dialog pictures into install/Picture/WarningDialog/ (needs rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../../../install/Picture/WarningDialog"
mkdir -p "$out"
for svg in "$here"/*.svg; do
    rsvg-convert -o "$out/$(basename "$svg" .svg).png" "$svg"
done
# The offline notice names its confirm pictures with a capital F.
cp "$out/Confirm.png" "$out/ConFirm.png"
cp "$out/ConfirmClick.png" "$out/ConFirmClick.png"
