#!/usr/bin/env bash
# Prints Horlomat's start-up time and memory beside the same window written
# the plainest way (bench/plain) and Wine's notepad.exe (same run, alternating,
# median and quartiles of N starts each), its size and imports, the CPU it uses
# while idle for two minutes with the hold box unticked, ticked and running on
# with /laufend, and its memory after 1,000 applies. Figures only; nothing here passes or fails.
# With a git revision, that revision's Horlomat is built and started beside
# the others too, as "before", to show a change's cost in the same run.
#   bench/perf.sh [starts per program, default 30] [idle seconds, default 120] [revision]
source "$(dirname "$0")/../scripts/common.sh"

runs=${1:-30}
idle_seconds=${2:-120}
before_rev=${3:-}
prepare_bench perf_probe plain_window
before=()
if [ -n "$before_rev" ]; then
    log "Building $before_rev as \"before\""
    rm -rf "$BUILD/before-src" && mkdir -p "$BUILD/before-src"
    git -C "$ROOT" archive "$before_rev" | tar -x -C "$BUILD/before-src"
    cmake -S "$BUILD/before-src" -B "$BUILD/before" -DHORLOMAT_BUILD_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$BUILD/before-src/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$BUILD/before" --target Horlomat -j"$(nproc)" >/dev/null
    before=(before "$(winepath -w "$BUILD/before/Horlomat.exe" 2>/dev/null)")
fi

probe() { wine "$BUILD/bench/perf/perf_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
value() { sed -n "s/^$1 //p" <<<"$2"; }
exe_win=$(winepath -w "$BUILD/Horlomat.exe" 2>/dev/null)

echo
echo "Size"
printf '  Horlomat.exe            %d bytes\n' "$(stat -c %s "$BUILD/Horlomat.exe")"
printf '  imports                 %s\n' "$(x86_64-w64-mingw32-objdump -p "$BUILD/Horlomat.exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"

log "Start-up: $runs starts each, alternating"
s=$(probe startup "$runs" Horlomat "$exe_win" "${before[@]}" plain "$(winepath -w "$BUILD/bench/plain/plain_window.exe" 2>/dev/null)" \
    notepad 'C:\windows\system32\notepad.exe')
echo
echo "Start-up until the window is visible and idle, $runs starts each (ms); memory one second after start (KB)"
printf '  %-10s %8s %13s %9s %12s %6s %8s\n' "" median "quartiles" "vs plain" "working set" peak private
base=$(value plain_startup_median_ms "$s")
for n in Horlomat ${before_rev:+before} plain notepad; do
    median=$(value "${n}_startup_median_ms" "$s")
    printf '  %-10s %8s %6s-%-6s %8s %12s %6s %8s\n' "$n" "$median" "$(value "${n}_startup_q1_ms" "$s")" \
        "$(value "${n}_startup_q3_ms" "$s")" "$(awk -v a="$median" -v b="$base" 'BEGIN {printf "%+.0f%%", 100 * (a / b - 1)}')" \
        "$(value "${n}_working_set_kb" "$s")" "$(value "${n}_peak_working_set_kb" "$s")" "$(value "${n}_private_kb" "$s")"
done

log "Idle: $idle_seconds s unticked, ticked and with a /laufend hold, side by side"
# Wine does not report another process's CPU time, so it is read from Linux:
# the wine command becomes the Windows process itself.
work=$(mktemp -d)
cpu_ms() { awk -v tck="$(getconf CLK_TCK)" '{print ($14 + $15) * 1000 / tck}' "/proc/$1/stat"; }
declare -A idle_pid idle_before
# The /laufend hold runs on a clock started at the minute it sets (libfaketime), which Wine lets it set; each tick
# then finds the clock right, as on a machine where nothing pulls it.
modes=(unticked ticked laufend)
for mode in "${modes[@]}"; do
    mkdir -p "$work/$mode"
    cp "$BUILD/Horlomat.exe" "$work/$mode/"
    [ "$mode" = ticked ] && printf '[Zeit]\r\nZeitHalten=JA\r\n' >"$work/$mode/Horlomat.ini"
    if [ "$mode" = laufend ]; then
        (cd "$work/$mode" && LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 DONT_FAKE_MONOTONIC=1 \
            FAKETIME="@$(TZ=UTC date +'%Y-%m-%d %H:%M:00')" TZ=UTC exec wine Horlomat.exe "$(TZ=UTC date +'%Y-%m-%dT%H:%M')" /laufend) >/dev/null 2>&1 &
    else
        (cd "$work/$mode" && exec wine Horlomat.exe) >/dev/null 2>&1 &
    fi
    idle_pid[$mode]=$!
done
sleep 5  # past the start-up
for mode in "${modes[@]}"; do idle_before[$mode]=$(cpu_ms "${idle_pid[$mode]}"); done
sleep "$idle_seconds"
echo
echo "CPU time used while idle for $idle_seconds s (resolution $((1000 / $(getconf CLK_TCK))) ms)"
for mode in "${modes[@]}"; do
    printf '  box %-19s %s ms\n' "$mode" "$(awk -v a="$(cpu_ms "${idle_pid[$mode]}")" -v b="${idle_before[$mode]}" 'BEGIN {print a - b}')"
    kill "${idle_pid[$mode]}"
done

log "1,000 applies against a pinned clock"
cp "$BUILD/Horlomat.exe" "$work/"
a=$(TZ=UTC FAKETIME="2026-12-05 14:30:00" DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 \
    LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
    probe applies 1000 "$(winepath -w "$work/Horlomat.exe")")
echo
echo "Memory around 1,000 applies (KB)        working set   peak   private"
printf '  before                  %12s %6s %9s\n' "$(value before_working_set_kb "$a")" \
    "$(value before_peak_working_set_kb "$a")" "$(value before_private_kb "$a")"
printf '  after                   %12s %6s %9s\n' "$(value after_working_set_kb "$a")" \
    "$(value after_peak_working_set_kb "$a")" "$(value after_private_kb "$a")"
rm -rf "$work"
