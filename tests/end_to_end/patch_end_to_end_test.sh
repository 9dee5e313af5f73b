#!/usr/bin/env bash
# The real program under Wine, driven from outside with the keyboard and mouse as a user would: it
# starts centred and skinned, shows typed text and hot images, patches a file through the real save
# dialog and message box, and ends on Esc. Needs DISPLAY and WINEPREFIX (tools/test.sh sets them).
# Usage: patch_end_to_end_test.sh PROGRAM.exe OUTPUT_FOLDER
set -uo pipefail
program=$1
output=$2
mkdir -p "$output"
work=$(mktemp -d /tmp/kestrune-end-to-end.XXXXXX)
failures=0
program_pid=

# ImageMagick's own convert (a stand-in of that name may come first on the PATH).
convert=$(command -v /usr/bin/convert || command -v convert)

fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
finish() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  rm -rf "$work"
  if [ "$failures" -eq 0 ]; then echo "end to end: all checks passed"; exit 0; fi
  echo "end to end: $failures check(s) failed; screenshots in $output"; exit 1
}
trap finish EXIT

# Waits (up to $2 seconds) until the command in $1 succeeds.
wait_until() {
  local deadline=$((SECONDS + $2))
  until eval "$1" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}

# The visible window whose title is one of the given names (xdotool cannot search CJK titles).
window_titled() {
  local window name wanted
  for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    name=$(xdotool getwindowname "$window" 2>/dev/null) || continue
    for wanted in "$@"; do [ "$name" = "$wanted" ] && { echo "$window"; return 0; }; done
  done
  return 1
}

screenshot() { import -window root "$output/$1.png"; }
# Takes screenshot $1 until the rectangle (x y w h) differs from screenshot $2 in more than $7
# pixels, for up to 15 seconds: the window shows a change only once its compositions have caught up.
screenshot_until_changed() {
  local deadline=$((SECONDS + 15))
  while :; do
    screenshot "$1"
    [ "$(changed_pixels "$2" "$3" "$4" "$5" "$6" "$1")" -gt "$7" ] && return 0
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.3
  done
}
# The colour of one pixel of a screenshot as "red,green,blue".
pixel() {
  "$convert" "$output/$1.png" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}
# How many pixels of a rectangle (x y w h) differ between two screenshots.
changed_pixels() {
  "$convert" "$output/$1.png" -crop "$4x$5+$2+$3" +repage "$work/first-crop.png"
  "$convert" "$output/$6.png" -crop "$4x$5+$2+$3" +repage "$work/second-crop.png"
  compare -metric AE "$work/first-crop.png" "$work/second-crop.png" null: 2>&1 | cut -d' ' -f1
}

printf 'Hello ABC World' >"$work/source.bin"
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }

LC_ALL=zh_CN.UTF-8 wine "$program" >/dev/null 2>&1 &
program_pid=$!
main=
wait_until 'main=$(window_titled "Kestrune [Beta0.0.1]")' 30 || { fail "the main window did not appear"; exit; }
main=$(window_titled "Kestrune [Beta0.0.1]")
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
left=$X top=$Y
screen_width=$(xdpyinfo | awk '/dimensions:/ {split($2, size, "x"); print size[1]}')
screen_height=$(xdpyinfo | awk '/dimensions:/ {split($2, size, "x"); print size[2]}')
[ "$left" -eq $(((screen_width - 560) / 2)) ] && [ "$top" -eq $(((screen_height - 416) / 2)) ] ||
  fail "window at ($left, $top), not centred on ${screen_width}x${screen_height}"

screenshot start
# The skinned surface: the root window's black shows through the transparent corner and margin,
# the text boxes are white inside their grey frames.
[ "$(pixel start $((left + 558)) $((top + 414)))" = "0,0,0" ] || fail "bottom-right corner is not transparent"
[ "$(pixel start $((left + 3)) $((top + 3)))" = "0,0,0" ] || fail "top-left margin is not transparent"
for box_top in 187 227 267; do
  [ "$(pixel start $((left + 300)) $((top + box_top + 15)))" = "255,255,255" ] ||
    fail "text box at $box_top is not white"
done

# Type into the three boxes; each shows its text.
type_into_box() {  # box top, text
  xdotool mousemove $((left + 300)) $((top + $1 + 15)) click 1
  sleep 0.3
  xdotool type --delay 30 "$2"
}
type_into_box 187 "$(windows_path "$work/source.bin")"
type_into_box 227 "ABC"
type_into_box 267 "XY"
screenshot_until_changed typed start $((left + 203)) $((top + 229)) 60 26 20 || fail "typed pattern is not shown"
screenshot_until_changed typed start $((left + 203)) $((top + 269)) 60 26 20 || fail "typed replacement is not shown"

# Hover shows the hot images.
xdotool mousemove $((left + 488)) $((top + 50))
screenshot_until_changed close-hot typed $((left + 460)) $((top + 35)) 57 31 100 || fail "close button shows no hot image"
xdotool mousemove $((left + 360)) $((top + 320))
screenshot_until_changed modify-hot typed $((left + 298)) $((top + 296)) 130 50 100 || fail "modify button shows no hot image"

# Patch: the save dialog twice, then the confirmation.
xdotool click 1
save_titles=("另存为" "Save As")
dialog=
wait_until 'dialog=$(window_titled "${save_titles[@]}")' 30 || { fail "the save dialog did not appear"; exit; }
dialog=$(window_titled "${save_titles[@]}")
sleep 0.5
# Typed without an extension: the dialog adds the default one, with a single dot.
xdotool windowfocus "$dialog"
xdotool key End shift+Home
xdotool type --delay 20 "$(windows_path "$work/patched")"
xdotool key Return
wait_until '! xdotool getwindowname "$dialog"' 15 || fail "the first save dialog did not close"
wait_until 'second=$(window_titled "${save_titles[@]}")' 30 || { fail "the second save dialog did not appear"; exit; }
second=$(window_titled "${save_titles[@]}")
sleep 0.5
xdotool windowfocus "$second"
xdotool key Return
wait_until '! xdotool getwindowname "$second"' 15 || fail "the second save dialog did not close"
message=
wait_until 'message=$(window_titled "信息：")' 30 || { fail "no message box"; exit; }
message=$(window_titled "信息：")
screenshot message
sleep 0.3
xdotool windowfocus "$message"
xdotool key Return
wait_until '! xdotool getwindowname "$message"' 15 || fail "the message box did not close"

if [ -f "$work/patched.exe" ]; then
  [ "$(cat "$work/patched.exe")" = "Hello XY World" ] || fail "patched.exe holds '$(cat "$work/patched.exe")'"
else
  fail "no patched.exe; the folder holds: $(ls "$work")"
fi
[ "$(cat "$work/source.bin")" = "Hello ABC World" ] || fail "the source file was changed"

# Esc in a text box ends the program.
xdotool mousemove $((left + 300)) $((top + 242)) click 1
sleep 0.3
xdotool key Escape
wait_until '! kill -0 $program_pid' 15 || fail "Esc did not end the program"
wait "$program_pid" 2>/dev/null; status=$?
[ "$status" -eq 0 ] || fail "the program ended with code $status"
program_pid=
