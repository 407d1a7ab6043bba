#!/usr/bin/env bash
# One end-to-end run: a fresh prefix seeded with the fixture and real installers, Orvalinde.exe
# beside its own settings, and the driver that reads its window.
# Usage: run_e2e.sh BUILD_DIR DRIVER_EXE [GTEST_FILTER]  (a filter runs only those tests)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
build=$(realpath "$1")
driver=$(realpath "$2")
work="$build/e2e"
rm -rf "$work"
mkdir -p "$work"
orv_display
trap 'orv_prefix_stop; orv_display_stop' EXIT
orv_prefix "$work/prefix"
orv_seed "$work/seed"
mkdir -p "$WINEPREFIX/drive_c/OrvE2E"
cp "$build/Orvalinde.exe" "$WINEPREFIX/drive_c/OrvE2E/"
export ORV_E2E_EXE='C:\OrvE2E\Orvalinde.exe'
if [ -n "${3:-}" ]; then
  "$WINE" "$driver" --gtest_filter="$3"
  exit
fi
# The list checks need every installed program; the uninstall road removes some, so it runs last.
status=0
"$WINE" "$driver" --gtest_filter='ProgramListE2E.*:GuiResourcesE2E.*' || status=1
"$WINE" "$driver" --gtest_filter='ProgramOperationsE2E.*' || status=1
"$WINE" "$driver" --gtest_filter='UninstallRoadE2E.*' || status=1
exit $status
