#!/bin/sh
# The release as tools/package.sh writes it, made from this build with a
# throw-away certificate: the MSI's tables, the checksums and manifests that
# must match the files, the signatures; then, under Wine, a silent install,
# "tarnby" through the PATH.
# Usage: check_msi.sh SOURCE_DIR BUILD_DIR WINE_RUN
set -eu
root=$1
build=$2
wine_run=$3
work=$build/release-msi-check
rm -rf "$work"
mkdir -p "$work"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
expect() {  # expect WHAT COMMAND...: the command must succeed
  what=$1
  shift
  "$@" >/dev/null 2>&1 || fail "$what"
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=Tarnby test" >/dev/null 2>&1
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/test.pfx" -passout pass:secret
TARNBY_SIGN_PFX=$work/test.pfx TARNBY_SIGN_PASSWORD=secret TARNBY_RELEASE_URL=https://downloads.test/tarnby/ \
  sh "$root/tools/release_files.sh" "$build" "$work/dist" >"$work/out.txt"
TARNBY_VERSION=99.0.0 sh "$root/tools/release_files.sh" "$build" "$work/newer" >"$work/newer.txt"
grep -q "^Not signed" "$work/newer.txt" || fail "an unsigned release does not say so"

dist=$work/dist
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip=Tarnby-$version-win64.zip
msi=Tarnby-$version-x64.msi
expect "SHA256SUMS does not match the zip and the MSI" sh -c "cd '$dist' && sha256sum -c SHA256SUMS"
[ "$(cut -d' ' -f3 "$dist/SHA256SUMS" | tr '\n' ' ')" = "$zip $msi " ] || fail "SHA256SUMS lists $(cat "$dist/SHA256SUMS")"

# The MSI's tables.
table() { msiinfo export "$dist/$msi" "$1"; }
product=$(table Property | sed -n 's/^ProductCode\t//p' | tr -d '\r')
[ "$(table File | cut -f3 | sed -n '4,$p' | sort | tr '\n' ' ')" = "LICENSE.txt readme.txt restart.exe tarnby.com tarnby.exe " ] ||
  fail "the MSI's files: $(table File | cut -f3)"
table Upgrade | grep -q '^{720B31B7-93DF-45F4-8C38-542476998A3C}' || fail "no upgrade code"
table Shortcut | grep -q "^StartMenuTarnby	ProgramMenuFolder	Tarnby	" || fail "no Start menu shortcut"
table Environment | grep -q "	=-\*PATH	\[~\];\[INSTALLFOLDER\]	" || fail "no PATH entry"
table Component | grep -q "	STARTWITHWINDOWS = 1	" || fail "the run entry does not wait for STARTWITHWINDOWS=1"

# The manifests carry the files' own hashes and the MSI's ProductCode.
sha() { sha256sum "$1" | cut -d' ' -f1; }
winget=$dist/winget/manifests/t/Tarnby/Tarnby/$version
grep -qx "  InstallerSha256: $(sha "$dist/$msi" | tr a-f A-F)" "$winget/Tarnby.Tarnby.installer.yaml" || fail "winget's hash"
grep -qx "ProductCode: '$product'" "$winget/Tarnby.Tarnby.installer.yaml" || fail "winget's ProductCode is not $product"
grep -qx "  InstallerUrl: https://downloads.test/tarnby/$msi" "$winget/Tarnby.Tarnby.installer.yaml" || fail "winget's address"
for manifest in Tarnby.Tarnby.yaml Tarnby.Tarnby.locale.en-US.yaml; do
  grep -qx "PackageVersion: $version" "$winget/$manifest" || fail "$manifest"
done
grep -q "\"hash\": \"$(sha "$dist/$zip")\"" "$dist/scoop/tarnby.json" || fail "Scoop's hash"
grep -q "\"url\": \"https://downloads.test/tarnby/$zip\"" "$dist/scoop/tarnby.json" || fail "Scoop's address"
grep -q "^ *InstallerUrl:\|\"url\"" "$work/newer/scoop/tarnby.json" "$work/newer/winget/manifests/t/Tarnby/Tarnby/99.0.0/"*.yaml &&
  fail "a manifest names an address nobody gave"
[ "$(table Property | sed -n 's/^ProductCode\t//p')" != "$(msiinfo export "$work/newer/Tarnby-99.0.0-x64.msi" Property |
  sed -n 's/^ProductCode\t//p')" ] || fail "two versions share a ProductCode"

# Signed, and the signatures hold.
mkdir "$work/unzipped"
(cd "$work/unzipped" && cmake -E tar xf "$dist/$zip")
for file in "$work/unzipped/tarnby.exe" "$work/unzipped/tarnby.com" "$work/unzipped/restart.exe" "$dist/$msi"; do
  expect "$(basename "$file") is not signed as it should be" osslsigncode verify -CAfile "$work/cert.pem" -in "$file"
done

# Under Wine: one prefix for the whole story; cmd waits for what it starts.
export TARNBY_WINE_PREFIXES="$work/wine"
win() { "$wine_run" cmd /c "$@" 2>/dev/null | tr -d '\r'; }
step=0
msiexec() {
  step=$((step + 1))
  WINEPREFIX="$work/wine/cmd" WINEDEBUG=-all wine msiexec "$@" /qn /l*v "Z:$work/msiexec-$step.log" 2>/dev/null || true
}
folder="$work/wine/cmd/drive_c/Program Files/Tarnby"
run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
user_run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
cp "$dist/$msi" "$work/newer/Tarnby-99.0.0-x64.msi" "$work/"
win ver >/dev/null
msiexec /i "Z:$work/$msi" STARTWITHWINDOWS=1
[ "$(ls "$folder" | tr '\n' ' ')" = "LICENSE.txt readme.txt restart.exe tarnby.com tarnby.exe " ] || fail "installed: $(ls "$folder")"
win reg query "$run" /v Tarnby | grep -q '"C:\\Program Files\\Tarnby\\tarnby.exe"' || fail "no quoted run entry"
# Wine puts an all-users shortcut in the installing user's Start menu.
shortcut() { find "$work/wine/cmd/drive_c" -path '*/Start Menu/Programs/Tarnby.lnk' | grep -q .; }
shortcut || fail "no shortcut"
[ "$(win "cd /d C:\\windows & tarnby /status & echo code %errorlevel%")" = "$(printf 'no countdown\ncode 3')" ] ||
  fail "tarnby /status through the PATH: $(win "cd /d C:\\windows & tarnby /status")"
# Uninstalling takes away what the MSI put there and leaves the user's settings.
win reg add 'HKCU\Software\Tarnby\Settings' /v shut /d true /f >/dev/null
msiexec /x "Z:$work/$msi"
[ ! -e "$folder/tarnby.exe" ] || fail "uninstalling left $(ls "$folder")"
win reg query "$run" /v Tarnby | grep -q Tarnby && fail "uninstalling left the run entry"
win reg query 'HKCU\Software\Tarnby\Settings' /v shut | grep -q true || fail "uninstalling took the user's settings"
WINEPREFIX="$work/wine/cmd" wineserver -k 2>/dev/null || true
echo "The release: zip, MSI, SHA256SUMS and manifests match, signed; installs and uninstalls under Wine, tarnby answers through the PATH"
