# Sourced by the scripts that run Windows programs: a private Wine prefix inside the
# build folder, set up once, quiet, without crash dialogs.
# Usage: source scripts/wine_env.sh BUILD_DIR
wine_setup() {
  local build_dir="$1"
  export WINEPREFIX="$build_dir/wineprefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export LANG=C.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 0 /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d false /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.velmora-ready"
  fi
}
