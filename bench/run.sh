#!/usr/bin/env bash
# Start-up benchmark: size of Vornquill2.exe, time from process start until its tray icon is
# registered, and memory once started, each beside a minimal tray program (MinimalTray.exe); then
# what sticky notes cost: start-up time, GDI and USER objects and memory with 0 and with 101 notes.
# Builds the Windows configuration, then runs StartupBench.exe under Wine in a private prefix and
# a private Xvfb (or on $BENCH_DISPLAY), and prints two markdown tables. Not part of the tests.
#
#   bash bench/run.sh            BENCH_RUNS=25 BENCH_NOTE_RUNS=15 bash bench/run.sh
#
# BENCH_BUILD_DIR names another Windows build directory, whose Vornquill2, MinimalTray and
# StartupBench are measured as they are (nothing is built) instead of building build-win.
set -uo pipefail
source "$(dirname "$0")/../scripts/common.sh"
runs=${BENCH_RUNS:-15}
note_runs=${BENCH_NOTE_RUNS:-15}

work=$(mktemp -d "${TMPDIR:-/tmp}/vornquill2-bench.XXXXXX")
cleanup() {
  stop_wine_session
  rm -rf "$work"
}
trap cleanup EXIT

bench_build_dir
build=$BENCH_BUILD_DIR
exe=$build/src/win/Vornquill2.exe
minimal=$build/bench/MinimalTray.exe
bench=$build/bench/StartupBench.exe
for f in "$exe" "$minimal" "$bench"; do [ -f "$f" ] || fail "missing $f"; done

if [ -n "${BENCH_DISPLAY:-}" ]; then
  export DISPLAY=$BENCH_DISPLAY
else
  start_xvfb
fi
ensure_japanese_locale
wine_environment "$work/prefix"
make_prefix
warm_wine_session

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
step "measuring $runs starts of each case, then $note_runs with 0 and with 101 notes"
results=$(jwine "$(windows_path "$bench")" "$runs" "$(windows_path "$exe")" "$(windows_path "$minimal")" "$note_runs") ||
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
    if (!("minimal" in med)) exit
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

# The note cases: <label> <runs> <median ms> <min> <max> <private KiB> <working set KiB> <GDI> <USER>,
# labelled notes-<count>[-busy]; an object count of 0 means that GetGuiResources gave nothing (Wine
# 8 does not implement it).
awk -v notes=101 '
  { sub(/\r$/, "") }
  $1 ~ /^notes-/ {
    k = substr($1, 7); runs[k] = $2; med[k] = $3; lo[k] = $4; hi[k] = $5; priv[k] = $6; ws[k] = $7; gdi[k] = $8; usr[k] = $9
  }
  function ms(k) { return sprintf("%.1f ms (%.1f–%.1f)", med[k], lo[k], hi[k]) }
  function verdict(ok) { return ok ? "met" : "MISSED" }
  function timing(what, suffix) {
    if (!(("0" suffix) in med) || !((notes suffix) in med)) return
    each = (med[notes suffix] - med["0" suffix]) / notes
    printf "| Start → all notes shown, %s (median, min–max of %d) | %s | %s | %.2f ms | ≤ 3 ms: %s |\n",
      what, runs[notes suffix], ms("0" suffix), ms(notes suffix), each, verdict(each <= 3)
  }
  function objects(name, counts, goal) {
    if (counts[0] > 0 && counts[notes] > 0) {
      each = (counts[notes] - counts[0]) / notes
      printf "| %s objects, once shown (median) | %d | %d | %.2f | %s |\n", name, counts[0], counts[notes], each,
        goal ? "≤ " goal ": " verdict(each <= goal) : ""
    } else {
      printf "| %s objects, once shown | not reported by Wine | not reported by Wine | not reported by Wine | %s |\n",
        name, goal ? "≤ " goal ": not measured" : ""
    }
  }
  END {
    if (!(0 in med) || !(notes in med)) exit
    print ""
    print "| Measure | 0 notes | 101 notes | Per note | Goal |"
    print "|---|---|---|---|---|"
    timing("quiet machine", "")
    timing("other cores kept busy", "-busy")
    objects("GDI", gdi, 3)
    objects("USER", usr, 0)
    printf "| Private memory, once shown (median) | %d KiB | %d KiB | %.1f KiB | |\n", priv[0], priv[notes], (priv[notes] - priv[0]) / notes
    printf "| Working set, once shown (median) | %d KiB | %d KiB | %.1f KiB | |\n", ws[0], ws[notes], (ws[notes] - ws[0]) / notes
  }' <<<"$results"
