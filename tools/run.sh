#!/bin/sh
# Builds Tarnby and runs it under Wine; inside a virtual X display when there
# is no $DISPLAY. Installs what it needs from Debian's packages first.
. "$(dirname "$0")/common.sh"
# shellcheck disable=SC2086
tarnby_packages $TARNBY_BUILD_PACKAGES $TARNBY_WINE_PACKAGES
tarnby_build

exe="$TARNBY_ROOT/build/mingw/src/win32/tarnby.exe"
# A Wine prefix of its own, kept between runs (settings live in its registry).
export TARNBY_WINE_PREFIXES="$TARNBY_ROOT/build/run-wineprefix"
echo "Starting $exe (it lives in the notification area; E&xit from its tray menu ends it)"
# On a real desktop its window manager decorates, moves and focuses Tarnby's
# windows as any other; only the bare virtual display goes without one.
if [ -n "${DISPLAY:-}" ]; then
  TARNBY_WINE_MANAGED=Y exec "$TARNBY_ROOT/tools/wine-run" "$exe"
else
  TARNBY_WINE_MANAGED=N exec xvfb-run -a "$TARNBY_ROOT/tools/wine-run" "$exe"
fi
