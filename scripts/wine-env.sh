# Sourced by the scripts that run Windows programs: private Wine prefixes under
# build/, a persistent Wine server, and an X server for the window tests.
root=${root:?}
export WINEDEBUG=-all
export WINEPREFIX="$root/build/wineprefix"
export WRENLET_GUI_WINEPREFIX="$root/build/wineprefix-gui"
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

keeper="$root/build/win/bin/desktop_keeper.exe"

start_wine() {
  # Wine's background services inherit every pipe they see: keep them on /dev/null.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wineboot -i </dev/null >/dev/null 2>&1
  # Hold the desktop process, so that no test's child starts one on its pipes.
  if [ -f "$keeper" ]; then
    wine "$keeper" </dev/null >/dev/null 2>&1 &
  fi
}

start_gui_wine() {
  # A private X server on a free display number: a socket or lock file left behind
  # by an earlier server that was killed must not pass for a running one.
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
  WRENLET_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  local number
  number=$(tr -dc 0-9 <"$display_file")
  rm -f "$display_file"
  if [ -z "$number" ]; then
    echo "wine-env.sh: the X server for the window tests did not start" >&2
    return 1
  fi
  local display=:$number
  export WRENLET_GUI_DISPLAY=$display
  WINEPREFIX="$WRENLET_GUI_WINEPREFIX" DISPLAY=$display wineserver -p </dev/null >/dev/null 2>&1 || true
  WINEPREFIX="$WRENLET_GUI_WINEPREFIX" DISPLAY=$display wineboot -i </dev/null >/dev/null 2>&1
  if [ -f "$keeper" ]; then
    WINEPREFIX="$WRENLET_GUI_WINEPREFIX" DISPLAY=$display wine "$keeper" </dev/null >/dev/null 2>&1 &
  fi
}

stop_wine() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  WINEPREFIX="$WRENLET_GUI_WINEPREFIX" wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "${WRENLET_XVFB_PID:-}" ]; then
    kill "$WRENLET_XVFB_PID" 2>/dev/null || true
  fi
}
