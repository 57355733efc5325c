#!/usr/bin/env bash
# Shows Horlomat on a private X server in Wine's virtual desktop (which draws
# title bars) with a German locale and saves a screenshot.
#   scripts/screenshot.sh [output.png] [seconds to wait] [about|about-tab|about-dark]
# With "about" the About dialog is opened before the shot; with "about-tab" Tab is pressed in it once, which takes
# the focus to the logo; "about-dark" opens it in a dark colour scheme, in a Wine prefix of its own.
source "$(dirname "$0")/common.sh"

out=$(realpath -m "${1:-$BUILD/screenshot.png}")
wait_seconds=${2:-4}
open_dialog=${3:-}
ensure_packages
[ -f "$BUILD/Horlomat.exe" ] || build
if [ -n "$open_dialog" ]; then cmake --build "$BUILD" --target post_command >/dev/null; fi
HORLOMAT_FORCE_XVFB=1 ensure_display
# The dark scheme stays in that prefix and never reaches the one scripts/run.sh uses. Shadow and highlight get colours
# of their own, so the shot shows the rule drawn in them.
if [ "$open_dialog" = about-dark ]; then export WINEPREFIX=$BUILD/dark-prefix; fi
ensure_wineprefix
if [ "$open_dialog" = about-dark ]; then
    for colour in 'ButtonFace=0 0 0' 'ButtonText=255 255 255' 'Window=0 0 0' 'WindowText=255 255 255' \
        'ButtonShadow=0 128 255' 'ButtonHilight=255 255 0'; do
        wine reg add 'HKCU\Control Panel\Colors' /v "${colour%%=*}" /d "${colour#*=}" /f >/dev/null 2>&1 </dev/null
    done
fi
wine explorer /desktop=Horlomat,800x600 "$BUILD/Horlomat.exe" >/dev/null 2>&1 &
sleep "$wait_seconds"
if [ -n "$open_dialog" ]; then
    # The menu item "?" > "Über" (202), pressed from inside the same desktop.
    wine explorer /desktop=Horlomat,800x600 "$BUILD/post_command.exe" \
        "Tesmar-Software Horlomat setzten" 202 >/dev/null 2>&1
    sleep 2
fi
if [ "$open_dialog" = about-tab ]; then
    wine explorer /desktop=Horlomat,800x600 "$BUILD/post_command.exe" "Info zu Horlomat" tab >/dev/null 2>&1
    sleep 1
fi
import -window root -crop 800x600+0+0 +repage "$out"
log "Screenshot saved to $out"
