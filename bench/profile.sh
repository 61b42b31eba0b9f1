#!/usr/bin/env bash
# Where start-up time goes: builds Vornquill2 with -DVQ_STARTUP_PROFILE=ON into build-profile,
# starts it under Wine as bench/run.sh does (first start, start with settings, then 0, 50 and 101
# notes quiet and with the other cores busy), and prints what each kind of work takes: at start,
# and per note (the time with 101 notes less the time with none, over 101), as medians of the
# runs. BENCH_RAW names a file to keep the raw lines in. Not part of the tests.
#
#   bash bench/profile.sh            BENCH_NOTE_RUNS=15 bash bench/profile.sh
set -uo pipefail
source "$(dirname "$0")/../scripts/common.sh"
note_runs=${BENCH_NOTE_RUNS:-9}

bench_work_folder profile

build=$VQ_ROOT/build-profile
step "building Vornquill2 with the start-up profile in $build"
cmake -S "$VQ_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVQ_TESTS=OFF -DVQ_STARTUP_PROFILE=ON \
  -DCMAKE_TOOLCHAIN_FILE="$VQ_ROOT/cmake/mingw-i686.cmake" >"$VQ_LOGS/cmake-profile.log" 2>&1 || fail "cmake failed"
cmake --build "$build" -j2 --target Vornquill2 MinimalTray StartupBench >"$VQ_LOGS/build-profile.log" 2>&1 ||
  fail "build failed (log: $VQ_LOGS/build-profile.log)"

start_wine_session "$work"
export VQ_STARTUP_PROFILE
VQ_STARTUP_PROFILE=$(windows_path "$work/profile.txt")
WINEDEBUG=-all
step "profiling $note_runs starts with 0, 50 and 101 notes, quiet and busy (machine: $(uptime | sed 's/.*load/load/'))"
jwine "$(windows_path "$build/bench/StartupBench.exe")" "$note_runs" "$(windows_path "$build/src/win/Vornquill2.exe")" \
  "$(windows_path "$build/bench/MinimalTray.exe")" "$note_runs" >/dev/null || fail "StartupBench failed"

# One line per start: <phase> <ms> <spans> ... In order: a discarded first start; each run's
# first start and start with settings; a discarded start with notes; then each run's starts
# with 0, 50, 101 notes quiet, then the same busy.
echo
awk -v runs="$note_runs" '
  function sorted(list, a,   n, i, j, t) {
    n = split(substr(list, 2), a, ",")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
    return n
  }
  function median(list,   a, n) { n = sorted(list, a); return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
  function least(list,   a) { sorted(list, a); return a[1] }
  {
    sub(/\r$/, "")
    if (NR == 1 || NR == 2 * runs + 2) next
    if (NR <= 2 * runs + 1) who = NR % 2 == 0 ? "first" : "ini"
    else { k = (NR - 2 * runs - 3) % 6; who = (k < 3 ? "quiet" : "busy") "-" (k % 3 == 0 ? 0 : k % 3 == 1 ? 50 : 101) }
    spans = 0
    for (i = 1; i < NF; i += 3) {
      if (!($i in seen)) { seen[$i] = 1; order[++phases] = $i }
      ms[who, $i] = ms[who, $i] "," $(i + 1)
      if ($i == "start") start = $(i + 1); else if ($i != "paint") spans += $(i + 1)
    }
    ms[who, "rest"] = ms[who, "rest"] "," (start - spans)
  }
  function name(ph) { return ph == "start" ? "whole start-up" : ph }
  END {
    print "| Work (median ms of " runs " starts) | first start | settings file present |"
    print "|---|---|---|"
    for (p = 1; p <= phases; p++)
      if (order[p] ~ /^(start|settings|folders|tray-icon)$/)
        printf "| %s | %.2f | %.2f |\n", name(order[p]), median(ms["first", order[p]]), median(ms["ini", order[p]])
    print ""
    print "| Work per note with 101 notes (ms; median and least of " runs " starts) | quiet | least | busy | least |"
    print "|---|---|---|---|---|"
    for (p = 1; p <= phases; p++) {
      ph = order[p]
      if (ph ~ /^(settings|folders|tray-icon)$/) continue
      if (ph == "start")
        printf "| whole start-up less the start without notes | %.3f | | %.3f | |\n",
          (median(ms["quiet-101", ph]) - median(ms["quiet-0", ph])) / 101, (median(ms["busy-101", ph]) - median(ms["busy-0", ph])) / 101
      else
        printf "| %s | %.3f | %.3f | %.3f | %.3f |\n", ph, median(ms["quiet-101", ph]) / 101, least(ms["quiet-101", ph]) / 101,
          median(ms["busy-101", ph]) / 101, least(ms["busy-101", ph]) / 101
    }
    printf "| the rest (parsing, bookkeeping), less the start without notes | %.3f | | %.3f | |\n",
      (median(ms["quiet-101", "rest"]) - median(ms["quiet-0", "rest"])) / 101, (median(ms["busy-101", "rest"]) - median(ms["busy-0", "rest"])) / 101
  }' "$work/profile.txt"
[ -n "${BENCH_RAW:-}" ] && cp "$work/profile.txt" "$BENCH_RAW"
true
