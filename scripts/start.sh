#!/usr/bin/env bash
# Installs what is missing, builds Vornquill2.exe and starts it under Wine with the Japanese
# code page, from its own program folder (~/Vornquill2 unless VORNQUILL2_HOME says otherwise).
# With $DISPLAY it runs there; without, on a private virtual display inside a Wine desktop
# with a taskbar, and saves a screenshot of it in the program folder.
set -euo pipefail
source "$(dirname "$0")/common.sh"

PROGRAM_DIR=${VORNQUILL2_HOME:-$HOME/Vornquill2}
STATE_DIR=$HOME/.local/share/vornquill2
mkdir -p "$PROGRAM_DIR" "$STATE_DIR"

# Installing needs root; an installed machine does not.
install_dependencies
ensure_japanese_locale
build_windows Vornquill2
cp "$VQ_ROOT/build-win/src/win/Vornquill2.exe" "$PROGRAM_DIR/"
step "program folder: $PROGRAM_DIR"

wine_environment "$STATE_DIR/wine"
own_display=0
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  own_display=1
  echo "$XVFB_PID" >"$STATE_DIR/xvfb.pid"
  step "no \$DISPLAY: started a private virtual display $DISPLAY (Xvfb pid $XVFB_PID)"
fi
make_prefix

exe_windows="Z:${PROGRAM_DIR//\//\\}\\Vornquill2.exe"
step "starting Vornquill2.exe"
if [ $own_display = 1 ]; then
  # A Wine desktop draws a taskbar with the notification area, as on Windows.
  nohup env "${VQ_WINE_ENV[@]}" wine explorer /desktop=Vornquill2,1280x800 "$exe_windows" >/dev/null 2>&1 &
else
  nohup env "${VQ_WINE_ENV[@]}" wine "$exe_windows" >/dev/null 2>&1 &
fi

# A settings file left by an earlier run proves nothing: wait for the process itself, and make
# sure it is still there a moment later (a second copy, or a crash, ends at once).
running() { pgrep -f 'Vornquill2\.exe' >/dev/null; }
for _ in $(seq 1 100); do
  running && [ -f "$PROGRAM_DIR/Vornquill.ini" ] && break
  sleep 0.2
done
sleep 2
running || fail "the program did not start, or ended at once (is another copy running? bash $VQ_ROOT/scripts/stop.sh)"
[ -f "$PROGRAM_DIR/Vornquill.ini" ] || fail "the program did not write Vornquill.ini in $PROGRAM_DIR (is the folder writable?)"

if [ $own_display = 1 ]; then
  # Open the tray menu for the picture: the icon sits at the right end of the taskbar.
  sleep 1
  xdotool mousemove 1262 788 click 3 >/dev/null 2>&1 || true
  sleep 1
  import -window root "$PROGRAM_DIR/screenshot.png"
  step "screenshot: $PROGRAM_DIR/screenshot.png"
fi

echo
echo "Vornquill2 is running. Its settings and notes live in $PROGRAM_DIR."
echo "To stop it: bash $VQ_ROOT/scripts/stop.sh"
