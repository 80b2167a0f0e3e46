#!/usr/bin/env bash
# Creates the wine prefix once, so that the first test under wine does not
# pay for (or time out on) wine's own first start.
set -euo pipefail
export WINEDEBUG=-all
prefix="${WINEPREFIX:-$HOME/.wine}"
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine-prefix: creating $prefix"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
