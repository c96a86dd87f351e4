#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# Usage: scripts/deps.sh [extra packages...]
set -euo pipefail
# qt6-tools-dev and qt6-l10n-tools build the catalogues; qt6-translations-l10n gives Qt's own dialog texts.
packages=(build-essential cmake pkg-config qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-l10n-tools
    qt6-translations-l10n ccache iproute2 fonts-wqy-zenhei fonts-liberation2
    xvfb x11-utils dbus-daemon at-spi2-core "$@") # the last four: tests of window titles and screen readers
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
