#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with.
# Quick when they are all there already: apt is only called for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev libgumbo-dev libcpp-httplib-dev
  qt6-translations-l10n
  googletest libgtest-dev libgmock-dev
  chromium chromium-driver
  fonts-ipafont-mincho fonts-noto-cjk
  xvfb xauth x11-utils imagemagick libx11-dev libxtst-dev
  desktop-file-utils appstream
  dbus-daemon dbus-bin dbus-session-bus-common systemd
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
