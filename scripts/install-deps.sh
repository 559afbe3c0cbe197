#!/bin/sh
# Installs every package the build, the program and the tests need, from
# Debian 12's archive. Idempotent: apt-get skips what is already there.
set -eu
export DEBIAN_FRONTEND=noninteractive

PACKAGES="
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools
  qt6-multimedia-dev qt6-svg-dev qt6-l10n-tools qt6-tools-dev-tools
  qt6-qpa-plugins qt6-image-formats-plugins libqt6svg6
  qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-templates
  qml6-module-qtquick-layouts qml6-module-qtquick-window qml6-module-qtquick-dialogs
  qml6-module-qtquick-shapes qml6-module-qtmultimedia qml6-module-qtcore
  qml6-module-qt-labs-folderlistmodel qml6-module-qt-labs-platform qml6-module-qttest
  libqt6multimediaquick6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools gstreamer1.0-plugins-base-apps
  libavcodec-dev libavutil-dev libavformat-dev libswscale-dev libva-dev libfreetype-dev
  libgl1-mesa-dri libegl1 libgl-dev
  libgtest-dev nlohmann-json3-dev libssl-dev
  fonts-inter fonts-dejavu-core fonts-noto-cjk librsvg2-bin tzdata
  xvfb xauth chromium
  lintian appstream
  pulseaudio pulseaudio-utils
  ffmpeg mediainfo mkvtoolnix
  g++-mingw-w64-x86-64
  wine64 gstreamer1.0-plugins-bad gstreamer1.0-libav
  clang libclang-rt-14-dev clang-format
"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
fi
