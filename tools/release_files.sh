#!/bin/sh
# Writes what a release publishes from a MinGW build folder:
#   DIST/Tarnby-<version>-win64.zip   the five files, to unzip into a folder of its own
#   DIST/Tarnby-<version>-x64.msi     the same five files for every user of a computer
#   DIST/SHA256SUMS                   both, as sha256sum -c reads them
#   DIST/winget/...                   winget's manifests (version, installer, default locale)
#   DIST/scoop/tarnby.json            Scoop's manifest
# Usage: sh tools/release_files.sh BUILD_DIR DIST_DIR
# With TARNBY_SIGN_PFX (and TARNBY_SIGN_PASSWORD) the programs and the MSI are
# signed first (SHA-256; with TARNBY_TIMESTAMP_URL, timestamped there).
# TARNBY_RELEASE_URL is the address the files will be downloaded from; the
# manifests name it, and go without a download address when it is not given.
# TARNBY_VERSION stands in for the build's version (an upgrade to try out).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
dist=$(cd "$2" && pwd)
version=${TARNBY_VERSION:-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")}
[ -n "$version" ] || { echo "No version in $build/CMakeCache.txt" >&2; exit 1; }
zip=Tarnby-$version-win64.zip
msi=Tarnby-$version-x64.msi
url=${TARNBY_RELEASE_URL:-}
url=${url%/}
# Every Tarnby MSI carries this one; winget and Windows find older versions by it.
upgrade_code=720B31B7-93DF-45F4-8C38-542476998A3C
# A new ProductCode for each version, the same for every build of it: the
# winget manifest names it, and a rebuild must not change it.
product_code=$(printf 'Tarnby ProductCode %s' "$version" | sha256sum |
  sed 's/^\(........\)\(....\).\(...\).\(...\)\(............\).*/\1-\2-5\3-8\4-\5/' | tr a-f A-F)

sign() {
  [ -n "${TARNBY_SIGN_PFX:-}" ] || return 0
  pass=$(mktemp)
  printf '%s' "${TARNBY_SIGN_PASSWORD:-}" >"$pass"
  for file in "$@"; do
    # shellcheck disable=SC2086
    osslsigncode sign -pkcs12 "$TARNBY_SIGN_PFX" -readpass "$pass" -h sha256 -n Tarnby \
      ${TARNBY_TIMESTAMP_URL:+-ts "$TARNBY_TIMESTAMP_URL"} -in "$file" -out "$file.signed" >/dev/null ||
      { rm -f "$pass" "$file.signed"; echo "Signing $file failed" >&2; exit 1; }
    mv "$file.signed" "$file"
  done
  rm -f "$pass"
}

# The five files, as cmake --install lays them out.
stage=$build/msi/stage
rm -rf "$build/msi"
cmake --install "$build" --prefix "$stage" >/dev/null
if [ -n "${TARNBY_SIGN_PFX:-}" ]; then
  sign "$stage/tarnby.exe" "$stage/tarnby.com" "$stage/restart.exe"
  echo "Signed tarnby.exe, tarnby.com, restart.exe and the MSI with $TARNBY_SIGN_PFX"
else
  echo "Not signed: no TARNBY_SIGN_PFX given (Windows' SmartScreen warns on an unsigned download)"
fi
files="LICENSE.txt readme.txt restart.exe tarnby.com tarnby.exe"
rm -f "$dist/$zip" "$dist/$msi"
# shellcheck disable=SC2086
(cd "$stage" && cmake -E tar cf "$dist/$zip" --format=zip $files)

# wixl reads sources relative to where it runs; what it cannot say (the PATH
# entry, a component's condition, the uninstall's clean-up) is added to its
# database by msibuild.
cp "$root/resources/icons/tarnby.ico" "$build/msi/"
(cd "$build/msi" && wixl -a x64 -D Version="$version" -D ProductCode="$product_code" -D SourceDir=stage \
  -D IconFile=tarnby.ico -o "$dist/$msi" "$root/packaging/tarnby.wxs" 2>&1 | grep -v 'unimplemented' >&2 || true)
[ -f "$dist/$msi" ] || { echo "wixl wrote no $msi" >&2; exit 1; }
grep -v '^#' "$root/packaging/tarnby_msi.sql" | grep . | while IFS= read -r query; do
  msibuild "$dist/$msi" -q "$query"
done
sign "$dist/$msi"

(cd "$dist" && sha256sum "$zip" "$msi" >SHA256SUMS)
zip_sha=$(sha256sum "$dist/$zip" | cut -d' ' -f1 | tr a-f A-F)
msi_sha=$(sha256sum "$dist/$msi" | cut -d' ' -f1 | tr a-f A-F)

# winget: the multi-file manifests of one version.
winget=$dist/winget/manifests/t/Tarnby/Tarnby/$version
rm -rf "$dist/winget"
mkdir -p "$winget"
schema=1.6.0
header() {
  echo "# yaml-language-server: \$schema=https://aka.ms/winget-manifest.$1.$schema.schema.json"
  echo "PackageIdentifier: Tarnby.Tarnby"
  echo "PackageVersion: $version"
}
{
  header version
  echo "DefaultLocale: en-US"
  echo "ManifestType: version"
  echo "ManifestVersion: $schema"
} >"$winget/Tarnby.Tarnby.yaml"
{
  header installer
  echo "InstallerType: wix"
  echo "Scope: machine"
  echo "UpgradeBehavior: install"
  echo "ProductCode: '{$product_code}'"
  echo "Commands:"
  echo "- tarnby"
  echo "AppsAndFeaturesEntries:"
  echo "- UpgradeCode: '{$upgrade_code}'"
  echo "Installers:"
  echo "- Architecture: x64"
  if [ -n "$url" ]; then
    echo "  InstallerUrl: $url/$msi"
  else
    echo "  # InstallerUrl: where $msi will be downloaded from (TARNBY_RELEASE_URL)"
  fi
  echo "  InstallerSha256: $msi_sha"
  echo "ManifestType: installer"
  echo "ManifestVersion: $schema"
} >"$winget/Tarnby.Tarnby.installer.yaml"
{
  header defaultLocale
  echo "PackageLocale: en-US"
  echo "Publisher: The Tarnby developers"
  echo "PackageName: Tarnby"
  echo "License: MIT"
  echo "ShortDescription: A small tray utility that shuts down, restarts, logs off or suspends Windows on demand, after a countdown or on a hot key."
  echo "Moniker: tarnby"
  echo "ManifestType: defaultLocale"
  echo "ManifestVersion: $schema"
} >"$winget/Tarnby.Tarnby.locale.en-US.yaml"

# Scoop: the zip, its command line companion on the PATH, a shortcut to Tarnby.
mkdir -p "$dist/scoop"
{
  echo "{"
  echo "    \"version\": \"$version\","
  echo "    \"description\": \"A small tray utility that shuts down, restarts, logs off or suspends Windows on demand, after a countdown or on a hot key.\","
  echo "    \"license\": \"MIT\","
  echo "    \"architecture\": {"
  echo "        \"64bit\": {"
  [ -z "$url" ] || echo "            \"url\": \"$url/$zip\","
  echo "            \"hash\": \"$(echo "$zip_sha" | tr A-F a-f)\""
  echo "        }"
  echo "    },"
  echo "    \"bin\": \"tarnby.com\","
  echo "    \"shortcuts\": ["
  echo "        [\"tarnby.exe\", \"Tarnby\"]"
  echo "    ]"
  echo "}"
} >"$dist/scoop/tarnby.json"

[ -n "$url" ] ||
  echo "No TARNBY_RELEASE_URL given: the winget and Scoop manifests have no download address yet"
ls -l "$dist/$zip" "$dist/$msi" "$dist/SHA256SUMS"
