#!/usr/bin/env bash
# The robustness cases of the UI tests at full size, as a soak run that CI does not make: 100 rounds of the hostile
# field texts with an About dialog every tenth apply, watched for leaks; about seven minutes. Prints a table at the end and exits non-zero when a check failed. scripts/test.sh runs the same
# cases at reduced sizes.
source "$(dirname "$0")/../scripts/common.sh"

ensure_packages
build
start_test_session

# The environment and the desktops the ctest entries give the test program, at full size.
run() {
    local name=$1 filter=$2
    shift 2
    echo "+0" >"$BUILD/soak-$name.faketime"
    HORLOMAT_SOAK=1 HORLOMAT_EXE=$BUILD/Horlomat.exe \
        HORLOMAT_CLOCK_FILE=$BUILD/soak-$name.faketime FAKETIME_TIMESTAMP_FILE=$BUILD/soak-$name.faketime \
        FAKETIME_NO_CACHE=1 DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 \
        LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
        wine "$@" "Z:$BUILD/tests/ui_tests.exe" --gtest_filter="$filter" >"$BUILD/soak-$name.log" 2>&1
}

log "Soak run of about seven minutes; logs in $BUILD/soak-*.log"
started=$(date +%s)
run rest 'LongUse.*' explorer /desktop=HorlomatSoak,1024x768 || true
status=0  # from the logs: the desktop does not pass the exit code on
for f in "$BUILD"/soak-*.log; do grep -q '^\[  PASSED  \]' "$f" && ! grep -q FAILED "$f" || status=1; done
elapsed=$(($(date +%s) - started))

grep -h '^\[  FAILED  \]' "$BUILD"/soak-*.log | sort -u >&2 || true
{
    echo "Case|Rounds|What the program holds after the warm-up (deltas)"
    grep -h '^SOAK|' "$BUILD"/soak-*.log | tr -d '\r' | cut -d'|' -f2-
} | column -t -s'|'
log "Soak run took $((elapsed / 60)) min $((elapsed % 60)) s; $([ $status -eq 0 ] && echo 'all checks passed' || echo 'CHECKS FAILED, see the logs')"
exit $status
