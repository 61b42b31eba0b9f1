#!/usr/bin/env bash
# Stops what start.sh started, and only that: the processes and the Wine session of the prefix
# recorded in the program folder, and the virtual display if start.sh started one. HOME and
# TMPDIR need not be what they were for start.sh: what they were then is in the record.
#
#   bash scripts/stop.sh [PROGRAM_FOLDER]
#
# The program folder is the one given, else $VORNQUILL2_HOME, else the one start.sh of this
# checkout used last, else ~/Vornquill2.
set -uo pipefail
VQ_LOGS=${VQ_LOGS:-/dev/null} # nothing here writes a log: no folder for one under $TMPDIR
source "$(dirname "$0")/common.sh"

folder=${1:-${VORNQUILL2_HOME:-}}
[ -n "$folder" ] || folder=$(cat "$VQ_ROOT/build-win/$VQ_START_STATE" 2>/dev/null)
[ -n "$folder" ] || folder=$HOME/Vornquill2
state=$folder/$VQ_START_STATE
if [ ! -f "$state" ]; then
  step "nothing to stop: no $VQ_START_STATE in $folder (start.sh did not start Vornquill2 there, or it was stopped)"
  exit 0
fi

value() { sed -n "s/^$1=//p" "$state"; }
prefix=$(value prefix | head -1)
exe=$(value exe | head -1)

# A recorded PID is ended only while it still is what start.sh started: PIDs are reused.
still_ours() {
  local args
  args=$(tr '\0' ' ' 2>/dev/null <"/proc/$1/cmdline") || return 1
  case "$2" in
    program) [ -n "$exe" ] && case "$args" in "$exe" | "$exe "*) true ;; *) false ;; esac ;;
    launcher) [[ "$args" == *"$exe"* ]] ;;
    xvfb) [ "$(cat "/proc/$1/comm" 2>/dev/null)" = Xvfb ] ;;
    wine) [[ "$(readlink "/proc/$1/exe" 2>/dev/null)" == */wine* ]] ;;
  esac
}
alive() {
  local pid
  for pid in "$@"; do [ -d "/proc/$pid" ] && return 0; done
  return 1
}
# $1: what they are; then their PIDs. Each gets five seconds to end before it is killed.
stop_pids() {
  local kind=$1 pid left=() _
  shift
  for pid in "$@"; do still_ours "$pid" "$kind" && kill "$pid" 2>/dev/null && left+=("$pid"); done
  [ ${#left[@]} -gt 0 ] || return 1
  for _ in $(seq 1 50); do
    alive "${left[@]}" || break
    sleep 0.1
  done
  for pid in "${left[@]}"; do still_ours "$pid" "$kind" && kill -KILL "$pid" 2>/dev/null; done
  ended=${left[*]}
}

# Wine's own processes of this prefix (the desktop, services, the server): each runs a binary
# of Wine's and was given this WINEPREFIX.
prefix_pids() {
  local dir
  for dir in /proc/[0-9]*; do
    [[ "$(readlink "$dir/exe" 2>/dev/null)" == */wine* ]] &&
      grep -qzxF "WINEPREFIX=$prefix" "$dir/environ" 2>/dev/null && echo "${dir#/proc/}"
  done
}

# The prefix is start.sh's own: ending its Wine session ends the program and everything it
# started under Wine, and nothing of any other prefix.
# Wine finds the server of a prefix under the TMPDIR it was started with (none: /tmp).
tmpdir=$(value tmpdir | head -1)
if [ -n "$tmpdir" ]; then wine_tmp=(TMPDIR="$tmpdir"); else wine_tmp=(-u TMPDIR); fi
if [ -n "$prefix" ] && [ -d "$prefix" ] && env "${wine_tmp[@]}" WINEPREFIX="$prefix" wineserver -k 2>/dev/null; then
  env "${wine_tmp[@]}" WINEPREFIX="$prefix" wineserver -w 2>/dev/null
  step "Wine session of $prefix ended"
fi
# What wineserver could not reach (the server already gone, or a program hanging on).
mapfile -t pids < <(value program_pid)
stop_pids program "${pids[@]}" && step "Vornquill2.exe ended (pid $ended)"
mapfile -t pids < <(value launcher_pid)
stop_pids launcher "${pids[@]}" && step "its launcher ended (pid $ended)"
mapfile -t pids < <([ -n "$prefix" ] && prefix_pids)
stop_pids wine "${pids[@]}" && step "Wine processes of $prefix ended (pid $ended)"
mapfile -t pids < <(value xvfb_pid)
stop_pids xvfb "${pids[@]}" && step "virtual display $(value display | head -1) ended (Xvfb pid $ended)"
rm -f "$state"
step "stopped what start.sh started from $folder"
