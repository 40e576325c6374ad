#!/usr/bin/env bash
# Installs every Debian 12 package the build, the program and the tests need.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  qt6-svg-dev libqt6svg6 qt6-image-formats-plugins
  qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
  libgl-dev libxkbcommon-dev
  libgif-dev libimagequant-dev libdeflate-dev libwebp-dev libjpeg62-turbo-dev
  xfonts-wqy fonts-wqy-zenhei fontconfig
  xvfb xauth x11-apps x11-utils openbox imagemagick
  pngcheck gifsicle libjpeg-turbo-progs netpbm zopfli desktop-file-utils
  libpng-dev zlib1g-dev clang libclang-rt-14-dev
  appstream dpkg-dev man-db groff-base
  qt6-translations-l10n qt6-l10n-tools libxcb1-dev ccache
  python3-tinycss2 chromium firefox-esr python3-websocket xdotool aapt godot3
)

# npm installs the token test's pinned tools (scripts/install-npm.sh). Debian's npm only where
# there is none: a Node.js from elsewhere brings its own and conflicts with Debian's.
npm=()
if ! command -v npm >/dev/null 2>&1; then npm=(npm); fi

stamp=/var/tmp/quillet-deps.stamp
want=$(printf '%s\n' "${PACKAGES[@]}" | sha1sum | cut -c1-40)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && [ ${#npm[@]} -eq 0 ] \
  && dpkg -s "${PACKAGES[@]}" >/dev/null 2>&1; then
  exit 0
fi
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${PACKAGES[@]}" "${npm[@]}"
echo "$want" | $SUDO tee "$stamp" >/dev/null || true
