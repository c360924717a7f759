#!/usr/bin/env bash
# Runs a test program in a test prefix whose screen has the given DPI, and
# ends that prefix's Wine processes afterwards. The program learns the DPI
# it should see from CORVANE_TEST_DPI.
# Usage: at-dpi.sh BUILD_DIR DPI PROGRAM [ARGUMENT...]
set -euo pipefail
build=$(realpath "$1")
dpi=$2
shift 2
here=$(dirname "$(realpath "$0")")
"$here/test-prefix.sh" "$build" "$dpi"
export WINEPREFIX="$build/wineprefix-$dpi" CORVANE_TEST_DPI="$dpi"
status=0
"$here/wine-run.sh" "$@" || status=$?
/usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
