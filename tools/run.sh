#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine: on the user's display if there is
# one, otherwise on a virtual display, leaving a screenshot of the window in the build folder.
set -uo pipefail
source "$(dirname "$0")/build.sh" || exit 1
kestrune_build win64 || exit 1

had_display=${DISPLAY:-}
source "$root/tools/wine-environment.sh" "$build/win64"
program="$build/win64/kestrune.exe"
if [ -n "$had_display" ]; then
  LC_ALL=zh_CN.UTF-8 wine "$program"
  wine_environment_stop
  exit 0
fi

LC_ALL=zh_CN.UTF-8 wine "$program" &
program_pid=$!
window=
for _ in $(seq 150); do
  window=$(xdotool search --name '^Kestrune' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.2
done
sleep 1
screenshot="$build/kestrune-screenshot.png"
import -window root "$screenshot"
if [ -n "$window" ]; then
  echo "Kestrune is running on the virtual display $DISPLAY; screenshot: $screenshot"
  # Esc ends the program, as it does for a user.
  xdotool key --window "$window" Escape 2>/dev/null || true
else
  echo "Kestrune's window did not appear; screenshot of the display: $screenshot"
fi
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill "$program_pid" 2>/dev/null || true
wine_environment_stop
