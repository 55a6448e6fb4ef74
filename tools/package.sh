#!/bin/sh
# Builds the release and writes into dist/ what it publishes: the zip and the
# MSI (tarnby.exe, tarnby.com, restart.exe, readme.txt, LICENSE.txt), their
# SHA256SUMS and the winget and Scoop manifests; signed first when
# TARNBY_SIGN_PFX names a certificate (see tools/release_files.sh).
# Installs what it needs from Debian's packages.
. "$(dirname "$0")/common.sh"
# shellcheck disable=SC2086
tarnby_packages $TARNBY_BUILD_PACKAGES $TARNBY_RELEASE_PACKAGES
cmake --preset release >/dev/null
cmake --build --preset release $TARNBY_JOBS
sh "$TARNBY_ROOT/tools/release_files.sh" "$TARNBY_ROOT/build/release" "$TARNBY_ROOT/dist"
