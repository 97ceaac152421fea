#!/bin/sh
# install.sh BUILD_DIR: installs the build into a temporary prefix and runs what it installed, then builds the Debian
# package, reads its control file, runs the program it holds unpacked and, when apt knows Debian's packages, resolves
# its dependencies as on a machine with nothing installed (a dry run: installing it would change the machine).
set -eu
build=$1 work=$(mktemp -d /tmp/quarvel-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "install: $*" >&2; exit 1; }
run() { timeout 60 env -u DISPLAY "$@"; }  # the command-line options need no display

p=$work/prefix
cmake --install "$build" --prefix "$p" >"$work/log" || fail "cmake --install: $(cat "$work/log")"
run "$p/bin/quarvel" --version | grep -qx "quarvel [0-9][0-9.]*" || fail "installed --version"
run "$p/bin/quarvel" --check "$p/share/quarvel/examples/wing12.cpi" >/dev/null || fail "installed --check"
for f in bin/quarvel-genwing share/icons/hicolor/scalable/apps/quarvel.svg share/icons/hicolor/16x16/apps/quarvel.png
do
    [ -s "$p/$f" ] || fail "$f not installed"
done
desktop-file-validate "$p/share/applications/quarvel.desktop" || fail "desktop entry"
update-mime-database "$p/share/mime" 2>/dev/null &&
    grep -q ':application/x-quarvel-cpinput:\*\.cpi$' "$p/share/mime/globs2" || fail "MIME types"
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -M "$p/share/man" quarvel >"$work/man" 2>"$work/log" &&
    [ ! -s "$work/log" ] && grep -q "EXIT STATUS" "$work/man" || fail "man quarvel: $(cat "$work/log")"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/log" 2>&1 || fail "$(cat "$work/log")"
deb=$(echo "$work"/deb/quarvel_*.deb)
depends=$(dpkg-deb -I "$deb" control | sed -n "s/^ *Depends: //p")
for package in libfox-1.6-0 'libopengl0|libgl1' libglu1-mesa libcairo2; do
    echo ", $depends," | grep -Eq "[ ,|]($package)[ ,(]" || fail "Depends lacks $package: $depends"
done
dpkg-deb -x "$deb" "$work/root" && run "$work/root/usr/bin/quarvel" --version >/dev/null || fail "packaged --version"
if apt-cache show libfox-1.6-0 >/dev/null 2>&1; then
    apt-get install -s -o Dir::State::status=/dev/null "$deb" >"$work/log" 2>&1 &&
        grep -q "^Conf quarvel " "$work/log" || fail "apt-get cannot install it: $(tail -n 5 "$work/log")"
fi
