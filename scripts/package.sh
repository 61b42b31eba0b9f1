#!/usr/bin/env bash
# The download for Windows users: builds the release configuration (build-release: the program
# alone, no tests) and writes dist/Vornquill2-<version>-win32.zip with its .sha256 beside it.
# The version is the CMake project's. One commit gives the same bytes in any folder at any time.
#
#   bash scripts/package.sh                   build and pack into dist/
#   bash scripts/package.sh --verify          build the last commit twice in fresh folders, compare
#   bash scripts/package.sh --from DIR OUT    pack the program already built in DIR into OUT
#                                             (the test command packs build-win's this way)
set -euo pipefail
source "$(dirname "$0")/common.sh"

# Dates the zip's entries and anything the compiler dates: the last commit's time, unless given.
commit_time() {
  [ -n "${SOURCE_DATE_EPOCH:-}" ] && return
  SOURCE_DATE_EPOCH=$(git -C "$VQ_ROOT" log -1 --format=%ct "${1:-HEAD}" 2>/dev/null) ||
    fail "no commit time: run in a git checkout or set SOURCE_DATE_EPOCH"
  export SOURCE_DATE_EPOCH
}

# Packs the program built in $1 into the folder $2 and prints the zip's path.
pack() {
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt" 2>/dev/null)
  [ -n "$version" ] || fail "$1 is not a configured build folder"
  [ -f "$1/src/win/Vornquill2.exe" ] || fail "no Vornquill2.exe in $1/src/win"
  commit_time
  python3 "$VQ_ROOT/scripts/package.py" "$1/src/win/Vornquill2.exe" "$version" "$VQ_ROOT/package" "$2"
}

build_release() {
  local dir=$VQ_ROOT/build-release
  command -v i686-w64-mingw32-g++-posix >/dev/null ||
    fail "mingw-w64 is missing: run bash scripts/start.sh or scripts/test.sh once, they install it"
  step "building the release configuration in $dir"
  cmake -S "$VQ_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVQ_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$VQ_ROOT/cmake/mingw-i686.cmake" >"$VQ_LOGS/cmake-release.log" 2>&1 ||
    { tail -20 "$VQ_LOGS/cmake-release.log" >&2; fail "cmake (release) failed"; }
  cmake --build "$dir" -j"$(nproc)" --target Vornquill2 >"$VQ_LOGS/build-release.log" 2>&1 ||
    { grep -E 'error' -A3 "$VQ_LOGS/build-release.log" | head -40 >&2; fail "release build failed"; }
}

# Two checkouts of the last commit in folders of different names and depths, built one after
# the other without ccache (a cache hit would hide a difference), then compared byte for byte.
verify() {
  local work name a b commit
  commit=$(git -C "$VQ_ROOT" rev-parse HEAD) || fail "not a git checkout"
  commit_time "$commit"
  work=$(mktemp -d "${TMPDIR:-/tmp}/vornquill2-verify.XXXXXX")
  a=$work/one
  b=$work/second/build-folder
  for dir in "$a" "$b"; do
    mkdir -p "$dir"
    git -C "$VQ_ROOT" archive "$commit" | tar -x -C "$dir"
    step "building ${commit:0:7} in $dir"
    env -u CMAKE_CXX_COMPILER_LAUNCHER -u CMAKE_C_COMPILER_LAUNCHER CCACHE_DISABLE=1 \
      VQ_LOGS="$VQ_LOGS" bash "$dir/scripts/package.sh" >/dev/null || fail "the build in $dir failed"
  done
  local rc=0
  for file in build-release/src/win/Vornquill2.exe dist/*.zip; do
    name=$(cd "$a" && echo $file)
    if cmp -s "$a/$name" "$b/$name"; then
      echo "    identical: $(basename "$name") $(stat -c %s "$a/$name") bytes, sha256 $(sha256sum "$a/$name" | cut -c1-64)"
    else
      echo "    DIFFERENT: $(basename "$name") ($(cmp -l "$a/$name" "$b/$name" | wc -l) bytes differ)"
      rc=1
    fi
  done
  [ $rc -eq 0 ] && rm -rf "$work" || echo "    both builds are kept in $work"
  return $rc
}

case "${1:-}" in
  --verify) verify ;;
  --from)
    [ $# -eq 3 ] || fail "usage: package.sh --from BUILD_DIR OUT_DIR"
    pack "$(cd "$2" && pwd)" "$3"
    ;;
  "")
    [ -z "$(git -C "$VQ_ROOT" status --porcelain 2>/dev/null)" ] ||
      step "note: the working tree has changes; this zip is not the last commit's"
    build_release
    zip=$(pack "$VQ_ROOT/build-release" "$VQ_ROOT/dist")
    step "$zip ($(stat -c %s "$zip") bytes; Vornquill2.exe $(stat -c %s "$VQ_ROOT/build-release/src/win/Vornquill2.exe") bytes)"
    cat "$zip.sha256"
    ;;
  *) fail "usage: package.sh [--verify | --from BUILD_DIR OUT_DIR]" ;;
esac
