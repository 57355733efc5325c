#!/usr/bin/env bash
# Checks the formatting and the clang build, builds Horlomat and its tests and runs every test under Wine and Xvfb.
source "$(dirname "$0")/common.sh"

ensure_packages
bash "$ROOT/scripts/check.sh"
build
start_test_session
log "Running the tests"
cd "$BUILD"
ctest --output-on-failure -j2 "$@"
