#!/usr/bin/env bash
# Conditions changed in the dialog (and the memory step) survive a restart in
# the same directory: the next run's conditions screen shows them in both
# languages, and BEDINGUN.DAT is one 80-byte record holding them.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
e2e_start

at() { e2e_wait_cursor "$1" "$2" 5 || e2e_fail "$3: cursor at $(e2e_cursor), expected ($1, $2)"; }

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e
e2e_wait_for "Operating instructions:" 5 || e2e_fail "no English title page"

# memory step c (16 GiB)
e2e_send 8 c Enter
e2e_wait_for "Operating instructions:" 5 || e2e_fail "no title page after the configuration"

e2e_send 5
at 73 20 "conditions screen"
e2e_send 3
at 69 10 "time limit"
e2e_send 3
at 30 12 "sound"
e2e_send j
at 30 13 "first sign"
e2e_send c
at 30 14 "last sign"
e2e_send k
at 30 16 "code length"
e2e_send 5
at 30 17 "repetition"
e2e_send j
at 30 18 "vacant sign"
e2e_send j
at 30 19 "answer fixed"
e2e_send n
at 64 13 "computer guesses"
e2e_send Enter
at 38 24 "second player's name"
e2e_type "max"
e2e_send Enter j
at 71 17 "computer devises"
e2e_send Enter
at 73 20 "end of the walk"
e2e_send 4
e2e_wait_for "Operating instructions:" 5 || e2e_fail "no title page after the conditions screen"
e2e_send 9
e2e_expect_clean_exit 0

check_file() {
    local dat="$E2E_RUN/BEDINGUN.DAT"
    [ "$(e2e_file_size "$dat")" = 80 ] || e2e_fail "$1: BEDINGUN.DAT has $(e2e_file_size "$dat") bytes, expected 80"
    local -a want=(2:3 3:5 5:11 6:99 7:107 8:1 9:1 10:1 11:1 12:0 13:0 14:32 47:32 48:77 49:97 50:120 51:32 79:32)
    local w off val got
    for w in "${want[@]}"; do
        off=${w%%:*}
        val=${w#*:}
        got=$(e2e_dat_byte "$off")
        [ "$got" = "$val" ] || e2e_fail "$1: byte $off of BEDINGUN.DAT is $got, expected $val"
    done
}
check_file "after the first run"

# ---- the second run in the same directory ---------------------------------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "second run: the language screen did not appear"
e2e_send e 5
at 73 20 "second run: conditions screen"
e2e_expect_at 2 69 "|  16 GiB |" "memory step"
e2e_expect_at 10 69 "3" "time limit digit"
e2e_expect_at 12 30 "Yes. " "sound"
e2e_expect_at 13 30 "c" "first sign"
e2e_expect_at 14 30 "k" "last sign"
e2e_expect_at 15 30 "cdefghijk " "set of signs"
e2e_expect_at 16 30 "5" "code length"
e2e_expect_at 17 30 "Yes. " "repetition"
e2e_expect_at 18 30 "Yes. " "vacant sign"
e2e_expect_at 19 30 "No.  " "answer fixed"
e2e_expect_at 13 64 "No. " "computer guesses"
e2e_expect_at 17 71 "Yes." "computer devises"
e2e_expect_at 18 46 ".....    " "dots of a five-sign secret"
e2e_expect_at 24 38 "Max " "second player's name"
e2e_expect_at 23 38 "*** The computer ***" "first player"

# the same in German
e2e_send 4 1 d 5
at 74 20 "second run: German conditions screen"
e2e_expect_at 10 71 "3" "German: time limit digit"
e2e_expect_at 12 30 "Ja.  " "German: sound"
e2e_expect_at 19 30 "Nein." "German: answer fixed"
e2e_expect_at 13 57 "Nein." "German: computer guesses"
e2e_expect_at 17 73 "Ja. " "German: computer devises"
e2e_send 4 9
e2e_expect_clean_exit 0
# leaving unchanged rewrites the same record
check_file "after the second run"
echo "ok"
