#!/bin/sh
# Installs everything, builds the whole project and runs every test.
# Run as root from the repository root on Debian 12.
set -eu
cd "$(dirname "$0")/.."

sh scripts/install-deps.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" -j"$(nproc)"

# Sound tests play through PulseAudio's dummy output; a root process gets
# one from a per-user daemon that never exits on idle.
if command -v pulseaudio >/dev/null 2>&1 && ! pulseaudio --check 2>/dev/null; then
  pulseaudio -D --exit-idle-time=-1 2>/dev/null || echo "warning: PulseAudio did not start" >&2
fi

cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" --timeout 900
