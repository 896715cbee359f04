#!/usr/bin/env bash
# GUI smoke test: the real Velmora.exe under Wine on a private X display. The three
# generate buttons are clicked (a joke count is typed first), each "Готово!" box is
# closed, and the three files must equal what velmora-cli.exe writes for the same
# week from the same program folder. A screenshot is kept at build/windows/gui_smoke.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build/windows"
source scripts/wine_env.sh

if [ ! -f "$build/app/win32/Velmora.exe" ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows
fi
wine_setup "$build"

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

prog="$work/prog"
mkdir -p "$prog" "$work/cli"
cp "$build/app/win32/Velmora.exe" "$build/cli/velmora-cli.exe" "$prog/"
driver="$build/GuiDriver.exe"
title="Velmora 1.0.3"

# A free display chosen by the server itself.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

fail() { echo "gui smoke: $*" >&2; exit 1; }
box() {  # expects a message box with the given text and closes it
  local text
  text=$(timeout 120 wine "$driver" box 110 | tr -d '\r')
  [ "$text" = "$1" ] || fail "expected box '$1', got '$text'"
}

wine "$prog/Velmora.exe" >/dev/null 2>&1 &
timeout 60 wine "$driver" wait "$title" 50 || fail "the window did not appear"
wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
[ -n "$wid" ] || fail "no X window for the main window"
sleep 1

wine "$driver" click "$title" "Народные приметы"
box "Готово!"
wine "$driver" click "$title" "Гороскоп и астропрогноз"
box "Готово!"

# Type the joke count into its field: click it, clear it, type 7.
read -r cx cy < <(wine "$driver" rect "$title" 107 | tr -d '\r')
xdotool mousemove "$cx" "$cy" click 1
xdotool key --delay 50 End BackSpace BackSpace BackSpace
xdotool key --delay 80 7
sleep 0.5
count=$(wine "$driver" text "$title" 107 | tr -d '\r')
[ "$count" = "7" ] || fail "the joke count field shows '$count'"
wine "$driver" click "$title" "Анекдоты"
box "Готово!"
sleep 1
status=$(wine "$driver" text "$title" 110 | tr -d '\r')
case "$status" in
  Готово.*) ;;
  *) fail "unexpected status: $status" ;;
esac
import -window root "$build/gui_smoke.png"
wine "$driver" close "$title"
sleep 1

# The same week from the same program folder, through the CLI.
wine "$prog/velmora-cli.exe" all --count 7 --out "Z:$work/cli" >/dev/null
for f in "$prog"/generated/*.txt; do
  name=$(basename "$f")
  cmp "$f" "$work/cli/generated/$name" || fail "$name differs from the CLI's"
  echo "same bytes: $name"
done
[ "$(ls "$prog/generated" | wc -l)" -eq 3 ] || fail "expected three files, found: $(ls "$prog/generated")"
echo "gui smoke: passed; screenshot at build/windows/gui_smoke.png"
