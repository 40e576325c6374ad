#!/usr/bin/env bash
# Installs the pinned npm packages of tests/support/tokens (Style Dictionary and the
# Node.js it needs) into DEST, for tst_kittokens. Without npm it says so and leaves DEST
# alone: that test then skips. Reinstalls only when the lock file changes.
# usage: install-npm.sh DEST
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source_dir="$here/tests/support/tokens"
dest=${1:?usage: install-npm.sh DEST}
if ! command -v npm >/dev/null 2>&1; then
  echo "install-npm.sh: npm is missing; scripts/install-deps.sh installs it" >&2
  exit 0
fi
mkdir -p "$dest"
cp "$source_dir/package.json" "$source_dir/package-lock.json" "$source_dir/build.mjs" "$dest/"
want=$(sha1sum "$source_dir/package-lock.json" | cut -c1-40)
stamp="$dest/node_modules/.quillet-stamp"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  exit 0
fi
# The lock pins every version and hash; the engines warning is about the npm's own Node.js,
# which only installs here: the pinned Node.js runs the build.
(cd "$dest" && npm ci --no-audit --no-fund --loglevel=error)
echo "$want" >"$stamp"
