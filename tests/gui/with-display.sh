#!/bin/sh
# Runs a Windows test program under Wine with the display and Wine prefix that the
# test script prepared for window tests.
if [ -z "$WRENLET_GUI_DISPLAY" ] || [ -z "$WRENLET_GUI_WINEPREFIX" ]; then
  echo "with-display.sh: WRENLET_GUI_DISPLAY and WRENLET_GUI_WINEPREFIX must be set" >&2
  exit 1
fi
DISPLAY="$WRENLET_GUI_DISPLAY" WINEPREFIX="$WRENLET_GUI_WINEPREFIX" \
  exec "$(dirname "$0")/../wine-run.sh" "$@"
