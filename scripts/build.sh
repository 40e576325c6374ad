#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build). Extra arguments go to cmake.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
# A compiler cache, where the machine has one, makes rebuilds of the same sources cheap.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  # Paths inside the project count relative to the build folder, so clones share hits.
  export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
  # The suites' precompiled header: cached like any object (its bytes differ from one
  # compile to the next, so a fresh one would make every suite a miss).
  export CCACHE_SLOPPINESS=pch_defines,time_macros
fi
# Line tables only: backtraces and the sanitizers still name file and line, and full debug
# information was a quarter of every compile.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "${launcher[@]}" \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "$@"
cmake --build "$build" -j"$(nproc)"
