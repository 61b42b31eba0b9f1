#!/usr/bin/env bash
# Installs what is missing, builds Vornquill2.exe and starts it under Wine with the Japanese
# code page, from its own program folder (~/Vornquill2 unless VORNQUILL2_HOME says otherwise).
# With $DISPLAY it runs there; without, on a private virtual display inside a Wine desktop
# with a taskbar, and saves a screenshot of it in the program folder.
#
# What stop.sh needs to end this run (the Wine prefix and TMPDIR, the processes, the display)
# goes to started-by-start.sh in the program folder, and the folder's path to build-win: stop.sh
# finds both whatever HOME and TMPDIR are when it runs.
set -euo pipefail
source "$(dirname "$0")/common.sh"

mkdir -p "${VORNQUILL2_HOME:-$HOME/Vornquill2}"
PROGRAM_DIR=$(cd "${VORNQUILL2_HOME:-$HOME/Vornquill2}" && pwd)
STATE_FILE=$PROGRAM_DIR/$VQ_START_STATE
exe_windows=$(windows_path "$PROGRAM_DIR/Vornquill2.exe")

# Wine shows a program's command line as its Windows path: a process of this folder's exe
# starts with exactly that path, and one of another folder never does.
program_pids() {
  local pid args
  for pid in $(pgrep -f 'Vornquill2\.exe' || true); do
    args=$(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline") || continue
    case "$args" in "$exe_windows" | "$exe_windows "*) echo "$pid" ;; esac
  done
}
running() { [ -n "$(program_pids)" ]; }

# A second copy of the program would only show its "already open" message and wait there.
running && fail "Vornquill2.exe of $PROGRAM_DIR is running already; stop it first: bash $VQ_ROOT/scripts/stop.sh"

# Installing needs root; an installed machine does not.
install_dependencies
ensure_japanese_locale
build_windows Vornquill2
cp "$VQ_ROOT/build-win/src/win/Vornquill2.exe" "$PROGRAM_DIR/"
step "program folder: $PROGRAM_DIR"
printf '%s\n' "$PROGRAM_DIR" >"$VQ_ROOT/build-win/$VQ_START_STATE"

wine_environment "$HOME/.local/share/vornquill2/wine"
mkdir -p "$WINEPREFIX"
# Each line as soon as it is true, so that stop.sh can end whatever an interrupted start left.
record() { printf '%s=%s\n' "$1" "$2" >>"$STATE_FILE"; }
printf '# Written by scripts/start.sh for scripts/stop.sh; delete it only when nothing of the run is left.\n' \
  >"$STATE_FILE"
record prefix "$WINEPREFIX"
# Wine keeps its server's socket under $TMPDIR: with another TMPDIR, wineserver -k finds no server.
record tmpdir "${TMPDIR:-}"
record exe "$exe_windows"
own_display=0
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  own_display=1
  record xvfb_pid "$XVFB_PID"
  step "no \$DISPLAY: started a private virtual display $DISPLAY (Xvfb pid $XVFB_PID)"
fi
record display "$DISPLAY"
make_prefix

step "starting Vornquill2.exe"
if [ $own_display = 1 ]; then
  # A Wine desktop draws a taskbar with the notification area, as on Windows.
  nohup env "${VQ_WINE_ENV[@]}" wine explorer /desktop=Vornquill2,1280x800 "$exe_windows" >/dev/null 2>&1 &
else
  nohup env "${VQ_WINE_ENV[@]}" wine "$exe_windows" >/dev/null 2>&1 &
fi
record launcher_pid $!

# A settings file left by an earlier run proves nothing: wait for the process itself, and make
# sure it is still there a moment later (a crash ends at once).
for _ in $(seq 1 100); do
  running && [ -f "$PROGRAM_DIR/Vornquill.ini" ] && break
  sleep 0.2
done
sleep 2
pids=$(program_pids)
[ -n "$pids" ] || fail "the program did not start, or ended at once (bash $VQ_ROOT/scripts/stop.sh ends what was started)"
for pid in $pids; do record program_pid "$pid"; done
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
echo "Vornquill2 is running (pid $pids). Its settings and notes live in $PROGRAM_DIR."
echo "To stop it: bash $VQ_ROOT/scripts/stop.sh"
