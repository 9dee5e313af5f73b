# Sourced by the run and test scripts: configures and builds one target (native, win64 or win32) in $build/<target>.
kestrune_build() {
  local target=$1; shift
  local directory="$build/$target" toolchain=()
  case $target in
    win64) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
    win32) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
  esac
  cmake -S "$root" -B "$directory" -G Ninja "${toolchain[@]}" "$@" >"$build/$target-configure.log" 2>&1 ||
    { cat "$build/$target-configure.log"; return 1; }
  cmake --build "$directory" --parallel "$(nproc)" 2>&1 | grep -v '^\[' ; return "${PIPESTATUS[0]}"
}
