#!/bin/sh
# Compiles the de_DE.UTF-8 locale (decimal comma) into the directory given,
# for the tests that check that no file changes under such a locale.
set -e
dir=$1
[ -f "$dir/de_DE.UTF-8/LC_NUMERIC" ] && exit 0
mkdir -p "$dir"
# localedef exits 1 on harmless warnings; the file it leaves is what counts.
localedef -i de_DE -f UTF-8 "$dir/de_DE.UTF-8" || true
test -f "$dir/de_DE.UTF-8/LC_NUMERIC"
