#!/usr/bin/env bash
# Writes skins.png, every shipped skin's samples in all states, and accents.png, four
# skins in six accent colours, into the folder given.
# Usage: scripts/contact-sheet.sh OUTPUT_FOLDER   (BUILD_DIR picks the build folder)
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 OUTPUT_FOLDER" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build-sheet}
mkdir -p "$1"
out=$(cd "$1" && pwd)
cmake -S "$here" -B "$build" -G Ninja -DQUILLET_WEBENGINE=OFF >/dev/null
cmake --build "$build" --target tst_contactsheet tst_accent -j"$(nproc)"
QT_QPA_PLATFORM=offscreen QUILLET_CONTACT_SHEET="$out" "$build/bin/tst_contactsheet"
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 QUILLET_CONTACT_SHEET="$out" "$build/bin/tst_accent" sheet
echo "$out/skins.png" "$out/accents.png"
