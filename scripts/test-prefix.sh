#!/usr/bin/env bash
# Makes the Wine prefix the tests run in, once per build folder:
#   C: fixed (the prefix's drive_c), D: CD-ROM, E: fixed with a label and a
#   serial number, and no Z:, so no test can reach the host's root. The user
#   shell folders become plain folders instead of links to the host's home.
#   Windows are unmanaged: without a window manager, Wine would wait two
#   seconds for each visible window it destroys.
#   Given a DPI other than 96, a prefix of its own whose screen has that DPI.
# Usage: test-prefix.sh BUILD_DIR [DPI]
set -euo pipefail
build=$(realpath "$1")
dpi=${2:-96}
export WINEPREFIX="$build/wineprefix"
if [ "$dpi" != 96 ]; then WINEPREFIX="$build/wineprefix-$dpi"; fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# A folder tree with a symbolic-link loop on E:, which walks must not follow.
mkdir -p "$build/drives/e/loop/inner"
echo "the only file" > "$build/drives/e/loop/inner/file.txt"
ln -sfn .. "$build/drives/e/loop/inner/back"
# And one for the space map: a sparse 5 GiB file that takes no room, 300 KiB
# that do, an empty folder, a loop.
mkdir -p "$build/drives/e/map/docs" "$build/drives/e/map/empty"
truncate -s 5G "$build/drives/e/map/big.iso"
head -c 300K /dev/zero > "$build/drives/e/map/docs/notes.txt"
ln -sfn .. "$build/drives/e/map/docs/back"

[ -f "$WINEPREFIX/.corvane-test-prefix" ] && exit 0

rm -rf "$WINEPREFIX"
mkdir -p "$build/drives/d" "$build/drives/e"
echo "CORVANE CD" > "$build/drives/d/.windows-label"
echo "TESTDATA" > "$build/drives/e/.windows-label"
echo "F00D1234" > "$build/drives/e/.windows-serial"

"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
"$wineserver" -w

devices="$WINEPREFIX/dosdevices"
rm -f "$devices"/[d-z]:
ln -s "$build/drives/d" "$devices/d:"
ln -s "$build/drives/e" "$devices/e:"

for user_dir in "$WINEPREFIX"/drive_c/users/*/; do
  for link in "$user_dir"*; do
    [ -L "$link" ] || continue
    rm "$link"
    mkdir "$link"
  done
done

touch "$WINEPREFIX/.corvane-test-prefix"
