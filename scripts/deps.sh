#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when run as root;
# otherwise names the one line to run. Sourced by run.sh and test.sh.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-translations-l10n fonts-liberation
    libbenchmark-dev libx11-dev libxtst-dev
    qt6-svg-dev librsvg2-bin qt6-httpserver-dev qt6-websockets-dev
    xvfb xauth xdotool xclip x11-utils imagemagick
    qt6-l10n-tools
    appstream desktop-file-utils groff-base dpkg-dev file
    librdkit-dev libboost-dev
    chromium poppler-utils libreoffice-writer-nogui
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    if [[ $(id -u) -eq 0 ]]; then
        echo "Installing: ${missing[*]}" >&2
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    else
        echo "Missing packages. Run:" >&2
        echo "sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
fi
