#!/usr/bin/env bash
# Installs what building, running and testing Tessel needs on Debian 12.
set -euo pipefail
packages=(
    cmake g++ make pkg-config
    qtbase5-dev qtmultimedia5-dev libqt5multimedia5-plugins
    # The Qt 6 build (-DTESSEL_QT_MAJOR=6).
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-multimedia-dev
    fonts-dejavu-core
    gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
    ffmpeg
    xvfb xdotool imagemagick x11-utils libx11-dev libxfixes-dev python3 procps time
    # What every desktop has, so that differences from one show up here first.
    libglx-mesa0
    clang-14 libclang-rt-14-dev
    dpkg-dev file desktop-file-utils appstream shared-mime-info lintian
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
