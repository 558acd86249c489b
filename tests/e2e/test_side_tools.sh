#!/usr/bin/env bash
# The side tools of the main menu on the real terminal: the weekday calendar
# shows the weekday of a typed date, the instruction pages open and close, and
# the colours and the memory step chosen are saved in BEDINGUN.DAT.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
e2e_start

e2e_wait_for "Deutsch:" 15 || e2e_fail "the language screen did not appear"
e2e_send d
e2e_wait_for "Bitte waehlen" 10 || e2e_fail "no German title page after 'd'"

# 3: calendar; 17 October 1582 (the 7th does not exist and becomes the 17th) is a Sunday
e2e_send 3
e2e_wait_for "virtuelles Spieldatum" 10 || e2e_fail "the calendar did not appear"
e2e_type "1582"
e2e_send Down
e2e_type "10"
e2e_send Down
e2e_type "07"
e2e_wait_for "Sonntag." 5 || e2e_fail "the calendar does not show Sunday"
[ "$(e2e_text 21 37 8)" = "Sonntag." ] || e2e_fail "weekday at (37, 21): '$(e2e_text 21 37 8)'"
e2e_send Enter
e2e_wait_for "Bitte waehlen" 10 || e2e_fail "no title page after the calendar"

# 4: colours; background green (3), white text (p), light grey emphasis (O)
e2e_send 4
e2e_wait_for "Farbkombination" 10 || e2e_fail "the colour chooser did not appear"
e2e_type "3pO"
e2e_send Enter
e2e_wait_for "Bitte waehlen" 10 || e2e_fail "no title page after the colours"

# 6 and 7: the instruction pages
e2e_send 6
e2e_wait_gone "Bitte waehlen" 10 || e2e_fail "the short instructions did not open"
e2e_send x
e2e_wait_for "Bitte waehlen" 10 || e2e_fail "no title page after the short instructions"
e2e_send 7
e2e_wait_gone "Bitte waehlen" 10 || e2e_fail "the detailed instructions did not open"
e2e_send Escape
e2e_wait_for "Bitte waehlen" 10 || e2e_fail "no title page after Esc in the instructions"

# 8: memory step c (16 GiB)
e2e_send 8
e2e_wait_for "Konfiguration" 10 || e2e_fail "the configuration page did not appear"
e2e_send c
e2e_wait_for "c (*):  16 GiB" 5 || e2e_fail "step c is not marked"
e2e_send Enter
e2e_wait_for "Bitte waehlen" 10 || e2e_fail "no title page after the configuration"

e2e_send 9
e2e_wait_exit 15 || e2e_fail "the game did not end after '9'"
[ "$(e2e_rc)" = 0 ] || e2e_fail "exit status $(e2e_rc), expected 0"
dat="$E2E_RUN/BEDINGUN.DAT"
[ "$(e2e_file_size "$dat")" = 80 ] || e2e_fail "BEDINGUN.DAT is not 80 bytes"
bytes=$(od -An -tu1 -N6 "$dat" | tr -s ' ' | sed 's/^ //')
set -- $bytes
[ "$1" = 47 ] || e2e_fail "normal attribute saved as $1, expected 47 (white on green)"
[ "$2" = 39 ] || e2e_fail "emphasis attribute saved as $2, expected 39 (light grey on green)"
[ "$6" = 11 ] || e2e_fail "memory step saved as $6, expected 11"
echo "ok"
