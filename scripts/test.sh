#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless: the full build
# (with the web-engine module, warnings as errors), then the build without it under
# AddressSanitizer (leak detection on) and UndefinedBehaviorSanitizer. Prints each suite's
# time (CTest does), the slowest suites of each build against their limits, and where the
# time of the whole command went.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export QTWEBENGINE_DISABLE_SANDBOX=1

phases=()
phase_start=$(date +%s)
command_start=$phase_start
# Closes the phase that is running under the name given, for the summary at the end.
phase() {
  local now
  now=$(date +%s)
  phases+=("$(printf '%-22s %5d s' "$1" $((now - phase_start)))")
  phase_start=$now
}

bash "$here/scripts/install-deps.sh"
phase "packages"

# Both builds compile each layer's sources in batches: on two cores that is minutes saved.
BUILD_DIR="$here/build" bash "$here/scripts/build.sh" -DQUILLET_WERROR=ON -DQUILLET_UNITY_BUILD=ON
phase "full build"
(cd "$here/build" && ctest --output-on-failure -j2 --timeout 600 --output-junit ctest-junit.xml)
phase "full suites"
DEFAULT_TIMEOUT=600 bash "$here/scripts/suite-times.sh" "$here/build" 5 || true

if [ "${QUILLET_SKIP_SANITIZE:-0}" != 1 ]; then
  # -O1: the sanitizers' own advice, several times faster than -O0 with every check kept;
  # Debug keeps Qt's assertions on. Benchmarks and the web-engine module are not built.
  BUILD_DIR="$here/build-asan" BUILD_TYPE=Debug bash "$here/scripts/build.sh" \
    -DQUILLET_SANITIZE=ON -DQUILLET_WEBENGINE=OFF -DQUILLET_WERROR=ON -DQUILLET_BENCH=OFF \
    -DQUILLET_UNITY_BUILD=ON "-DCMAKE_CXX_FLAGS_DEBUG=-g1 -O1" "-DCMAKE_C_FLAGS_DEBUG=-g1 -O1"
  phase "sanitizer build"
  # Leaks count too. The fast unwinder: both suppressions (tests/lsan.supp) name the
  # frame that calls malloc, which it always records; the slow one, for whole stacks
  # through Qt, made every allocation some three times dearer, and scripts/leakcheck.sh
  # keeps it for reading a leak's full story.
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd "$here/build-asan" && ctest --output-on-failure -j2 --timeout 900 --output-junit ctest-junit.xml)
  phase "sanitizer suites"
  DEFAULT_TIMEOUT=900 bash "$here/scripts/suite-times.sh" "$here/build-asan" 5 || true
fi

echo "test command: every suite passed; $(($(date +%s) - command_start)) s in all:"
printf '  %s\n' "${phases[@]}"
