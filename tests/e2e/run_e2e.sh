#!/usr/bin/env bash
# One end-to-end run: a fresh prefix seeded with the fixture and real installers, Orvalinde.exe
# beside its own settings, and the driver that reads its window.
# Usage: run_e2e.sh BUILD_DIR DRIVER_EXE [GTEST_FILTER]  (a filter runs only those tests)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
build=$(realpath "$1")
driver=$(realpath "$2")
work="$build/e2e"
chattr -i "$work/prefix/drive_c/OrvReadOnly" 2>/dev/null || true  # left by a run that was killed
rm -rf "$work"
mkdir -p "$work"
orv_display
readonly_dir=
cleanup() {
  [ -n "$readonly_dir" ] && chattr -i "$readonly_dir" 2>/dev/null
  orv_prefix_stop
  orv_display_stop
}
trap cleanup EXIT
orv_prefix "$work/prefix"
orv_unmanaged_windows
orv_seed "$work/seed"
mkdir -p "$WINEPREFIX/drive_c/OrvE2E"
cp "$build/Orvalinde.exe" "$WINEPREFIX/drive_c/OrvE2E/"
# A folder nothing can be created in, not even by root: the exe must keep its files elsewhere.
readonly_dir="$WINEPREFIX/drive_c/OrvReadOnly"
mkdir -p "$readonly_dir"
cp "$build/Orvalinde.exe" "$readonly_dir/"
chattr +i "$readonly_dir" 2>/dev/null || orv_log "chattr +i is not available: the read-only folder test skips"
export ORV_E2E_EXE='C:\OrvE2E\Orvalinde.exe'
export ORV_E2E_MARKER="$(winepath_w "$build/planted_marker.exe")"
export ORV_E2E_FIXTURES="$(winepath_w "$ORV_ROOT/tests/fixtures")"
if [ -n "${3:-}" ]; then
  "$WINE" "$driver" --gtest_filter="$3"
  exit
fi
# The list checks need every installed program; the uninstall road removes some, so it runs last.
status=0
"$WINE" "$driver" --gtest_filter='ProgramListE2E.*:GuiResourcesE2E.*:GuiResourcesMarksE2E.*:AnnotationsE2E.*:AnnotationsReadOnlyFolderE2E.*:MainWindowE2E.*' || status=1
"$WINE" "$driver" --gtest_filter='PropertyWindowE2E.*:EntryEditE2E.*' || status=1
"$WINE" "$driver" --gtest_filter='ListCommandsE2E.*' || status=1
"$WINE" "$driver" --gtest_filter='ProgramOperationsE2E.*' || status=1
"$WINE" "$driver" --gtest_filter='HostileRegistryE2E.*' || status=1
"$WINE" "$driver" --gtest_filter='UninstallRoadE2E.*' || status=1
exit $status
