#!/usr/bin/env bash
# Creates the wine prefix once, so that the first test under wine does not
# pay for (or time out on) wine's own first start, and lets the window tests
# close their windows at once: without a window manager wine waits two
# seconds for each managed window to be withdrawn, so the test program's
# windows (and only its) are left unmanaged. Last, it gives a wine session
# of an earlier run a few seconds to end, since its desktop may be on a
# display that is gone.
set -euo pipefail
export WINEDEBUG=-all
prefix="${WINEPREFIX:-$HOME/.wine}"
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine-prefix: creating $prefix"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
key='Software\Wine\AppDefaults\ui_tests.exe\X11 Driver'
if ! grep -qF "[${key//\\/\\\\}]" "$prefix/user.reg" 2>/dev/null; then
  wine reg add "HKCU\\$key" /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w || true
fi
timeout 10 wineserver -w || true
