#!/bin/sh
# Takes the README's pictures: Tarnby under Wine in a virtual X display, its
# main window shown from the tray menu, and the tray menu itself.
# Writes docs/main-window.png and docs/tray-menu.png.
. "$(dirname "$0")/common.sh"
# shellcheck disable=SC2086
tarnby_packages $TARNBY_BUILD_PACKAGES $TARNBY_WINE_PACKAGES imagemagick
tarnby_build
mkdir -p docs

if [ "${1:-}" != "--inside" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" --inside
fi

export WINEPREFIX="$TARNBY_ROOT/build/screenshots-wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
exe="$TARNBY_ROOT/build/mingw/src/win32/tarnby.exe"
# Wine ends console lines with CR LF.
drive() { wine "$TARNBY_ROOT/build/mingw/tests/e2e/tarnby_drive.exe" "$@" | tr -d "\r"; }
wine "$exe" &
drive find frmstart >/dev/null

# The main window, shown from the tray, with a pre-selection and a countdown typed in.
drive tray picscreen right
drive menu s
drive wait frmstart
drive click frmstart cmdshut
drive type frmstart Text2 10
drive type frmstart Text1 30
sleep 1
set -- $(drive find frmstart | sed 's/.*rect=\([-0-9 ]*\) text.*/\1/')
import -window root -crop "$(($3 - $1))x$(($4 - $2))+$1+$2" +repage docs/main-window.png
drive click frmstart Command3

# The tray menu, opened from the icon in Wine's tray window at the top left.
drive cursor 120 34
drive tray picscreen right
sleep 1
set -- $(drive menu where)
import -window root -crop "$(($3 + 12))x$(($4 + 12))+0+0" +repage docs/tray-menu.png
drive menu esc

wineserver -k
echo "docs/main-window.png and docs/tray-menu.png written"
