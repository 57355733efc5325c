# Shared set-up for the scripts in this folder; sourced, not run.
# Installs what is missing, builds Horlomat with MinGW-w64 and prepares a Wine
# prefix inside the build tree (never the user's own ~/.wine).

set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${HORLOMAT_BUILD_DIR:-$ROOT/build}
export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
export TZ=${TZ:-Europe/Berlin}

log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# ensure_packages [build]: everything, or only what building needs.
ensure_packages() {
    local wanted=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools python3)
    if [ "${1:-}" != build ]; then
        wanted+=(googletest wine wine64 xvfb xauth faketime libfaketime locales imagemagick x11-utils
                 fonts-wine fonts-liberation clang lld clang-format)
    fi
    local missing=()
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        log "Installing ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
    # Wine takes its regional settings from the C library's locale.
    if [ "${1:-}" != build ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        log "Generating the de_DE.UTF-8 locale"
        as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
        as_root locale-gen >/dev/null
    fi
}

build() {
    log "Building in $BUILD"
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$BUILD" -j"$(nproc)"
}

ensure_wineprefix() {
    if [ ! -f "$WINEPREFIX/.horlomat-ready" ]; then
        log "Creating the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.horlomat-ready"
    fi
    # A German Windows shows dates as dd.MM.yyyy; Wine's own German default is
    # d.M.yyyy. Set on every run: Wine resets the regional settings whenever
    # it is started under another locale.
    wine reg add 'HKCU\Control Panel\International' /v sShortDate /d dd.MM.yyyy /f >/dev/null 2>&1 </dev/null
    # Let that server go, so a caller can start a persistent one.
    wineserver -w
}

# Starts a private X server when there is no display; stopped on exit.
XVFB_PID=
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${HORLOMAT_FORCE_XVFB:-}" ]; then return; fi
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    trap stop_display EXIT
}

stop_display() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}

# A private X server, the prepared prefix and one Wine server kept for the
# whole run, with Wine's background services started away from the caller's
# output pipes (ctest waits until every process holding its pipes has gone).
start_wine_session() {
    HORLOMAT_FORCE_XVFB=1 ensure_display
    ensure_wineprefix
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# The tests' session: a Wine prefix of their own, never the one Horlomat runs in, with drive X: on a folder of it
# for a start from a drive's root.
start_test_session() {
    export WINEPREFIX=$BUILD/test-prefix TZ=Europe/Berlin  # the winter dates the tests pin: an hour ahead of UTC
    start_wine_session
    # Without Wine's crash dialog a crashed program ends, and a test sees it.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
    mkdir -p "$WINEPREFIX/drive_x"
    ln -sfn ../drive_x "$WINEPREFIX/dosdevices/x:"
}

# What a benchmark needs before it measures: the build with its own probe
# targets, the Wine session, and a line saying what machine the figures are from.
prepare_bench() {
    ensure_packages
    build >/dev/null
    cmake --build "$BUILD" --target "$@" >/dev/null
    start_wine_session
    echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1); $(wine --version)"
}
