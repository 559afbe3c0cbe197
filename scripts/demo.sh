#!/bin/sh
# Installs everything, builds the player, generates a demo recording
# directory once and opens it. Without a display the player runs under
# Xvfb, takes a screenshot through its script mode and says where it is.
set -eu
cd "$(dirname "$0")/.."

sh scripts/install-deps.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets="nivra-player"
if [ -f tools/nivra-cardgen/CMakeLists.txt ]; then
  targets="$targets nivra-cardgen"
fi
# shellcheck disable=SC2086
cmake --build "$BUILD_DIR" -j"$(nproc)" --target $targets

card=""
if [ -x "$BUILD_DIR/tools/nivra-cardgen/nivra-cardgen" ]; then
  card="$PWD/$BUILD_DIR/demo-card"
  if [ ! -f "$card/meta.dat" ]; then
    echo "Generating the demo recording directory in $card"
    "$BUILD_DIR/tools/nivra-cardgen/nivra-cardgen" --preset demo "$card"
  fi
fi

player="$BUILD_DIR/app/nivra-player"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  if [ -n "$card" ]; then exec "$player" "$card"; else exec "$player"; fi
fi

mkdir -p out
shot="$PWD/out/nivra-player.png"
# Until a policy is chosen, Linux decodes on the graphics card and falls
# back to software, so a machine without a hardware decoder plays too.
script="wait 1; play 3; shot $shot; quit"
echo "No display: running the player under Xvfb"
# shellcheck disable=SC2086
xvfb-run -a -s "-screen 0 1600x1000x24" env LIBGL_ALWAYS_SOFTWARE=1 \
  "$player" --autotest "$script" ${card:+"$card"}
echo "Screenshot of the player: $shot"
