#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless: the full build
# (with the web-engine module, warnings as errors), then the build without it under
# AddressSanitizer (leak detection on) and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
export QTWEBENGINE_DISABLE_SANDBOX=1

BUILD_DIR="$here/build" bash "$here/scripts/build.sh" -DQUILLET_WERROR=ON
(cd "$here/build" && ctest --output-on-failure -j2 --timeout 600)

if [ "${QUILLET_SKIP_SANITIZE:-0}" != 1 ]; then
  BUILD_DIR="$here/build-asan" BUILD_TYPE=Debug bash "$here/scripts/build.sh" \
    -DQUILLET_SANITIZE=ON -DQUILLET_WEBENGINE=OFF -DQUILLET_WERROR=ON
  # Leaks count too: full stacks (Qt has no frame pointers) so that the few suppressions,
  # all inside libraries below us, match exactly.
  export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:abort_on_error=1
  export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd "$here/build-asan" && ctest --output-on-failure -j2 --timeout 900)
fi
