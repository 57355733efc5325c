#!/usr/bin/env bash
# Builds Horlomat and its tests and runs every test under Wine and Xvfb.
source "$(dirname "$0")/common.sh"

ensure_packages
build
start_wine_session
log "Running the tests"
cd "$BUILD"
ctest --output-on-failure -j2 "$@"
