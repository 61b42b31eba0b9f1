#!/usr/bin/env bash
# Start-up benchmark: size of Vornquill2.exe, time from process start until its tray icon is
# registered, and memory once started, each beside a minimal tray program (MinimalTray.exe).
# Builds the Windows configuration, then runs StartupBench.exe under Wine in a private prefix and
# a private Xvfb (or on $BENCH_DISPLAY), and prints a markdown table. Not part of the tests.
#
#   bash bench/run.sh            BENCH_RUNS=25 bash bench/run.sh
set -uo pipefail
source "$(dirname "$0")/../scripts/common.sh"
runs=${BENCH_RUNS:-15}

work=$(mktemp -d /tmp/vornquill2-bench.XXXXXX)
cleanup() {
  [ -d "$work/prefix" ] && WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

build_windows
exe=$VQ_ROOT/build-win/src/win/Vornquill2.exe
minimal=$VQ_ROOT/build-win/bench/MinimalTray.exe
bench=$VQ_ROOT/build-win/bench/StartupBench.exe
for f in "$exe" "$minimal" "$bench"; do [ -f "$f" ] || fail "missing $f"; done

if [ -n "${BENCH_DISPLAY:-}" ]; then
  export DISPLAY=$BENCH_DISPLAY
else
  start_xvfb
fi
wine_environment "$work/prefix"
make_prefix
# Without a window manager Wine waits for one at every hide; unmanaged windows avoid that.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# A persistent, warmed-up wineserver: the starts below must not pay for the server's own start.
wineserver -p
jwine wineboot >/dev/null 2>&1

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
step "measuring $runs starts of each case"
results=$(jwine "$(windows_path "$bench")" "$runs" "$(windows_path "$exe")" "$(windows_path "$minimal")") ||
  fail "StartupBench failed"

size=$(stat -c %s "$exe")
minimal_size=$(stat -c %s "$minimal")
echo
awk -v size="$size" -v msize="$minimal_size" '
  { runs[$1] = $2; med[$1] = $3; lo[$1] = $4; hi[$1] = $5; priv[$1] = $6; ws[$1] = $7 }
  function kib(b) { return sprintf("%d B (%.1f KiB)", b, b / 1024) }
  function ms(c) { return sprintf("%.1f ms (%.1f–%.1f)", med[c], lo[c], hi[c]) }
  function ratio(a, b) { return b > 0 ? sprintf("%.2f", a / b) : "n/a" }
  function verdict(ok) { return ok ? "met" : "MISSED" }
  END {
    print "| Measure | Vornquill2 | Minimal tray | Ratio | Goal |"
    print "|---|---|---|---|---|"
    printf "| Exe size | %s | %s | %.2f | ≤ 600 KiB: %s |\n", kib(size), kib(msize), size / msize, verdict(size <= 600 * 1024)
    split("first-start with-ini", cases, " ")
    for (i = 1; i <= 2; i++) {
      c = cases[i]; r = med[c] / med["minimal"]
      printf "| Start → tray icon, %s (median, min–max of %d) | %s | %s | %.2f | ≤ 1.2: %s |\n",
        c, runs[c], ms(c), ms("minimal"), r, verdict(r <= 1.2)
    }
    for (i = 1; i <= 2; i++) {
      c = cases[i]
      printf "| Private memory, %s (median) | %d KiB | %d KiB | %s | |\n", c, priv[c], priv["minimal"], ratio(priv[c], priv["minimal"])
      printf "| Working set, %s (median) | %d KiB | %d KiB | %s | |\n", c, ws[c], ws["minimal"], ratio(ws[c], ws["minimal"])
    }
  }' <<<"$results"
