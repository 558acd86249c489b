#!/usr/bin/env bash
# Two persons on the real terminal: the first becomes the encoder in the
# conditions dialog and types the secret, the second guesses twice; the board
# shows the answers and the end line the code and the number of trials.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
e2e_start

e2e_wait_for "Deutsch:" 15 || e2e_fail "the language screen did not appear"
e2e_send d
e2e_wait_for "Bitte waehlen" 10 || e2e_fail "no German title page after 'd'"
e2e_send 5
e2e_wait_for "Soll der PC eine Loesung vorgeben?" 10 || e2e_fail "the conditions screen did not appear"
[ "$(e2e_text 20 37 42)" = " Bitte waehlen Sie (1, 2, 3 oder 4): 1.   " ] || e2e_fail "menu prompt of row 20"

# Backspace at the menu: the encoder field; a person devises the riddle
e2e_send BSpace
e2e_send n
[ "$(e2e_text 17 73 5)" = "Nein." ] || e2e_fail "the encoder field did not change to 'Nein.'"
e2e_type "ann"
e2e_send Enter
e2e_wait_for "aus: Ann " 5 || e2e_fail "the first name was not shown as typed"
e2e_send j
# the secret, typed at (46, 18)
e2e_type "1234"
e2e_wait_for "Loesung 1234" 5 || e2e_fail "the secret is not in its field"
e2e_send 1
e2e_wait_for "Spielbeginn" 10 || e2e_fail "the board did not appear"
e2e_wait_for "|  1|  ....   |" 5 || e2e_fail "the first trial row is not ready"

e2e_type "1243"
e2e_wait_for "|  2|  ....   |" 5 || e2e_fail "the second trial row did not open"
[ "$(e2e_text 9 48 4)" = "1243" ] || e2e_fail "the first guess is not in its row"
[ "$(e2e_text 9 56 3)" = "2|2" ] || e2e_fail "P and Z of the first guess: '$(e2e_text 9 56 3)', expected 2|2"

e2e_type "1234"
e2e_wait_for "Spielende" 5 || e2e_fail "the match did not end with the right code"
[ "$(e2e_text 10 56 3)" = "4|0" ] || e2e_fail "P and Z of the second guess: '$(e2e_text 10 56 3)', expected 4|0"
[ "$(e2e_text 25 10 4)" = "1234" ] || e2e_fail "the end line does not show the code"
[ "$(e2e_text 25 45 1)" = "2" ] || e2e_fail "the end line does not show 2 trials"

e2e_send n
e2e_wait_for "Bitte waehlen" 10 || e2e_fail "no main menu after 'n'"
e2e_send 9
e2e_wait_exit 15 || e2e_fail "the game did not end after '9'"
[ "$(e2e_rc)" = 0 ] || e2e_fail "exit status $(e2e_rc), expected 0"
echo "ok"
