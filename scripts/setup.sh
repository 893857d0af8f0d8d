#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tovren need,
# but only those that are missing, then configures and builds with CMake.
#   scripts/setup.sh [build-dir]      (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-base-private-dev qt6-qpa-plugins libqt6sql6-sqlite libqt6svg6 qt6-svg-dev
  libgtest-dev libx11-dev libsqlite3-dev libicu-dev
  sqlite3 xdg-utils fonts-liberation fonts-dejavu-core
  python3-aiosmtpd msmtp-mta libvmime-dev
  libquazip1-qt6-dev libreoffice-writer
  python3-vobject abook khard
  postgresql libpq-dev
  librsvg2-bin desktop-file-utils appstream dpkg-dev lintian file
  openssl radicale xandikos vdirsyncer apache2 apache2-utils
  qtkeychain-qt6-dev gnome-keyring libsecret-tools dbus-daemon
  at-spi2-core python3-pyatspi xvfb xdotool imagemagick openbox
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=(); [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Installed under /usr, as the Debian package lays the program out
# (scripts/package.sh); `cmake --install build --prefix DIR` still works.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE:-RelWithDebInfo} \
  -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j "$(nproc)"
