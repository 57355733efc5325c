#!/usr/bin/env bash
# Prints Horlomat's start-up time and memory beside Wine's notepad.exe (same
# run, alternating, median of N starts each), its size and imports, the CPU it
# uses while idle for two minutes with the hold box unticked and ticked, and
# its memory after 1,000 applies. Figures only; nothing here passes or fails.
#   bench/perf.sh [starts per program, default 15] [idle seconds, default 120]
source "$(dirname "$0")/../scripts/common.sh"

runs=${1:-15}
idle_seconds=${2:-120}
prepare_bench perf_probe

probe() { wine "$BUILD/bench/perf/perf_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
value() { sed -n "s/^$1 //p" <<<"$2"; }
exe_win=$(winepath -w "$BUILD/Horlomat.exe" 2>/dev/null)
notepad='C:\windows\system32\notepad.exe'

echo
echo "Size"
printf '  Horlomat.exe            %d bytes\n' "$(stat -c %s "$BUILD/Horlomat.exe")"
printf '  imports                 %s\n' "$(x86_64-w64-mingw32-objdump -p "$BUILD/Horlomat.exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"

log "Start-up: $runs starts each, alternating"
s=$(probe startup "$runs" "$exe_win" "$notepad")
echo
echo "Start-up until the window is visible and idle (median of $runs)"
printf '  Horlomat                %s ms\n' "$(value horlomat_startup_median_ms "$s")"
printf '  notepad                 %s ms\n' "$(value other_startup_median_ms "$s")"
printf '  ratio                   %s\n' "$(value startup_ratio "$s")"
echo "Memory one second after start (KB)      working set   peak   private"
printf '  Horlomat                %12s %6s %9s\n' "$(value horlomat_working_set_kb "$s")" \
    "$(value horlomat_peak_working_set_kb "$s")" "$(value horlomat_private_kb "$s")"
printf '  notepad                 %12s %6s %9s\n' "$(value other_working_set_kb "$s")" \
    "$(value other_peak_working_set_kb "$s")" "$(value other_private_kb "$s")"

log "Idle: $idle_seconds s unticked and ticked, side by side"
# Wine does not report another process's CPU time, so it is read from Linux:
# the wine command becomes the Windows process itself.
work=$(mktemp -d)
cpu_ms() { awk -v tck="$(getconf CLK_TCK)" '{print ($14 + $15) * 1000 / tck}' "/proc/$1/stat"; }
declare -A idle_pid idle_before
for mode in unticked ticked; do
    mkdir -p "$work/$mode"
    cp "$BUILD/Horlomat.exe" "$work/$mode/"
    [ "$mode" = ticked ] && printf '[Zeit]\r\nZeitHalten=JA\r\n' >"$work/$mode/Horlomat.ini"
    (cd "$work/$mode" && exec wine Horlomat.exe) >/dev/null 2>&1 &
    idle_pid[$mode]=$!
done
sleep 5  # past the start-up
for mode in unticked ticked; do idle_before[$mode]=$(cpu_ms "${idle_pid[$mode]}"); done
sleep "$idle_seconds"
echo
echo "CPU time used while idle for $idle_seconds s (resolution $((1000 / $(getconf CLK_TCK))) ms)"
for mode in unticked ticked; do
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
