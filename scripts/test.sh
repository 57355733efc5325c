#!/usr/bin/env bash
# Builds Horlomat and its tests and runs every test under Wine and Xvfb.
source "$(dirname "$0")/common.sh"

ensure_packages
build
HORLOMAT_FORCE_XVFB=1 ensure_display
ensure_wineprefix
wineserver -p  # one server for the whole run
# Start Wine's background services now, away from the tests' output pipes:
# ctest waits until every process holding those pipes has gone.
wine cmd /c exit >/dev/null 2>&1 </dev/null
log "Running the tests"
cd "$BUILD"
ctest --output-on-failure -j2 "$@"
