# Sourced by the run, test and benchmark scripts: sets root and build (the build folder, KESTRUNE_BUILD_DIR
# or build/), installs what is missing, and defines kestrune_build, which configures and builds one target
# (native, native-release, win64 or win32) in $build/<target>.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KESTRUNE_BUILD_DIR:-$root/build}
mkdir -p "$build"
bash "$root/tools/install-dependencies.sh" || return 1

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
