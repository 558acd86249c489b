#!/usr/bin/env bash
# An installed copy, in a directory its user may not write, started by its
# bare name along PATH by an unprivileged user: the conditions it changes are
# kept in that user's ~/.config/zentrovalquist/BEDINGUN.DAT (directories of
# mode 0700), the farewell names that file, and the next run finds them again.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
command -v setpriv >/dev/null 2>&1 || [ "$(id -u)" != 0 ] || e2e_skip "setpriv is not installed"

prefix="$E2E_TMP/usr"
home="$E2E_TMP/home"
install -d -m 0755 "$prefix/bin" "$home" || e2e_fail "cannot make the install tree"
install -m 0755 "$E2E_BIN" "$prefix/bin/zentrovalquist" || e2e_fail "cannot install the binary"
if [ "$(id -u)" = 0 ]; then
    # as root the game runs as "nobody", for whom only the home is writable
    chmod 0755 "$E2E_TMP" || e2e_fail "chmod $E2E_TMP"
    chown 65534:65534 "$home" || e2e_fail "chown $home"
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
else
    chmod 0555 "$prefix/bin" || e2e_fail "chmod $prefix/bin"
    as_user=""
fi
E2E_BIN="$prefix/bin/zentrovalquist"
E2E_GAME="env -u XDG_CONFIG_HOME HOME=$home PATH=$prefix/bin:/usr/bin:/bin $as_user zentrovalquist"
dat="$home/.config/zentrovalquist/BEDINGUN.DAT"

e2e_start
e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e
e2e_wait_for "Operating instructions:" 5 || e2e_fail "no English title page"
# memory step c (16 GiB)
e2e_send 8 c Enter
e2e_wait_for "Operating instructions:" 5 || e2e_fail "no title page after the configuration"
e2e_send 9
e2e_expect_clean_exit 0
e2e_wait_for "the conditions are kept in:" 5 || e2e_fail "the farewell does not say where the conditions are"
e2e_wait_for "$dat" 5 || e2e_fail "the farewell does not name $dat"

[ -f "$dat" ] || e2e_fail "no conditions file at $dat"
[ "$(e2e_file_size "$dat")" = 80 ] || e2e_fail "$dat has $(e2e_file_size "$dat") bytes, expected 80"
[ "$(od -An -j5 -N1 -tu1 "$dat" | tr -d ' ')" = 11 ] || e2e_fail "the memory step in $dat is not 11"
for d in "$home/.config" "$home/.config/zentrovalquist"; do
    [ "$(stat -c %a "$d")" = 700 ] || e2e_fail "$d has mode $(stat -c %a "$d"), expected 700"
done
[ "$(ls "$prefix/bin")" = zentrovalquist ] || e2e_fail "written beside the installed program: $(ls "$prefix/bin")"
[ ! -e "$E2E_RUN/BEDINGUN.DAT" ] || e2e_fail "written to the working directory"

# ---- the next run finds the step again ---------------------------------------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "second run: the language screen did not appear"
e2e_send e 5
e2e_wait_cursor 73 20 5 || e2e_fail "second run: no conditions screen (cursor at $(e2e_cursor))"
e2e_expect_at 2 69 "|  16 GiB |" "second run: memory step"
e2e_send 4 9
e2e_expect_clean_exit 0
echo "ok"
