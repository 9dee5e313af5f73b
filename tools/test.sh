#!/usr/bin/env bash
# Installs what is missing, builds every target, runs every test (native, then Windows under Wine) and sums up.
set -uo pipefail
source "$(dirname "$0")/build.sh" || exit 1

echo "== Building (native with sanitizers, Windows x86_64, Windows i686)"
kestrune_build native -DKESTRUNE_SANITIZE=ON || exit 1
kestrune_build win64 || exit 1
kestrune_build win32 || exit 1

passed=0 failed=0
run_ctest() {  # directory, label, extra ctest arguments
  local log="$build/$2-tests.log"
  echo "== $2 tests"
  ctest --test-dir "$1" --output-on-failure "${@:3}" 2>&1 | tee "$log" | grep -v -E '^ +(Start|[0-9]+/[0-9]+ Test)' 
  local summary total failures
  summary=$(grep -E 'tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$summary" ]; then echo "$2: no summary from ctest"; failed=$((failed + 1)); return; fi
  failures=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + total - failures)); failed=$((failed + failures))
}

echo "== The committed skin images are what their generator draws"
if /usr/bin/python3 "$root/tools/generate_assets.py" --check; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

run_ctest "$build/native" native --timeout 300

source "$root/tools/wine-environment.sh" "$build/win64" virtual
run_ctest "$build/win64" wine --timeout 300
wine_environment_stop

echo "Total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
