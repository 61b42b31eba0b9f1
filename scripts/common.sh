# Shared by the project's scripts: progress lines, package installation, builds and a private
# Wine + Xvfb environment. Source it; do not run it.

VQ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VQ_PACKAGES=(build-essential cmake googletest g++-mingw-w64-i686 wine wine32:i386 wine64 xvfb xauth
  x11-utils xdotool imagemagick fonts-noto-cjk locales iproute2 util-linux clang-format dovecot-core
  dovecot-pop3d dovecot-imapd mailutils-pop3d python3 openssl)
# Logs of this run, under $TMPDIR so that two runs never share them.
VQ_LOGS=${VQ_LOGS:-$(mktemp -d "${TMPDIR:-/tmp}/vornquill2-logs.XXXXXX")}
export VQ_LOGS

# What a failed ctest run says about its failures: the failing tests, then each failure with the
# lines that explain it.
failure_report() {
  sed -n '/The following tests FAILED:/,$p' "$1" | grep -E '^\s+[0-9]+ - ' | sed 's/^\s*/    failed: /'
  grep -E -A4 '(: Failure|\[  FAILED  \]|Expected|Value of:)' "$1" | grep -v '^\[  FAILED  \].*listed below' |
    head -"${2:-60}" | sed 's/^/    /'
}

# start.sh records its run in this file of the program folder, and the program folder in the
# file of the same name in build-win; stop.sh reads both.
VQ_START_STATE=started-by-start.sh

step() { printf '==> %s\n' "$*"; }
fail() { printf '!! %s\n' "$*" >&2; exit 1; }

# Installs whatever of the packages above is missing, quietly.
install_dependencies() {
  local missing=() p
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "adding the i386 architecture (for 32-bit Wine)"
    dpkg --add-architecture i386
    rm -f /var/lib/apt/lists/lock
    VQ_NEED_UPDATE=1
  fi
  for p in "${VQ_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    step "all packages present"
    return
  fi
  [ "$(id -u)" = 0 ] || fail "these packages are missing and installing them needs root: ${missing[*]}"
  step "installing ${#missing[@]} packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null || fail "apt-get update failed"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >$VQ_LOGS/apt.log 2>&1 ||
    { tail -20 $VQ_LOGS/apt.log >&2; fail "package installation failed (log: $VQ_LOGS/apt.log)"; }
}

# The sources keep the repository's clang-format style; a file that drifted fails the run.
check_format() {
  step "checking the formatting (clang-format)"
  local files
  mapfile -t files < <(cd "$VQ_ROOT" && git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
  (cd "$VQ_ROOT" && clang-format --dry-run --Werror "${files[@]}") >"$VQ_LOGS/format.log" 2>&1 ||
    { grep -E 'error:' "$VQ_LOGS/format.log" | sed 's/:[0-9]*:[0-9]*: error.*//' | sort -u | sed 's/^/    not formatted: /' >&2; return 1; }
}

build_native() {
  step "building the native configuration (core and its tests)"
  cmake -S "$VQ_ROOT" -B "$VQ_ROOT/build-native" -DCMAKE_BUILD_TYPE=Release -DVQ_TESTS=ON >$VQ_LOGS/cmake-native.log 2>&1 ||
    { tail -20 $VQ_LOGS/cmake-native.log >&2; fail "cmake (native) failed"; }
  cmake --build "$VQ_ROOT/build-native" -j"$(nproc)" >$VQ_LOGS/build-native.log 2>&1 ||
    { grep -E 'error' -A3 $VQ_LOGS/build-native.log | head -40 >&2; fail "native build failed"; }
}

# With a target name, builds only that target (start.sh needs only the program).
build_windows() {
  local target=${1:-all}
  step "building the Windows configuration ($([ "$target" = all ] && echo "Vornquill2.exe and its tests" || echo "$target"))"
  cmake -S "$VQ_ROOT" -B "$VQ_ROOT/build-win" -DCMAKE_BUILD_TYPE=Release -DVQ_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$VQ_ROOT/cmake/mingw-i686.cmake" >$VQ_LOGS/cmake-win.log 2>&1 ||
    { tail -20 $VQ_LOGS/cmake-win.log >&2; fail "cmake (Windows) failed"; }
  cmake --build "$VQ_ROOT/build-win" -j"$(nproc)" --target "$target" >$VQ_LOGS/build-win.log 2>&1 ||
    { grep -E 'error' -A3 $VQ_LOGS/build-win.log | head -40 >&2; fail "Windows build failed"; }
}

# Wine settings for one prefix: 32-bit, quiet, no Mono or Gecko downloads.
wine_environment() {
  export WINEARCH=win32 WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# The environment of every Wine command: the Japanese locale, which gives code page 932. Wine
# also takes the Unix side's character set from it, so the locale must exist: without it Wine
# garbles non-ASCII command lines and cannot make Japanese file names. A system that lacks it
# gets it generated once into the build tree (no root needed, nothing of the system changed)
# and found through LOCPATH; a later run finds it there at once.
VQ_WINE_ENV=(LC_ALL=ja_JP.UTF-8)
VQ_LOCALES=$VQ_ROOT/build-locale
ensure_japanese_locale() {
  VQ_WINE_ENV=(LC_ALL=ja_JP.UTF-8)
  if locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then return; fi
  if [ ! -f "$VQ_LOCALES/ja_JP.UTF-8/LC_CTYPE" ]; then
    step "generating the ja_JP.UTF-8 locale for Wine in $VQ_LOCALES"
    command -v localedef >/dev/null || fail "localedef is missing (package libc-bin)"
    [ -f /usr/share/i18n/locales/ja_JP ] || fail "the locale sources are missing (package locales)"
    mkdir -p "$VQ_LOCALES" || fail "cannot create $VQ_LOCALES"
    local fresh
    fresh=$(mktemp -d "$VQ_LOCALES/.new.XXXXXX")
    localedef -i ja_JP -f UTF-8 "$fresh/ja_JP.UTF-8" >"$VQ_LOGS/localedef.log" 2>&1 ||
      { rm -rf "$fresh"; fail "localedef failed (log: $VQ_LOGS/localedef.log)"; }
    rm -rf "$VQ_LOCALES/ja_JP.UTF-8"
    mv "$fresh/ja_JP.UTF-8" "$VQ_LOCALES/" && rmdir "$fresh"
  fi
  VQ_WINE_ENV+=(LOCPATH="$VQ_LOCALES")
  env "${VQ_WINE_ENV[@]}" locale charmap 2>/dev/null | grep -qx UTF-8 || fail "the ja_JP.UTF-8 locale does not load"
}

# Runs a Wine command under the Japanese locale and code page (932).
jwine() { env "${VQ_WINE_ENV[@]}" wine "$@"; }

# Creates the prefix under the Japanese locale (so menus get Japanese fonts) when missing.
make_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    step "creating a Japanese Wine prefix in $WINEPREFIX"
    env "${VQ_WINE_ENV[@]}" wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
    wineserver -w
  fi
}

# Starts Xvfb on a free display; sets DISPLAY and XVFB_PID.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local display
  read -r -t 20 display <"$fifo" || fail "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=":$display"
}

# Inside a private network namespace: loopback up, and names resolved from /etc/hosts only (a
# bind mount over nsswitch.conf), so that nothing run here can reach another machine.
# $1: a work folder for the replacement file.
isolate_network() {
  ip link set lo up || fail "cannot bring up loopback in the namespace"
  sed -E 's/^hosts:.*/hosts: files/' /etc/nsswitch.conf >"$1/nsswitch.conf"
  mount --bind "$1/nsswitch.conf" /etc/nsswitch.conf || fail "cannot replace nsswitch.conf in the namespace"
}

# Xvfb and a fresh, warm Japanese Wine prefix in $1/prefix; stop_wine_session ends both by PID.
start_wine_session() {
  ensure_japanese_locale
  start_xvfb
  wine_environment "$1/prefix"
  make_prefix
  warm_wine_session
}
stop_wine_session() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
}

# A benchmark's work folder under $TMPDIR, named <name>.XXXXXX, in $work; when the script ends
# its Wine session is stopped and the folder goes.
bench_work_folder() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/vornquill2-$1.XXXXXX") || fail "cannot create a work folder"
  trap 'stop_wine_session; rm -rf "$work"' EXIT
}

# A Unix path as Wine's Z: drive shows it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The Windows build a benchmark measures: BENCH_BUILD_DIR as it is (nothing is built), else
# build-win, built now. Sets BENCH_BUILD_DIR to its absolute path.
bench_build_dir() {
  if [ -n "${BENCH_BUILD_DIR:-}" ]; then
    BENCH_BUILD_DIR=$(cd "$BENCH_BUILD_DIR" 2>/dev/null && pwd) || fail "no build directory $BENCH_BUILD_DIR"
    step "measuring the programs already built in $BENCH_BUILD_DIR"
  else
    build_windows "$@"
    BENCH_BUILD_DIR=$VQ_ROOT/build-win
  fi
}

# Readies the prefix for measured or tested program starts: windows unmanaged (without a window
# manager Wine otherwise waits for one at every hide), and a persistent, warmed-up wineserver so
# that no start pays for the server's own.
warm_wine_session() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # The desktop process that draws the tray read its settings before that change, and every
  # NIM_DELETE would wait 2 s for a managed tray window: let it end so the next one sees it.
  wineserver -w
  wineserver -p
  jwine wineboot >/dev/null 2>&1
}
