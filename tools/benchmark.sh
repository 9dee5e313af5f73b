#!/usr/bin/env bash
# Builds a Release native tree and the Windows x86_64 tree, then runs every benchmark in bench/:
# the native ones (Google Benchmark) directly, the Windows ones under Wine on a virtual display.
# Arguments are passed to the native benchmarks (for instance --benchmark_filter=REGEX).
set -uo pipefail
source "$(dirname "$0")/build.sh" || exit 1

echo "== Building (native Release, Windows x86_64)"
kestrune_build native-release -DCMAKE_BUILD_TYPE=Release || exit 1
kestrune_build win64 || exit 1

status=0
for source in "$root"/bench/*_benchmark.cpp; do
  name=$(basename "$source" .cpp)
  [[ $name == *_wine_benchmark ]] && continue
  echo "== $name (native)"
  "$build/native-release/$name" "$@" || status=1
done

wine_benchmarks=("$root"/bench/*_wine_benchmark.cpp)
if [ -e "${wine_benchmarks[0]}" ]; then
  source "$root/tools/wine-environment.sh" "$build/win64" virtual
  for source in "${wine_benchmarks[@]}"; do
    name=$(basename "$source" .cpp)
    echo "== $name (Windows x86_64 under Wine)"
    (cd "$build/win64" && wine "./$name.exe") || status=1
  done
  wine_environment_stop
fi
exit $status
