#!/usr/bin/env bash
# Installs what Vantrel needs to build, run and test on Debian 12, when it is missing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev libqt6sql6-sqlite qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libqt6svg6-dev qt6-svg-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad timgm6mb-soundfont
    fonts-noto-cjk xvfb xauth x11-utils dbus-daemon dbus-x11 trayer xdotool at-spi2-core python3-pyatspi
    imagemagick sqlite3 python3
    libical-dev libsodium-dev minisign libbenchmark-dev libsqlite3-dev libxcb-render0-dev
    haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
