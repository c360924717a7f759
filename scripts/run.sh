#!/usr/bin/env bash
# Starts corvane.exe under Wine in the user's own Wine prefix. Without a
# display it runs in a virtual one, inside a Wine desktop window (so that Wine
# draws the window frames itself), saves screenshots of the main window, an
# introduction, the reports of drive C:, their space map and their file types to
# build/screenshots/, then the main window once more on a screen at 150%
# (144 DPI, in a prefix of its own), and closes the program.
# Usage: run.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
exe="$build/corvane.exe"
shots="$(dirname "$build")/screenshots"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ -n "${DISPLAY:-}" ]; then
  exec "$here/wine-run.sh" "$exe"
fi

# A prefix of its own, so that the pictures show a new prefix's drive C: and
# every introduction page.
export WINEPREFIX="$build/screenshot-prefix"
mkdir -p "$shots"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  exe=$1; shots=$2; here=$3
  "$here/wine-run.sh" explorer /desktop=Corvane,800x500 "$exe" &
  program=$!
  # The first start in a new prefix takes a while.
  window=""
  for _ in $(seq 1 120); do
    window=$(xwininfo -name "Corvane - Wine desktop" 2>/dev/null | awk "/Window id:/ {print \$4}")
    [ -n "$window" ] && break
    kill -0 $program 2>/dev/null || break
    sleep 1
  done
  status=1
  if [ -n "$window" ]; then
    # The splash shows for 3 s, then the main window.
    sleep 6
    import -window "$window" "$shots/main-window.png" && status=0
    echo "Screenshot: $shots/main-window.png"
    # Then the "Disk Info" tab, where the window and its tabs stand in this desktop.
    xdotool mousemove --window "$window" 252 119 click 1
    sleep 1
    import -window "$window" "$shots/intro-page.png" || status=1
    echo "Screenshot: $shots/intro-page.png"
    # Then the reports of drive C: (Reports, Next on the introduction and
    # on the target page), and its space map in a larger window, the mouse
    # over the map.
    xdotool mousemove --window "$window" 442 119 click 1
    sleep 1
    xdotool mousemove --window "$window" 596 407 click 1
    sleep 1
    xdotool mousemove --window "$window" 596 407 click 1
    sleep 20
    import -window "$window" "$shots/reports-results.png" || status=1
    echo "Screenshot: $shots/reports-results.png"
    # The map, after the folder tree and the file types. Going up from the
    # end would pass Duplicate files, which starts a search; going down, the
    # views with a map take the keyboard when they show, so the list is
    # clicked again for each step.
    xdotool mousemove --window "$window" 300 194 click 1
    sleep 1
    xdotool key --repeat 16 --delay 50 Down
    xdotool key Return
    sleep 2
    for step in types map; do
      xdotool mousemove --window "$window" 300 194 click 1
      sleep 1
      xdotool key Down Return
      sleep 2
    done
    # Moved to the top left corner and stretched over the desktop.
    drag() {
      xdotool mousemove --window "$window" "$1" "$2" mousedown 1
      sleep 0.5
      xdotool mousemove --window "$window" "$3" "$4"
      sleep 0.5
      xdotool mouseup 1
      sleep 1
    }
    drag 300 58 210 8
    drag 616 400 797 497
    sleep 2
    xdotool mousemove --window "$window" 300 250
    sleep 1
    import -window "$window" "$shots/reports-map.png" || status=1
    echo "Screenshot: $shots/reports-map.png"
    # The file types, the entry before the map, with the second type lit.
    xdotool mousemove --window "$window" 210 144 click 1
    sleep 1
    xdotool key Up Return
    sleep 2
    xdotool key Down
    sleep 1
    xdotool mousemove --window "$window" 790 490
    sleep 1
    import -window "$window" "$shots/reports-types.png" || status=1
    echo "Screenshot: $shots/reports-types.png"
    # A polite close, as the close box would do; then the Wine desktop goes too.
    "$here/wine-run.sh" taskkill /im corvane.exe >/dev/null 2>&1 || true
    sleep 3
  else
    echo "The main window did not appear." >&2
  fi
  /usr/lib/wine/wineserver -k
  wait $program 2>/dev/null || true
  exit $status
' _ "$exe" "$shots" "$here"

export WINEPREFIX="$build/screenshot-prefix-144"
if [ ! -f "$WINEPREFIX/.corvane-dpi" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
  /usr/lib/wine/wineserver -w
  touch "$WINEPREFIX/.corvane-dpi"
fi
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  exe=$1; shots=$2; here=$3
  "$here/wine-run.sh" explorer /desktop=Corvane,1000x700 "$exe" &
  program=$!
  window=""
  for _ in $(seq 1 120); do
    window=$(xwininfo -name "Corvane - Wine desktop" 2>/dev/null | awk "/Window id:/ {print \$4}")
    [ -n "$window" ] && break
    kill -0 $program 2>/dev/null || break
    sleep 1
  done
  status=1
  if [ -n "$window" ]; then
    sleep 6
    import -window "$window" "$shots/main-window-150.png" && status=0
    echo "Screenshot: $shots/main-window-150.png"
    "$here/wine-run.sh" taskkill /im corvane.exe >/dev/null 2>&1 || true
    sleep 3
  else
    echo "The main window did not appear at 150%." >&2
  fi
  /usr/lib/wine/wineserver -k
  wait $program 2>/dev/null || true
  exit $status
' _ "$exe" "$shots" "$here"
