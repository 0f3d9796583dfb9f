#!/usr/bin/env bash
# Installs what the build needs when it is missing (Debian 12), as root or through sudo.
set -euo pipefail
# The CJK font draws the texts a form keeps in Chinese (the DPI-lock entry of the button page); the
# toolkit's translations give its own dialogs the program's Czech. The XCB headers let start-up read the
# desktop width without a Qt application object. The tests of a scaled screen and of the desktop width
# run on their own Xvfb.
packages=(build-essential cmake qtbase5-dev qtbase5-dev-tools libqt5svg5-dev fonts-wqy-microhei
          qttranslations5-l10n libxcb1-dev libxcb-randr0-dev xvfb)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
