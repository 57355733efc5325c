#!/usr/bin/env bash
# Builds Horlomat and its tests and runs every test under Wine and Xvfb.
source "$(dirname "$0")/common.sh"

ensure_packages
build
# A Wine prefix of the tests' own, with drive X: on a folder of it for a start from a drive's root.
export WINEPREFIX=$BUILD/test-prefix
start_wine_session
mkdir -p "$WINEPREFIX/drive_x"
ln -sfn ../drive_x "$WINEPREFIX/dosdevices/x:"
log "Running the tests"
cd "$BUILD"
ctest --output-on-failure -j2 "$@"
