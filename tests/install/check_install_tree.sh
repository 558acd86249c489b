#!/usr/bin/env bash
# `cmake --install` of a build directory into a staging DESTDIR: exactly the
# game, its manual page (the one made for this build), the README and the
# licence, with the modes an installed program needs; the manifest lists them
# and the uninstall script removes them again.
# Usage: check_install_tree.sh BUILD_DIR SOURCE_DIR
set -u
build="${1:?usage: check_install_tree.sh BUILD_DIR SOURCE_DIR}"
src="${2:?usage: check_install_tree.sh BUILD_DIR SOURCE_DIR}"
fail() { echo "FAIL: $*"; exit 1; }

stage=$(mktemp -d "${TMPDIR:-/tmp}/zq_install.XXXXXX") || exit 1
trap 'rm -rf -- "$stage"' EXIT
prefix=/opt/zq
# the umask `make install` sets: directories made on the way are mkdir'ed under it
(umask 022 && DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >"$stage.log" 2>&1) ||
    { cat "$stage.log"; rm -f "$stage.log"; fail "cmake --install failed"; }
rm -f "$stage.log"

root="$stage$prefix"
want="755 bin
755 bin/zentrovalquist
755 share
755 share/doc
755 share/doc/zentrovalquist
644 share/doc/zentrovalquist/LICENSE
644 share/doc/zentrovalquist/README.md
755 share/man
755 share/man/man6
644 share/man/man6/zentrovalquist.6"
got=$(cd "$root" && find . -mindepth 1 -exec stat -c '%a %n' {} + | sed 's| \./| |' | sort -k2)
[ "$got" = "$want" ] || fail "install tree differs:
--- expected
$want
--- found
$got"

[ -x "$root/bin/zentrovalquist" ] || fail "the game is not executable"
cmp -s "$root/share/man/man6/zentrovalquist.6" "$build/generated/zentrovalquist.6" ||
    fail "the manual page is not the one made from man/zentrovalquist.6.in"
! grep -q '@[A-Z_]*@' "$root/share/man/man6/zentrovalquist.6" || fail "the manual page has a placeholder left"
cmp -s "$root/share/doc/zentrovalquist/README.md" "$src/README.md" || fail "the README is not the one of the sources"
cmp -s "$root/share/doc/zentrovalquist/LICENSE" "$src/LICENSE" || fail "the licence is not the one of the sources"

manifest="$build/install_manifest.txt"
[ -f "$manifest" ] || fail "no install manifest"
for f in bin/zentrovalquist share/man/man6/zentrovalquist.6 share/doc/zentrovalquist/README.md \
    share/doc/zentrovalquist/LICENSE; do
    grep -q -x -F "$prefix/$f" "$manifest" || fail "the manifest does not list $prefix/$f"
done

DESTDIR="$stage" cmake -P "$src/packaging/uninstall.cmake" "$manifest" >/dev/null || fail "the uninstall script failed"
left=$(cd "$root" && find . -type f)
[ -z "$left" ] || fail "files left after uninstalling: $left"
[ ! -e "$root/share/doc/zentrovalquist" ] || fail "the documentation directory is left after uninstalling"
echo "ok"
