#!/bin/sh
# check-webengine-links.sh PROGRAM [MODULE]
# Fails when the program, through any library it loads at start, needs Qt WebEngine: the
# web engine must come only with the module the browser panel loads on demand. When the
# module is given it must be the one that needs it, so the check cannot pass by looking at
# the wrong files.
set -u
program=$1
module=${2:-}
libraries=$(ldd "$program") || { echo "ldd failed on $program" >&2; exit 1; }
if ! printf '%s\n' "$libraries" | grep -q 'libQt6Widgets'; then
    echo "ldd shows no Qt libraries for $program: nothing was checked" >&2
    exit 1
fi
if printf '%s\n' "$libraries" | grep -i 'libQt6WebEngine'; then
    echo "$program links Qt WebEngine" >&2
    exit 1
fi
if [ -n "$module" ]; then
    if ! ldd "$module" | grep -q 'libQt6WebEngineWidgets'; then
        echo "$module does not link Qt WebEngine" >&2
        exit 1
    fi
fi
echo "$program: no Qt WebEngine among $(printf '%s\n' "$libraries" | wc -l) libraries"
