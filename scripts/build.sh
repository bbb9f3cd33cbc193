#!/usr/bin/env bash
# Configures and builds the Windows launcher (cross, under build/win) and the
# native host build of the portable code with its unit tests (build/host).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build/win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win" -j"$(nproc)"
cmake -S "$root" -B "$root/build/host" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build/host" -j"$(nproc)"
