#!/bin/sh
# Builds the release and packs it: dist/Tarnby-<version>-win64.zip holds
# tarnby.exe, restart.exe, readme.txt and LICENSE.txt, ready to download and
# unzip into a folder of its own. Installs what it needs from Debian's packages.
. "$(dirname "$0")/common.sh"
# shellcheck disable=SC2086
tarnby_packages $TARNBY_BUILD_PACKAGES
cmake --preset release >/dev/null
cmake --build --preset release -j2
cpack --preset release
ls -l "$TARNBY_ROOT"/dist/Tarnby-*-win64.zip
