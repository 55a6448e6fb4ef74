#!/bin/sh
# The release as tools/package.sh writes it, made from this build and signed
# with a throw-away certificate, checked; then, under Wine, installed, used
# through the PATH, upgraded to a newer version and uninstalled.
# Usage: check_msi.sh SOURCE_DIR BUILD_DIR WINE_RUN
set -eu
root=$1
build=$2
wine_run=$3
work=$build/release-msi-check
rm -rf "$work"
mkdir -p "$work"
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
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

# The checksums and manifests hold the files' own hashes, the MSI's
# ProductCode and the address given; without an address given, none.
sha() { sha256sum "$dist/$1" | cut -d' ' -f1; }
winget=winget/manifests/t/Tarnby/Tarnby/$version/Tarnby.Tarnby
while IFS='|' read -r file line; do
  grep -qF "$line" "$dist/$file" || fail "$file does not hold: $line"
done <<LINES
SHA256SUMS|$(sha "$zip")  $zip
SHA256SUMS|$(sha "$msi")  $msi
$winget.installer.yaml|InstallerSha256: $(sha "$msi" | tr a-f A-F)
$winget.installer.yaml|ProductCode: '$(msiinfo export "$dist/$msi" Property | sed -n 's/^ProductCode\t//p' | tr -d '\r')'
$winget.installer.yaml|InstallerUrl: https://downloads.test/tarnby/$msi
$winget.locale.en-US.yaml|PackageVersion: $version
scoop/tarnby.json|"hash": "$(sha "$zip")"
scoop/tarnby.json|"url": "https://downloads.test/tarnby/$zip"
LINES
grep -q "^ *InstallerUrl:\|\"url\"" "$work/newer/scoop/tarnby.json" "$work/newer/winget/manifests/t/Tarnby/Tarnby/99.0.0/"*.yaml &&
  fail "a manifest names an address nobody gave"

mkdir "$work/unzipped"
(cd "$work/unzipped" && cmake -E tar xf "$dist/$zip")
for file in "$work/unzipped/"*.exe "$work/unzipped/tarnby.com" "$dist/$msi"; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >/dev/null 2>&1 || fail "$(basename "$file") is not signed"
done

# Under Wine: one prefix for the whole story; cmd waits for what it starts.
# Wine's installer has no Restart Manager: it leaves a running tarnby.exe and
# its file in place, so no Tarnby runs here (the core's tests prove its side).
export TARNBY_WINE_PREFIXES="$work/wine" WINEPREFIX="$work/wine/cmd"
trap 'wineserver -k 2>/dev/null || true' EXIT
win() { "$wine_run" cmd /c "$@" 2>/dev/null | tr -d '\r'; }
step=0
msiexec() {
  step=$((step + 1))
  WINEDEBUG=-all wine msiexec "$@" /qn /l*v "Z:$work/msiexec-$step.log" 2>/dev/null || true
}
folder="$work/wine/cmd/drive_c/Program Files/Tarnby"
run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
user_run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
own='"C:\Program Files\Tarnby\tarnby.exe"'
# The machine-wide and the user's own run entry; the versions "Apps" lists;
# the shortcut, which Wine puts in the installing user's Start menu.
entry() { win reg query "$1" /v Tarnby | sed -n 's/^ *Tarnby *REG_SZ *//p'; }
entries() { printf "%s|%s" "$(entry "$run")" "$(entry "$user_run")"; }
installed() { win reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | sed -n 's/^ *DisplayVersion *REG_SZ *//p'; }
shortcut() { find "$work/wine/cmd/drive_c" -path '*/Start Menu/Programs/Tarnby.lnk' | grep -q .; }
win ver >/dev/null
msiexec /i "Z:$dist/$msi" STARTWITHWINDOWS=1
[ "$(ls "$folder" | tr '\n' ' ')" = "LICENSE.txt readme.txt restart.exe tarnby.com tarnby.exe " ] || fail "installed: $(ls "$folder")"
shortcut || fail "no shortcut"
status=$(win "cd /d C:\\windows & tarnby /status & echo code %errorlevel%")
[ "$status" = "$(printf 'no countdown\ncode 3')" ] || fail "tarnby /status through the PATH: $status"

# A user switches "Start with Windows" on for themselves, and changes the
# readme; the newer version replaces the older one and keeps both entries.
win reg add "$user_run" /v Tarnby /d "$own" /f >/dev/null
win reg add 'HKCU\Software\Tarnby\Settings' /v shut /d true /f >/dev/null
echo changed >>"$folder/readme.txt"
msiexec /i "Z:$work/newer/Tarnby-99.0.0-x64.msi"
[ "$(installed)" = 99.0.0 ] || fail "after the upgrade, installed: $(installed)"
cmp -s "$folder/readme.txt" "$work/unzipped/readme.txt" || fail "the upgrade left the older files"
[ "$(entries)" = "$own|$own" ] || fail "after the upgrade, run entries: $(entries)"

# Uninstalling takes away what the MSI and the user's switch put there, and
# leaves the user's settings.
msiexec /x "Z:$work/newer/Tarnby-99.0.0-x64.msi"
[ -z "$(installed)" ] && [ ! -e "$folder/tarnby.exe" ] || fail "uninstalling left $(installed) $(ls "$folder")"
shortcut && fail "uninstalling left the shortcut"
win reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH | grep -qi 'Files\\Tarnby' &&
  fail "uninstalling left the PATH entry"
[ "$(entries)" = "|" ] || fail "uninstalling left run entries: $(entries)"
win reg query 'HKCU\Software\Tarnby\Settings' /v shut | grep -q true || fail "uninstalling took the user's settings"

# Without STARTWITHWINDOWS=1 the MSI writes no run entry, nor takes over one
# for a copy of Tarnby elsewhere. Tarnby's own switch, run as an
# administrator, writes the machine-wide one bare; a user's entry for a copy
# elsewhere is not the MSI's to take.
elsewhere='"C:\Tools\Tarnby\tarnby.exe"'
win reg add "$run" /v Tarnby /d "$elsewhere" /f >/dev/null
msiexec /i "Z:$dist/$msi"
[ "$(entries)" = "$elsewhere|" ] || fail "installed without STARTWITHWINDOWS=1, run entries: $(entries)"
win reg add "$run" /v Tarnby /d 'C:\Program Files\Tarnby\tarnby.exe' /f >/dev/null
win reg add "$user_run" /v Tarnby /d "$elsewhere" /f >/dev/null
msiexec /x "Z:$dist/$msi"
[ "$(entries)" = "|$elsewhere" ] || fail "uninstalled, run entries: $(entries)"
echo "The release: zip, MSI, SHA256SUMS and manifests match, signed; under Wine it installs, answers through the PATH, upgrades and uninstalls"
