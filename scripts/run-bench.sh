#!/usr/bin/env bash
# Runs the benchmarks of a build folder under Wine in a virtual display, in
# the tests' prefix.
# Usage: run-bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
"$here/test-prefix.sh" "$build"
export WINEPREFIX="$build/wineprefix"
export HOME="$build/home" XDG_DATA_HOME="$build/home/.local/share"
mkdir -p "$XDG_DATA_HOME"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  failed=0; for name in reports_bench search_bench; do "$1/wine-run.sh" "$2/bench/$name.exe" || failed=1; done; (exit $failed)
  rc=$?
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  exit $rc' _ "$here" "$build"
