#!/usr/bin/env bash
# Stops what start.sh started: the Wine session of Vornquill2 and its private display.
set -uo pipefail
source "$(dirname "$0")/common.sh"
STATE_DIR=$HOME/.local/share/vornquill2
wine_environment "$STATE_DIR/wine"
wineserver -k 2>/dev/null && step "Wine session ended"
if [ -f "$STATE_DIR/xvfb.pid" ]; then
  kill "$(cat "$STATE_DIR/xvfb.pid")" 2>/dev/null && step "virtual display stopped"
  rm -f "$STATE_DIR/xvfb.pid"
fi
