#!/usr/bin/env bash
# What TLS adds to a mail check: Vornquill2 checks one account of the same Dovecot in clear, over
# SSL/TLS (POP3S) and over STARTTLS, each check timed from the tray icon's double-click until the
# result window shows the mailbox (MailTlsBench.exe, under Wine in a private prefix, Xvfb and
# network namespace with only loopback; the test CA trusted in that prefix only). Prints a
# markdown table; the goal is that TLS adds under 50 ms once the first chain build of a run is
# done. Not part of the tests. Needs root, like the tests.
#
#   bash bench/mail-tls.sh            BENCH_ROUNDS=5 BENCH_CHECKS=10 bash bench/mail-tls.sh
set -uo pipefail
source "$(dirname "$0")/../scripts/common.sh"
rounds=${BENCH_ROUNDS:-3}
checks=${BENCH_CHECKS:-10}
bench=$VQ_ROOT/build-win/bench-tls/MailTlsBench.exe

if [ -z "${VQ_MAIL_TLS_BENCH_INSIDE:-}" ]; then
  build_windows Vornquill2
  step "building MailTlsBench.exe"
  mkdir -p "$(dirname "$bench")"
  i686-w64-mingw32-g++-posix -std=c++20 -O2 -municode -static -s -DUNICODE -D_UNICODE -DNOMINMAX \
    -I"$VQ_ROOT/src" "$VQ_ROOT/bench/MailTlsBench.cpp" -o "$bench" || fail "cannot build MailTlsBench.exe"
  VQ_MAIL_TLS_BENCH_INSIDE=1 exec unshare --net --mount -- bash "$0" "$@"
fi

source "$VQ_ROOT/tests/e2e/servers/pop3-servers.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/vornquill2-mailbench.XXXXXX")
isolate_network "$work"
cleanup() {
  stop_pop3_servers
  stop_wine_session
  rm -rf "$work"
}
trap cleanup EXIT

start_wine_session "$work"
start_pop3_servers || fail "the POP3 test servers did not start"
trust_test_ca "$VQ_TEST_CA" || fail "cannot trust the test CA in the Wine prefix"

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
step "timing $rounds starts of each mode, $checks checks after the first of each"
# Dovecot's own ports, without the recorder in between.
results=$(jwine "$(windows_path "$bench")" "$rounds" "$checks" "$(windows_path "$VQ_ROOT/build-win/src/win/Vornquill2.exe")" \
  "$VQ_DOVECOT_DIRECT_PORT" "$VQ_DOVECOT_POP3S_PORT") || fail "MailTlsBench failed"

echo
echo "$results" | awk -v size="$(stat -c %s "$VQ_ROOT/build-win/src/win/Vornquill2.exe")" '
  { first[$1] = $2; n[$1] = $3; med[$1] = $4; lo[$1] = $5; hi[$1] = $6; order[NR] = $1 }
  END {
    print "| mode | first check of a start | later checks: median (min–max) | added to plain (median) | goal < 50 ms |"
    print "|---|---|---|---|---|"
    for (i = 1; i <= NR; i++) {
      m = order[i]; added = med[m] - med["plain"]
      printf "| %s | %.1f ms | %.1f ms (%.1f–%.1f), %d checks | %s | %s |\n", m, first[m], med[m], lo[m], hi[m], n[m],
        m == "plain" ? "" : sprintf("%+.1f ms", added), m == "plain" ? "" : (added < 50 ? "met" : "MISSED")
    }
    printf "\nVornquill2.exe: %d B (%.1f KiB; goal ≤ 600 KiB: %s)\n", size, size / 1024, size <= 600 * 1024 ? "met" : "MISSED"
  }'
