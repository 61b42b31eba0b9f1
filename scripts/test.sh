#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test: the native unit
# tests, then the Windows tests and the end-to-end tests under Wine on a private X display,
# inside a network namespace that has only loopback. Exits non-zero on any failure.
set -uo pipefail
source "$(dirname "$0")/common.sh"

[ "$(id -u)" = 0 ] || fail "run as root (packages, and a private network namespace for the tests)"
start=$(date +%s)
install_dependencies
format_rc=0
check_format || format_rc=1
build_native
build_windows

results=$VQ_LOGS
step "native unit tests"
ctest --test-dir "$VQ_ROOT/build-native" --output-on-failure >"$results/native.log" 2>&1
native_rc=$?
grep -E 'tests passed|tests failed' "$results/native.log" | sed 's/^/    /'
[ $native_rc -eq 0 ] || failure_report "$results/native.log" 40

step "Windows and end-to-end tests under Wine (private network namespace)"
unshare --net --mount -- bash "$VQ_ROOT/scripts/test-windows.sh" "$results"
windows_rc=$?

parse() { # passed and failed counts out of a ctest log
  local line total failed
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  echo "${total:-0} ${failed:-0}"
}
read -r nt nf < <(parse "$results/native.log")
read -r wt wf < <(parse "$results/windows.log" 2>/dev/null || echo "0 0")
passed=$((nt - nf + wt - wf))
failed=$((nf + wf))
[ $native_rc -ne 0 ] && [ "$nf" = 0 ] && failed=$((failed + 1))
[ $windows_rc -ne 0 ] && [ "$wf" = 0 ] && failed=$((failed + 1))
[ $format_rc -ne 0 ] && failed=$((failed + 1))

echo
step "summary ($(($(date +%s) - start)) s): native $((nt - nf))/$nt, Windows and end-to-end $((wt - wf))/$wt"
echo "$passed passed, $failed failed"
echo "logs: $results"
[ $failed -eq 0 ] && [ $native_rc -eq 0 ] && [ $windows_rc -eq 0 ] && [ $format_rc -eq 0 ]
