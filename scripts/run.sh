#!/usr/bin/env bash
# Builds Horlomat and starts it: under Wine on Linux, in a Wine prefix inside
# the build tree. Without a display it shows the window on a private X server
# and saves a screenshot instead.
source "$(dirname "$0")/common.sh"

ensure_packages
build
if [ -z "${DISPLAY:-}" ]; then
    exec "$ROOT/scripts/screenshot.sh"
fi
ensure_wineprefix
log "Starting Horlomat (Wine cannot really change the clock: see README)"
exec wine "$BUILD/Horlomat.exe"
