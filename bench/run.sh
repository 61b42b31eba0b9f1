#!/usr/bin/env bash
# Start-up benchmark: size of Vornquill2.exe, time from process start until its tray icon is
# registered, and memory once started, each beside a minimal tray program (MinimalTray.exe); then
# what sticky notes cost: start-up time with 0, 50 and 101 notes beside the floor (NoteFloor.exe,
# the same note windows shown without reading anything, with 0 to 400), GDI and USER objects and
# memory; and how long the tray menu takes to open with 10,000 peeled notes in their folder.
# Builds the Windows configuration, then runs StartupBench.exe under Wine in a private prefix and
# a private Xvfb (or on $BENCH_DISPLAY), and prints two markdown tables. Not part of the tests.
#
#   bash bench/run.sh            BENCH_RUNS=25 BENCH_NOTE_RUNS=15 BENCH_MENU_RUNS=15 bash bench/run.sh
#
# BENCH_BUILD_DIR names another Windows build directory, whose Vornquill2, MinimalTray and
# StartupBench are measured as they are (nothing is built) instead of building build-win;
# BENCH_RAW names a file to keep StartupBench's lines in.
set -uo pipefail
source "$(dirname "$0")/../scripts/common.sh"
runs=${BENCH_RUNS:-15}
note_runs=${BENCH_NOTE_RUNS:-15}
menu_runs=${BENCH_MENU_RUNS:-15}

bench_work_folder bench

bench_build_dir
build=$BENCH_BUILD_DIR
exe=$build/src/win/Vornquill2.exe
minimal=$build/bench/MinimalTray.exe
floor=$build/bench/NoteFloor.exe
bench=$build/bench/StartupBench.exe
for f in "$exe" "$minimal" "$floor" "$bench"; do [ -f "$f" ] || fail "missing $f"; done

if [ -n "${BENCH_DISPLAY:-}" ]; then
  export DISPLAY=$BENCH_DISPLAY
else
  start_xvfb
fi
ensure_japanese_locale
wine_environment "$work/prefix"
make_prefix
warm_wine_session

step "measuring $runs starts of each case, $note_runs of each note count, $menu_runs tray menus of each (machine: $(uptime | sed 's/.*load/load/'))"
results=$(jwine "$(windows_path "$bench")" "$runs" "$(windows_path "$exe")" "$(windows_path "$minimal")" "$note_runs" \
  "$(windows_path "$floor")" "$menu_runs") ||
  fail "StartupBench failed"

[ -n "${BENCH_RAW:-}" ] && printf '%s\n' "$results" >"$BENCH_RAW"
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
    printf "| Exe size | %s | %s | %.2f | ≤ 512 KiB: %s |\n", kib(size), kib(msize), size / msize, verdict(size <= 512 * 1024)
    split("first-start with-ini", cases, " ")
    for (i = 1; i <= 2; i++) {
      c = cases[i]; r = med[c] / med["minimal"]
      printf "| Start → tray icon, %s (median, min–max of %d) | %s | %s | %.2f | ≤ 1.05: %s |\n",
        c, runs[c], ms(c), ms("minimal"), r, verdict(r <= 1.05)
    }
    for (i = 1; i <= 2; i++) {
      c = cases[i]; d = priv[c] - priv["minimal"]
      printf "| Private memory, %s (median) | %d KiB | %d KiB | %+d KiB | ≤ +64 KiB: %s |\n", c, priv[c], priv["minimal"], d, verdict(d <= 64)
      printf "| Working set, %s (median) | %d KiB | %d KiB | %s | |\n", c, ws[c], ws["minimal"], ratio(ws[c], ws["minimal"])
    }
  }' <<<"$results"

# The note cases: <label> <runs> <median ms> <min> <max> <private KiB> <working set KiB> <GDI> <USER>,
# labelled notes-<count>[-busy] (the program) and floor-<count>[-busy] (NoteFloor); an object count
# of 0 means that GetGuiResources gave nothing (Wine 8 does not implement it). A note's cost is the
# slope from 0 to 101 notes; the growth columns give the slope of each step.
awk -v notes=101 '
  { sub(/\r$/, "") }
  $1 ~ /^(notes|floor)-/ {
    k = $1; runs[k] = $2; med[k] = $3; lo[k] = $4; hi[k] = $5; priv[k] = $6; ws[k] = $7; gdi[k] = $8; usr[k] = $9
  }
  function ms(k) { return sprintf("%.1f ms (%.1f–%.1f)", med[k], lo[k], hi[k]) }
  function verdict(ok) { return ok ? "met" : "MISSED" }
  function slope(who, from, to, suffix) { return (med[who "-" to suffix] - med[who "-" from suffix]) / (to - from) }
  function timing(what, suffix) {
    if (!(("notes-0" suffix) in med) || !(("floor-" notes suffix) in med)) return
    each = slope("notes", 0, notes, suffix); base = slope("floor", 0, notes, suffix)
    printf "| Per note, %s (median of %d: 0 → 101 notes) | %s → %s: %.2f ms | %s → %s: %.2f ms | %.2f | ≤ 1.15: %s |\n",
      what, runs["notes-0" suffix], ms("notes-0" suffix), ms("notes-" notes suffix), each,
      ms("floor-0" suffix), ms("floor-" notes suffix), base, (base > 0 ? each / base : 0), verdict(base > 0 && each <= 1.15 * base)
  }
  # The least of each case: what the starts cost when the machine let them run undisturbed.
  function leastTiming(what, suffix,   each, base) {
    if (!(("notes-0" suffix) in lo) || !(("floor-" notes suffix) in lo)) return
    each = (lo["notes-" notes suffix] - lo["notes-0" suffix]) / notes; base = (lo["floor-" notes suffix] - lo["floor-0" suffix]) / notes
    printf "| Per note, %s (least of each case) | %.2f ms | %.2f ms | %.2f | ≤ 1.15: %s |\n", what, each, base,
      (base > 0 ? each / base : 0), verdict(base > 0 && each <= 1.15 * base)
  }
  function growth(what, suffix) {
    if (!(("floor-400" suffix) in med)) return
    printf "| Growth, %s: ms per note from 0→50, 50→101 (program); 0→50, 50→101, 101→200, 200→400 (floor) | %.2f, %.2f | %.2f, %.2f, %.2f, %.2f | | linear |\n",
      what, slope("notes", 0, 50, suffix), slope("notes", 50, notes, suffix), slope("floor", 0, 50, suffix),
      slope("floor", 50, notes, suffix), slope("floor", notes, 200, suffix), slope("floor", 200, 400, suffix)
  }
  function objects(name, counts, goal) {
    if (counts["notes-0"] > 0 && counts["notes-" notes] > 0) {
      each = (counts["notes-" notes] - counts["notes-0"]) / notes
      printf "| %s objects per note, once shown (median) | %d → %d: %.2f | %d → %d | | %s |\n", name, counts["notes-0"],
        counts["notes-" notes], each, counts["floor-0"], counts["floor-" notes], goal ? "≤ " goal ": " verdict(each <= goal) : ""
    } else {
      printf "| %s objects per note, once shown | not reported by Wine | not reported by Wine | | %s |\n",
        name, goal ? "≤ " goal ": not measured" : ""
    }
  }
  END {
    if (!("notes-0" in med) || !(("notes-" notes) in med)) exit
    print ""
    print "| Measure | Vornquill2 | Floor (NoteFloor) | Ratio | Goal |"
    print "|---|---|---|---|---|"
    timing("quiet machine", "")
    timing("other cores kept busy", "-busy")
    leastTiming("quiet machine", "")
    leastTiming("other cores kept busy", "-busy")
    growth("quiet machine", "")
    growth("other cores kept busy", "-busy")
    objects("GDI", gdi, 3)
    objects("USER", usr, 0)
    printf "| Private memory per note, once shown (median) | %d → %d KiB: %.1f KiB | %d → %d KiB: %.1f KiB | | |\n",
      priv["notes-0"], priv["notes-" notes], (priv["notes-" notes] - priv["notes-0"]) / notes,
      priv["floor-0"], priv["floor-" notes], (priv["floor-" notes] - priv["floor-0"]) / notes
  }' <<<"$results"

# The tray menu: from the icon's right press until the menu is on screen, with an empty folder of
# peeled notes and with 10,000 (only the newest ten are read).
awk '
  { sub(/\r$/, "") }
  $1 ~ /^menu-/ { runs[$1] = $2; med[$1] = $3; lo[$1] = $4; hi[$1] = $5 }
  function ms(k) { return sprintf("%.1f ms (%.1f–%.1f)", med[k], lo[k], hi[k]) }
  END {
    if (!("menu-10000" in med)) exit
    print ""
    print "| Measure | 10,000 peeled notes | none | Goal |"
    print "|---|---|---|---|"
    printf "| Tray menu open (median, min–max of %d) | %s | %s | ≤ 50 ms: %s |\n", runs["menu-10000"], ms("menu-10000"),
      ms("menu-0"), med["menu-10000"] <= 50 ? "met" : "MISSED"
  }' <<<"$results"
