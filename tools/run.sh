#!/bin/sh
# Builds Tarnby and runs it under Wine; inside a virtual X display when there
# is no $DISPLAY. Installs what it needs from Debian's packages first.
. "$(dirname "$0")/common.sh"
# shellcheck disable=SC2086
tarnby_packages $TARNBY_BUILD_PACKAGES $TARNBY_WINE_PACKAGES
tarnby_build

exe="$TARNBY_ROOT/build/mingw/src/win32/tarnby.exe"
echo "Starting $exe (it lives in the notification area; E&xit from its tray menu ends it)"
if [ -n "${DISPLAY:-}" ]; then
  exec "$TARNBY_ROOT/tools/wine-run" "$exe"
else
  exec xvfb-run -a "$TARNBY_ROOT/tools/wine-run" "$exe"
fi
