# Shared settings of the project's scripts (sourced, not run).
# VOSTREL_ROOT: the source tree; VOSTREL_BUILD_ROOT: where build trees live;
# WINEPREFIX: the project's WoW64 prefix (made by scripts/setup).
VOSTREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VOSTREL_BUILD_ROOT=${VOSTREL_BUILD_ROOT:-$VOSTREL_ROOT/build}
export WINEPREFIX=${VOSTREL_WINEPREFIX:-$VOSTREL_ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko download prompts; no crash dialog (a crash must end the run,
# not wait for a click); no menu entries written into the host.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d"

# Starts Xvfb on a free display and exports DISPLAY; sets XVFB_PID.
start_xvfb() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n; read -r -t 30 n <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$n"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; XVFB_PID=; fi
  return 0
}

# Runs wine's tools with the Chinese ANSI code page (936) inside Wine.
wine_env() { LC_ALL=zh_CN.UTF-8 "$@"; }

# Debian's /usr/bin/wine always starts the 32-bit loader (slow under qemu
# here), so each side's loader is called directly.
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
