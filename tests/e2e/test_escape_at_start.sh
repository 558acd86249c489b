#!/usr/bin/env bash
# Esc at the first screen ends the game at once: farewell on the shell's
# screen, terminal restored, conditions saved.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
e2e_start

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send Escape
e2e_wait_exit 15 || e2e_fail "the game did not end after Esc"
e2e_wait_for "Bye-bye!" 5 || e2e_fail "the farewell text is not on the shell's screen"
e2e_wait_gone "English:" 1 || e2e_fail "the game's screen is still shown after the end"
[ "$(e2e_rc)" = 0 ] || e2e_fail "exit status $(e2e_rc), expected 0"
for flag in icanon echo isig icrnl; do
    e2e_stty_has "$flag" || e2e_fail "terminal not restored: '$flag' is off"
done
[ "$(e2e_file_size "$E2E_RUN/BEDINGUN.DAT" 2>/dev/null)" = 80 ] || e2e_fail "BEDINGUN.DAT missing or not 80 bytes"
echo "ok"
