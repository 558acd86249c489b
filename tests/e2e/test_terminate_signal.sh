#!/usr/bin/env bash
# SIGTERM while a screen waits for a key: the terminal is given back (shell's
# screen, cooked mode) and the game ends by the signal.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
[ -d /proc/self ] || e2e_skip "finding the game's process needs /proc"
e2e_start

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e
e2e_wait_for "Operating instructions:" || e2e_fail "the English title page did not appear"
e2e_signal TERM
e2e_wait_exit 15 || e2e_fail "the game did not end after SIGTERM"
[ "$(e2e_rc)" = 143 ] || e2e_fail "exit status $(e2e_rc), expected 143 (ended by SIGTERM)"
e2e_wait_gone "Operating instructions:" 2 || e2e_fail "the game's screen is still shown after SIGTERM"
for flag in icanon echo isig icrnl; do
    e2e_stty_has "$flag" || e2e_fail "terminal not restored after SIGTERM: '$flag' is off"
done
# Entering the main menu saved the conditions; the exit hook may save them again.
[ "$(e2e_file_size "$E2E_RUN/BEDINGUN.DAT" 2>/dev/null)" = 80 ] || e2e_fail "BEDINGUN.DAT missing or not 80 bytes"
echo "ok"
