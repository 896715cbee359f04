#!/usr/bin/env bash
# GUI smoke test: the real Velmora.exe under Wine on a private X display. The three
# generate buttons are clicked (a joke count is typed first), each "Готово!" box is
# read (caption and text) and closed, and the three files must equal what
# velmora-cli.exe writes for the same week from the same program folder. Then the
# keyboard: the focus at start and after a command, Tab and Shift+Tab out of the file
# view, Esc in it (the window stays), the default-button frame following the focus
# and Enter in the folder field. Both programs must carry the icon in all sizes and the
# project's version in their version resources (and Velmora.exe in its manifest).
# Then the update check end to end: a build whose product page is a local HTTPS server
# (its test CA trusted in the prefix) opens the update dialog by itself with
# "Automatic" on, hands exactly the manifest's download URL to the shell on "Скачать",
# reports the current version on a manual check, and closes within the time-outs
# during a check that hangs.
# Kept in build/windows: gui_smoke.png (the screen), gui_window_96.png (the window
# after the three commands, the README's picture), gui_window_144.png (the same
# window at 144 DPI) and gui_update_dialog.png (the update dialog).
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
server_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$server_pid" ] && kill "$server_pid" >/dev/null 2>&1 || true
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
version=$(scripts/version.sh)
title="Velmora $version"

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
id_date=101 id_output=103 id_browse=104 id_generate=105 id_count=107 id_folk=109 id_status=110
id_check=115 id_checkbox=116 id_memo=117
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
start_window() {  # the program to start, by default the one in the editor's folder
  wine "${1:-$prog/Velmora.exe}" >/dev/null 2>&1 &
  window_pid=$!
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

# No update settings from an earlier run: no automatic check in the first part.
settings=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\Tarnwick\\Velmora")
rm -f "$settings/updates.ini"

for exe in "$prog/Velmora.exe" "$prog/velmora-cli.exe"; do
  sizes=$(wine "$driver" icons "$exe" | tr -d '\r')
  [ "$sizes" = "16 20 24 32 40 48 64 256" ] || fail "$(basename "$exe"): first icon group has '$sizes'"
  # The version resource carries the project's version.
  versions=$(wine "$driver" version "$exe" | tr -d '\r' | paste -sd' ')
  [ "$versions" = "$version.0 $version.0 $version $version" ] || fail "$(basename "$exe"): versions '$versions'"
done
manifest=$(wine "$driver" manifest "$prog/Velmora.exe")
grep -qF "name=\"Velmora\" version=\"$version.0\"" <<<"$manifest" || fail "Velmora.exe: no version $version.0 in its manifest"

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
status=$(wine "$driver" text "$title" $id_status | tr -d '\r')
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

# ---- The update check end to end.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
page="https://localhost:$port/velmora/"
update_build="$root/build/windows-update"
cmake --preset windows -B "$update_build" -DVELMORA_PRODUCT_PAGE_URL="$page" >"$work/update_build.log"
cmake --build "$update_build" -j2 --target Velmora >>"$work/update_build.log" 2>&1 ||
  { tail -n 30 "$work/update_build.log"; fail "the update test build failed"; }
python3 "$root/testing/manifest_server.py" --tls --port "$port" >"$work/server.txt" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/server.txt" ] && break; sleep 0.1; done
read -r _ ca <"$work/server.txt"
[ -f "$ca" ] || fail "the HTTPS test server did not start"
wine "$build/TrustTestCa.exe" "Z:$ca" || fail "the test CA could not be trusted"
serve_as() {  # the product page's manifest answers as the scripted case from now on
  python3 -c 'import ssl, sys, urllib.request as r
context = ssl.create_default_context(cafile=sys.argv[1])
assert r.urlopen("https://localhost:%s/_as/velmora/%s" % (sys.argv[2], sys.argv[3]), context=context).read() == b"ok"' \
    "$ca" "$port" "$1"
}
# The shell's "open" of an https URL appends it to a file instead of starting a browser.
urls="$work/urls.txt"
wine reg add 'HKCR\https\shell\open\command' /ve /d "cmd.exe /c echo %1>>$(winepath -w "$urls")" /f >/dev/null 2>&1

# "Automatic" on and never tried: the dialog opens by itself.
serve_as valid
mkdir -p "$settings"
printf '[Updates]\r\nAutomatic=1\r\nLastAttemptUTC=0\r\n' >"$settings/updates.ini"
start_window "$update_build/app/win32/Velmora.exe"
dialog="Обновление Velmora"
timeout 60 wine "$driver" wait "$dialog" 30 || fail "the update dialog did not open by itself"
dialog_wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^$dialog\$" | head -n 1)
sleep 1
import -window "$dialog_wid" "$build/gui_update_dialog.png"
texts=$(wine "$driver" texts "$dialog" | tr -d '\r')
for line in "Доступна версия 1.0.4" "Скачать" "Позже"; do
  grep -qxF "$line" <<<"$texts" || fail "the update dialog lacks '$line': $texts"
done
grep -qF "Исправлены ошибки и ускорен запуск." <<<"$texts" || fail "the update dialog lacks the description: $texts"
wine "$driver" click "$dialog" "Скачать"
for _ in $(seq 100); do [ -s "$urls" ] && break; sleep 0.2; done
opened=$(tr -d '\r' <"$urls" 2>/dev/null || true)
[ "$opened" = "${page}Velmora-1.0.4.exe" ] || fail "the shell was handed '$opened'"
echo "update dialog: opened by itself, handed ${page}Velmora-1.0.4.exe to the shell"

# A manual check against a manifest of the current version.
serve_as current
wine "$driver" click "$title" "Проверить обновления"
box "Информация" "У вас актуальная версия приложения: $version."

# Closing the window while a check hangs: the program ends within the time-outs, silently.
serve_as hang
wine "$driver" click "$title" "Проверить обновления"
sleep 1
[ "$(wine "$driver" text "$title" $id_check | tr -d '\r')" = "Проверка..." ] || fail "no check is running"
started=$(date +%s)
wine "$driver" close "$title"
for _ in $(seq 80); do kill -0 "$window_pid" 2>/dev/null || break; sleep 0.25; done
kill -0 "$window_pid" 2>/dev/null && fail "the program still runs 20 s after closing during a hung check"
echo "closing during a hung check took $(($(date +%s) - started)) s"
rm -f "$settings/updates.ini"
echo "gui smoke: passed; screenshots in build/windows: gui_smoke.png, gui_window_96.png, gui_window_144.png," \
  "gui_update_dialog.png"
