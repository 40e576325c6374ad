#!/usr/bin/env bash
# Builds Quillet in release mode into BUILD_DIR (default: build-package) and packs it as
# a Debian package there (quillet_<version>_<arch>.deb). Extra arguments go to cmake.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build-package}

bash "$here/scripts/install-deps.sh"
desktop-file-validate "$here"/packaging/*.desktop
appstreamcli validate --no-net "$here"/packaging/*.metainfo.xml

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUILLET_TESTS=OFF -DQUILLET_BENCH=OFF -DQUILLET_FUZZ=OFF -DQUILLET_SANITIZE=OFF "$@"
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/quillet_*.deb
(cd "$build" && cpack -G DEB)
# The browser panel loads its web engine from beside the executable: a package built with
# it must carry the module there.
if grep -q '^QUILLET_WEBENGINE:BOOL=ON$' "$build/CMakeCache.txt" &&
    ! dpkg-deb -c "$build"/quillet_*.deb | grep -q '/lib/quillet/quillet_webengine\.so$'; then
  echo "the package lacks lib/quillet/quillet_webengine.so" >&2
  exit 1
fi
ls "$build"/quillet_*.deb
