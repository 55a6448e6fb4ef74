#!/bin/sh
# Builds Tarnby and runs every test: the core natively, then the Windows
# tests and the end-to-end tests under Wine in a virtual X display.
# The core tests also run built with the sanitizers.
# Installs what it needs from Debian's packages first.
. "$(dirname "$0")/common.sh"
# shellcheck disable=SC2086
tarnby_packages $TARNBY_BUILD_PACKAGES $TARNBY_WINE_PACKAGES $TARNBY_RELEASE_PACKAGES
tarnby_build

status=0
ctest --preset native || status=1
# The core tests again under the address and undefined-behaviour sanitizers.
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan $TARNBY_JOBS
ctest --preset native-asan || status=1
xvfb-run -a ctest --preset mingw || status=1
exit $status
