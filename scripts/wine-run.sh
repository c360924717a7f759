#!/usr/bin/env bash
# Runs a Windows program under Wine. Used as the cross-compiling emulator, so
# CTest runs the test programs through it. The prefix is WINEPREFIX when set
# (the tests set their own), otherwise the user's default one.
set -eu
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export FONTCONFIG_FILE="${FONTCONFIG_FILE:-$(dirname "$(realpath "$0")")/fonts.conf}"
# /usr/bin/wine starts the 32-bit loader, which cannot run here.
exec /usr/lib/wine/wine64 "$@"
