#!/usr/bin/env bash
# Times "Zeit setzen" under Wine, from outside as a user would press it: the
# median time from a press to the label showing the result over 1,000
# applies, and the period of the once-a-minute timer over 3 ticks (about
# three minutes). The clock is pinned with libfaketime so every apply
# succeeds. Figures only; nothing here passes or fails.
#   bench/apply_bench.sh [applies, default 1000] [ticks, default 3]
source "$(dirname "$0")/../scripts/common.sh"

applies=${1:-1000}
ticks=${2:-3}
prepare_bench apply_bench

clock_file=$BUILD/bench/apply/apply_bench.faketime
echo "+0" >"$clock_file"
log "Timing $applies applies, then $ticks ticks of the timer"
HORLOMAT_EXE=$BUILD/Horlomat.exe HORLOMAT_CLOCK_FILE=$clock_file \
    FAKETIME_TIMESTAMP_FILE=$clock_file FAKETIME_NO_CACHE=1 DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 \
    LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
    wine "$BUILD/bench/apply/apply_bench.exe" "$applies" "$ticks" | tr -d '\r'
