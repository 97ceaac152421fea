#!/bin/sh
# Installs the build into a temporary prefix and runs what it installed, then
# builds the Debian package, reads its control file, runs the program it holds
# unpacked and, when apt knows Debian's packages, resolves its dependencies as
# on a machine with nothing installed (a dry run: installing it for real would
# touch the machine's packages).
# usage: install.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d /tmp/quarvel-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "install: $*" >&2
    exit 1
}
# No display: the command-line options must not need one.
run() { timeout 60 env -u DISPLAY "$@"; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install: $(cat "$work/install.log")"
run "$prefix/bin/quarvel" --version | grep -qx "quarvel [0-9][0-9.]*" || fail "installed quarvel --version"
run "$prefix/bin/quarvel" --check "$prefix/share/quarvel/examples/wing12.cpi" >/dev/null ||
    fail "installed quarvel --check on the installed example"
for f in bin/quarvel-genwing share/quarvel/examples/tapered-odd.cpi share/icons/hicolor/scalable/apps/quarvel.svg \
    share/icons/hicolor/16x16/apps/quarvel.png share/icons/hicolor/256x256/apps/quarvel.png; do
    [ -s "$prefix/$f" ] || fail "$f not installed"
done
desktop-file-validate "$prefix/share/applications/quarvel.desktop" || fail "desktop entry"
update-mime-database "$prefix/share/mime" 2>/dev/null && grep -q ':application/x-quarvel-cpinput:\*\.cpi$' "$prefix/share/mime/globs2" ||
    fail "MIME types"
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -M "$prefix/share/man" quarvel >"$work/man.txt" 2>"$work/man.err" &&
    [ ! -s "$work/man.err" ] && grep -q "EXIT STATUS" "$work/man.txt" || fail "man quarvel: $(cat "$work/man.err")"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(echo "$work"/deb/quarvel_*.deb)
depends=$(dpkg-deb -I "$deb" control | sed -n "s/^ *Depends: //p")
for package in libfox-1.6-0 'libopengl0|libgl1' libglu1-mesa; do
    echo ", $depends," | grep -Eq "[ ,|]($package)[ ,(]" || fail "Depends lacks $package: $depends"
done
dpkg-deb -x "$deb" "$work/root"
run "$work/root/usr/bin/quarvel" --check "$work/root/usr/share/quarvel/examples/wing12.cpi" >/dev/null ||
    fail "packaged quarvel --check on the packaged example"
if apt-cache show libfox-1.6-0 >/dev/null 2>&1; then
    : >"$work/status"
    apt-get install -s -o Dir::State::status="$work/status" "$deb" >"$work/apt.log" 2>&1 &&
        grep -q "^Conf quarvel " "$work/apt.log" || fail "apt-get cannot install the package: $(tail -n 5 "$work/apt.log")"
fi
