#!/usr/bin/env bash
# The Windows half of the tests, run by test.sh inside a fresh network and mount namespace:
# only loopback exists, and name lookups stay in /etc/hosts. Starts Xvfb, a private Wine
# prefix and the POP3 test servers, runs ctest in the Windows build, and stops everything it
# started by PID.
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$VQ_ROOT/tests/e2e/servers/pop3-servers.sh"
results=$1

work=$(mktemp -d "${TMPDIR:-/tmp}/vornquill2-test.XXXXXX")
isolate_network "$work"

cleanup() {
  stop_pop3_servers
  stop_wine_session
  umount "$work/readonly" "$work/readonly-notes" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

start_wine_session "$work"

# Program folders the program cannot write to (read-only bind mounts): one with the program
# alone, one with a note as well.
windows_path() { echo "Z:${1//\//\\}"; }
readonly_folder() {
  mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" "$1" || fail "cannot mount $1 read-only"
  echo "$(windows_path "$1")\\"
}
mkdir -p "$work/readonly" "$work/readonly-notes"
cp "$VQ_ROOT/build-win/src/win/Vornquill2.exe" "$work/readonly/"
cp "$VQ_ROOT/build-win/src/win/Vornquill2.exe" "$work/readonly-notes/"
printf '"Arial"\r\n"12"\r\n"False"\r\n"False"\r\n"&HFFFFFF"\r\n"&H0"\r\n"True"\r\n"1440"\r\n"1440"\r\n' \
  >"$work/readonly-notes/Vornquill0.hsn"
printf '""\r\n""\r\n""\r\n""\r\n""\r\n"False"\r\n' >>"$work/readonly-notes/Vornquill0.hsn"
printf 'read-only\r\n' >"$work/readonly-notes/Vornquill0.log"
VQ_READONLY_FOLDER=$(readonly_folder "$work/readonly")
VQ_READONLY_NOTES_FOLDER=$(readonly_folder "$work/readonly-notes")
export VQ_READONLY_FOLDER VQ_READONLY_NOTES_FOLDER

# The download as a new user gets it: this build's program (byte for byte the release
# configuration's) packed as the release is, unpacked where the path has Japanese and spaces.
# A failure here leaves the folder empty, and the package test fails on it.
unpacked="$work/ダウンロード フォルダー/Vornquill2 展開先"
mkdir -p "$unpacked"
zip=$(bash "$VQ_ROOT/scripts/package.sh" --from "$VQ_ROOT/build-win" "$work/dist") &&
  python3 -m zipfile -e "$zip" "$unpacked" && (cd "$unpacked" && sha256sum --quiet -c SHA256SUMS.txt) ||
  { rm -f "$unpacked"/*; echo "!! packing or unpacking the zip failed" >&2; }
VQ_PACKAGE_ZIP=$(windows_path "${zip:-none}")
VQ_PACKAGE_FOLDER="$(windows_path "$unpacked")\\"
export VQ_PACKAGE_ZIP VQ_PACKAGE_FOLDER

start_pop3_servers || fail "the POP3 test servers did not start"

# The servers' test CA is trusted in this prefix, and nowhere else.
trust_test_ca "$VQ_TEST_CA" || fail "cannot trust the test CA in the Wine prefix"

# VQ_CTEST_ARGS narrows the run, e.g. to one case: VQ_CTEST_ARGS="-R NotesTest.ClickAndDragRewriteTheRecordWithThePlace".
# shellcheck disable=SC2086
env "${VQ_WINE_ENV[@]}" ctest --test-dir "$VQ_ROOT/build-win" --output-on-failure --timeout 180 ${VQ_CTEST_ARGS:-} \
  >"$results/windows.log" 2>&1
rc=$?
grep -E 'tests passed|tests failed|\*\*\*Skipped' "$results/windows.log" | sed 's/^/    /'
[ $rc -eq 0 ] || failure_report "$results/windows.log" 80
exit $rc
