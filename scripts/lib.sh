# Shared by the scripts: packages, the Wine prefix, the display and the demo programs.
# Source it; every function works on absolute paths.

ORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

orv_log() { printf '[orvalinde] %s\n' "$*" >&2; }

# Installs what the build and the tests need, only when something is missing.
orv_setup() {
  local missing=()
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-tools)
  [ -x "$WINE" ] || missing+=(wine64)
  command -v Xvfb >/dev/null || missing+=(xvfb xauth)
  command -v xdotool >/dev/null || missing+=(xdotool)
  fc-list 2>/dev/null | grep -qi 'Noto Sans CJK' || missing+=(fonts-noto-cjk)
  command -v import >/dev/null || missing+=(imagemagick)
  command -v locale-gen >/dev/null || missing+=(locales)
  command -v makensis >/dev/null || missing+=(nsis)
  command -v wixl >/dev/null || missing+=(wixl)
  command -v cmake >/dev/null || missing+=(cmake)
  command -v ninja >/dev/null || missing+=(ninja-build)
  command -v g++ >/dev/null || missing+=(g++)
  [ -d /usr/src/googletest ] || missing+=(googletest)
  [ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
  if [ ${#missing[@]} -gt 0 ]; then
    orv_log "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Japanese text on the Unix side (arguments, file names) needs the generated locale.
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    orv_log "generating the ja_JP.UTF-8 locale"
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

orv_build() {
  local preset
  for preset in "$@"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
  done
}

# Exports the environment of a prefix: Japanese code page, no debug noise, no Mono or Gecko.
orv_wine_env() {
  export WINEPREFIX
  WINEPREFIX=$(realpath -m "$1")
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL=ja_JP.UTF-8
}

# Creates the prefix when it does not exist, and keeps its server running for the session.
orv_prefix() {
  orv_wine_env "$1"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    orv_log "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1
    "$WINESERVER" -w
  fi
  "$WINESERVER" -p >/dev/null 2>&1
  # One idle Wine process keeps the prefix's system services up. Without it every test
  # process restarts them, and they inherit its output pipe: ctest would wait for them.
  ( tail -f /dev/null | "$WINE" cmd.exe >/dev/null 2>&1 ) &
  ORV_KEEPER_PID=$!
  "$WINE" cmd.exe /c exit >/dev/null 2>&1
}

# The virtual display has no window manager, for which Wine waits up to 2 s each time a managed
# window (every dialog and message box) closes: in the test prefixes windows are unmanaged and
# close at once. Not for the demo, which a real display with a window manager may show.
orv_unmanaged_windows() {
  "$WINE" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
}

ORV_KEEPER_PID=
orv_prefix_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k >/dev/null 2>&1 || true; fi
  if [ -n "$ORV_KEEPER_PID" ]; then
    pkill -P "$ORV_KEEPER_PID" >/dev/null 2>&1 || true
    kill "$ORV_KEEPER_PID" >/dev/null 2>&1 || true
    ORV_KEEPER_PID=
  fi
}

# Starts Xvfb on a free display unless one is set; the caller stops it with orv_display_stop.
ORV_XVFB_PID=
orv_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    ORV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  done
  orv_log "could not start Xvfb"
  return 1
}

orv_display_stop() { [ -n "$ORV_XVFB_PID" ] && kill "$ORV_XVFB_PID" 2>/dev/null; ORV_XVFB_PID=; }

# Builds the sample NSIS program and MSI product into a folder.
orv_build_installers() {
  local out=$1 src="$ORV_ROOT/tests/fixtures/installers"
  mkdir -p "$out"
  makensis -V1 -DOUTFILE="$out/nsis_demo.exe" -DREADME="$src/readme.txt" "$src/nsis_demo.nsi" >/dev/null
  (cd "$src" && wixl -a x64 -o "$out/msi_demo.msi" msi_demo.wxs)
}

# Seeds the current prefix: the .reg fixture, then the real NSIS program and MSI product.
orv_seed() {
  local work=$1
  mkdir -p "$work"
  iconv -f UTF-8 -t UTF-16 "$ORV_ROOT/tests/fixtures/demo.reg" > "$work/demo16.reg"
  "$WINE" reg import "$(winepath_w "$work/demo16.reg")" >/dev/null 2>&1
  orv_build_installers "$work"
  "$WINE" "$work/nsis_demo.exe" /S
  "$WINE" msiexec /i "$(winepath_w "$work/msi_demo.msi")" /qn
}

# A Unix path as Wine sees it through drive Z:.
winepath_w() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }
