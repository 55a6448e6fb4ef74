# Shared by tools/run.sh, tools/test.sh and tools/screenshots.sh (sourced, not run).
# Installs missing Debian packages (as root, one apt-get update at most) and
# builds both presets: the native core with its tests, and the MinGW build of
# tarnby.exe with its Windows tests.
set -eu

TARNBY_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$TARNBY_ROOT"

tarnby_packages() {
  missing=""
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $package"
    fi
  done
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "Tarnby needs these Debian packages:$missing (run as root to install them)" >&2
    exit 1
  fi
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# What every build needs: compilers, CMake, GoogleTest, Wine and a virtual display.
TARNBY_BUILD_PACKAGES="cmake ninja-build g++ googletest libgtest-dev g++-mingw-w64-x86-64-posix"
TARNBY_WINE_PACKAGES="wine wine64 fonts-wine fonts-liberation xvfb xauth"
# What a release needs beyond the build: the MSI (wixl, msitools), its
# signature (osslsigncode) and a throw-away certificate for the test (openssl).
TARNBY_RELEASE_PACKAGES="wixl msitools osslsigncode openssl"

# As many compilers as the machine has cores.
TARNBY_JOBS="-j$(nproc 2>/dev/null || echo 2)"

tarnby_build() {
  cmake --preset native >/dev/null
  cmake --build --preset native $TARNBY_JOBS
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw $TARNBY_JOBS
}
