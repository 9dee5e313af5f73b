# Sourced by the run and test scripts: a private Wine prefix, a virtual display when asked, a resident wineserver.
# Usage: source tools/wine-environment.sh BUILD_DIR [virtual]; wine_environment_stop at the end.

wine_environment_build_dir=$(realpath "$1")
export WINEPREFIX="$wine_environment_build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_environment_xvfb_pid=

wine_environment_start_display() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  wine_environment_xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$display_file")"
  rm -f "$display_file"
}

if [ "${2:-}" = virtual ] || [ -z "${DISPLAY:-}" ]; then
  wine_environment_start_display
fi

if [ ! -f "$WINEPREFIX/.kestrune-ready" ]; then
  echo "Preparing the Wine prefix in $WINEPREFIX (once)..."
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  # GDI+ finds the text boxes' face only through a replacement by an installed CJK font.
  replacements="$wine_environment_build_dir/font-replacements.reg"
  printf '%s\r\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"SimSun"="WenQuanYi Micro Hei"' > "$replacements"
  printf '"\xcb\xce\xcc\xe5"="WenQuanYi Micro Hei"\r\n' >> "$replacements"
  LC_ALL=zh_CN.UTF-8 wine regedit /S "$replacements" >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.kestrune-ready"
fi
wineserver -p >/dev/null 2>&1 || true
# Start Wine's own services now, detached from every pipe: a service started by a test process
# would inherit that test's output pipe and keep its reader waiting after the test has ended.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

wine_environment_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$wine_environment_xvfb_pid" ] && kill "$wine_environment_xvfb_pid" 2>/dev/null || true
}
