#!/usr/bin/env bash
# Start, choose English, leave from the main menu: the farewell stays on the
# shell's screen, the terminal is as it was, the conditions file is written.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
e2e_start

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e
e2e_wait_for "Operating instructions:" || e2e_fail "the English title page did not appear after 'e'"
e2e_send 9
e2e_wait_exit 15 || e2e_fail "the game did not end after '9'"

e2e_wait_for "Bye-bye!" 5 || e2e_fail "the farewell text is not on the shell's screen"
[ "$(e2e_rc)" = 0 ] || e2e_fail "exit status $(e2e_rc), expected 0"

for flag in icanon echo isig icrnl; do
    e2e_stty_has "$flag" || e2e_fail "terminal not restored: '$flag' is off ($(cat "$E2E_RUN/stty.txt"))"
done

[ -f "$E2E_RUN/BEDINGUN.DAT" ] || e2e_fail "BEDINGUN.DAT was not written beside the binary"
size=$(e2e_file_size "$E2E_RUN/BEDINGUN.DAT")
[ "$size" = 80 ] || e2e_fail "BEDINGUN.DAT has $size bytes, expected 80"
echo "ok"
