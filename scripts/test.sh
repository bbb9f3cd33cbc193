#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the host unit
# tests natively and the Windows tests (unit, integration, window) under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
start_wine
start_gui_wine
trap stop_wine EXIT
status=0
(cd "$root/build/host" && ctest --output-on-failure -j2) || status=1
(cd "$root/build/win" && ctest --output-on-failure -j2) || status=1
exit $status
