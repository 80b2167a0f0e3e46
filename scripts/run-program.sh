#!/usr/bin/env bash
# make run: starts the Windows program in build/run, a working folder that
# holds the shipped opening book. On Windows it runs directly; elsewhere
# under wine, on the desktop when there is one, and otherwise on a virtual
# display where it plays e2-e4, waits for the engine's reply and saves a
# screenshot, so that a server shows it working too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$root/build/windows/src/ui/zarvi.exe
folder=$root/build/run
mkdir -p "$folder"

if [ -f "$root/data/librito.txt" ]; then
  cp "$root/data/librito.txt" "$folder/librito.txt"
else
  echo "run: data/librito.txt is missing; the engine plays without its book"
fi

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    cd "$folder"
    exec "$exe"
    ;;
esac

command -v wine >/dev/null || bash "$root/scripts/install-deps.sh"
bash "$root/scripts/wine-prefix.sh"
if [ -n "${DISPLAY:-}" ]; then
  cd "$folder"
  WINEDEBUG=-all exec wine "$exe"
fi
echo "run: no display; playing e2-e4 on a virtual one"
exec python3 "$root/scripts/desktop_driver.py" "$exe" "$folder" --screenshot "$folder/zarvi-e2e4.png"
