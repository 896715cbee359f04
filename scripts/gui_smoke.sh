#!/usr/bin/env bash
# GUI smoke test: the real Velmora.exe under Wine on a private X display. The three
# generate buttons are clicked (a joke count is typed first), each "Готово!" box is
# read (caption and text) and closed, and the three files must equal what
# velmora-cli.exe writes for the same week from the same program folder. Then the
# keyboard: the focus at start and after a command, Tab and Shift+Tab out of the file
# view, Esc in it (the window stays), the default-button frame following the focus
# and Enter in the folder field. Both programs must carry the icon in all sizes.
# Kept in build/windows: gui_smoke.png (the screen), gui_window_96.png (the window
# after the three commands, the README's picture) and gui_window_144.png (the same
# window at 144 DPI).
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

# A folder an editor might use, so the window's picture shows a plausible path.
prog="$WINEPREFIX/drive_c/Редакция/Velmora"
rm -rf "$prog"
mkdir -p "$prog" "$work/cli"
cp "$build/app/win32/Velmora.exe" "$build/cli/velmora-cli.exe" "$prog/"
driver="$build/GuiDriver.exe"
title="Velmora 1.0.3"

# A free display chosen by the server itself.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

fail() { echo "gui smoke: $*" >&2; exit 1; }
box() {  # expects a message box with the given caption and text and closes it
  local out
  out=$(timeout 120 wine "$driver" box 110 | tr -d '\r') || fail "waiting for the box '$2' failed"
  [ "$out" = "$1"$'\n'"$2" ] || fail "expected box '$1: $2', got '$out'"
}
# Control ids: 100 + the control's place in the window's list of controls.
id_date=101 id_output=103 id_browse=104 id_generate=105 id_count=107 id_jokes=108 id_folk=109
id_checkbox=116 id_memo=117
expect_focus() {  # id, what
  local got
  got=$(wine "$driver" focus "$title" | tr -d '\r')
  [ "$got" = "$1" ] || fail "$2: the focus is on control $got, expected $1"
}
expect_default() {
  local got
  got=$(wine "$driver" default "$title" | tr -d '\r')
  [ "$got" = "$1" ] || fail "$2: the default frame is on control $got, expected $1"
}
click_into() {  # a control by id, with the mouse
  local cx cy
  read -r cx cy < <(wine "$driver" rect "$title" "$1" | tr -d '\r')
  xdotool mousemove "$cx" "$cy" click 1
  sleep 0.3
}
start_window() {
  wine "$prog/Velmora.exe" >/dev/null 2>&1 &
  timeout 60 wine "$driver" wait "$title" 50 || fail "the window did not appear"
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
  [ -n "$wid" ] || fail "no X window for the main window"
  sleep 1
}
close_window() {
  wine "$driver" close "$title"
  for _ in $(seq 50); do wine "$driver" focus "$title" >/dev/null 2>&1 || return 0; sleep 0.2; done
  fail "the window did not close"
}

for exe in "$prog/Velmora.exe" "$prog/velmora-cli.exe"; do
  sizes=$(wine "$driver" icons "$exe" | tr -d '\r')
  [ "$sizes" = "16 20 24 32 40 48 64 256" ] || fail "$(basename "$exe"): first icon group has '$sizes'"
done

start_window
expect_focus $id_date "at start"
expect_default $id_generate "at start"

wine "$driver" click "$title" "Народные приметы"
box "Информация" "Готово!"
sleep 0.5
expect_focus $id_folk "after the folk command"
expect_default $id_folk "on the focused folk button"
wine "$driver" click "$title" "Гороскоп и астропрогноз"
box "Информация" "Готово!"

# Type the joke count into its field: click it, clear it, type 7.
click_into $id_count
expect_default $id_generate "with the focus in the count field"
xdotool key --delay 50 End BackSpace BackSpace BackSpace
xdotool key --delay 80 7
sleep 0.5
count=$(wine "$driver" text "$title" $id_count | tr -d '\r')
[ "$count" = "7" ] || fail "the joke count field shows '$count'"
wine "$driver" click "$title" "Анекдоты"
box "Информация" "Готово!"
sleep 1
status=$(wine "$driver" text "$title" 110 | tr -d '\r')
case "$status" in
  Готово.*) ;;
  *) fail "unexpected status: $status" ;;
esac
import -window root "$build/gui_smoke.png"
import -window "$wid" "$build/gui_window_96.png"

# Tab and Shift+Tab leave the file view; Tab puts no tab character into it.
click_into $id_memo
xdotool key --delay 50 ctrl+End
xdotool type --delay 50 "abc"
xdotool key Tab
sleep 0.3
expect_focus $id_date "Tab in the file view"
memo=$(wine "$driver" text "$title" $id_memo | tr -d '\r')
[ "${memo: -3}" = "abc" ] || fail "the file view does not end with what was typed: '${memo: -10}'"
click_into $id_memo
xdotool key shift+Tab
sleep 0.3
expect_focus $id_checkbox "Shift+Tab in the file view"
# Esc in the file view closes nothing and keeps what was typed.
click_into $id_memo
xdotool key Escape
sleep 1
wine "$driver" wait "$title" 1 || fail "Esc in the file view closed the window"
memo=$(wine "$driver" text "$title" $id_memo | tr -d '\r')
[ "${memo: -3}" = "abc" ] || fail "Esc changed the file view"
# The default frame follows the focused push button and comes back with the focus elsewhere.
click_into $id_output
xdotool key Tab
sleep 0.3
expect_focus $id_browse "Tab from the folder field"
expect_default $id_browse "on the focused browse button"
xdotool key Tab Tab
sleep 0.3
expect_focus $id_count "two more Tabs"
expect_default $id_generate "with the focus back in a field"
# Enter in the folder field runs the astro command.
click_into $id_output
xdotool key Return
box "Информация" "Готово!"
close_window

# The same window at 144 DPI, then the prefix back at 96.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wineserver -w
start_window
import -window "$wid" "$build/gui_window_144.png"
close_window
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
wineserver -w

# The same week from the same program folder, through the CLI.
wine "$prog/velmora-cli.exe" all --count 7 --out "Z:$work/cli" >/dev/null
for f in "$prog"/generated/*.txt; do
  name=$(basename "$f")
  cmp "$f" "$work/cli/generated/$name" || fail "$name differs from the CLI's"
  echo "same bytes: $name"
done
[ "$(ls "$prog/generated" | wc -l)" -eq 3 ] || fail "expected three files, found: $(ls "$prog/generated")"
echo "gui smoke: passed; screenshots in build/windows: gui_smoke.png, gui_window_96.png, gui_window_144.png"
