#!/usr/bin/env bash
# Two persons, the code not fixed (German screens): the second person types
# the guesses, the first answers each one. Only answers that keep a code are
# taken; what has one possible value is filled in; Backspace at the Z
# question clears P and asks it again. The encoder answers for the code 045
# throughout (signs 0..5, three of them, no repetition).
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

zq_open_conditions d
zq_conditions time=1 last=5 len=3 rep=n vac=n fixed=n guess=n devise=n name1=ina name2=uwe
zq_start_match

zq_snap
zq_board_max_wording exact || e2e_fail "the header does not say 'genau' for a code that is not fixed"
[ "$(zq_at 12 1 38)" = "| Das Raetsel stammt von              " ] || e2e_fail "no person as encoder on the board"
[ "$(zq_at 13 1 7)" = "| Ina. " ] || e2e_fail "the encoder's name is not on the board"
[ "$(zq_at 15 1 7)" = "| Uwe. " ] || e2e_fail "the codebreaker's name is not on the board"
e2e_wait_for "Loesung:                Benoetigte Versuche:" 10 || e2e_fail "no closing line after the preparation"

held=045

trial_waits() {
    [ "$(zq_at "$1" 42 3)" = "$(printf '%3d' "$2")" ] && [ "$(zq_at "$1" 49 3)" = "..." ] \
        && [ "$(zq_cursor)" = "49 $1" ]
}

# zq_guess_in K GUESS: trial K (row K + 8) gets GUESS typed
zq_guess_in() {
    zq_until 10 trial_waits "$(($1 + 8))" "$1" || e2e_fail "trial $1 does not wait for a guess"
    e2e_type "$2"
}

# zq_refused ROW COL KEY: KEY leaves the empty field at COL empty, the cursor on it
zq_refused() {
    e2e_type "$3"
    sleep 0.2
    zq_snap
    [ "$(zq_at "$1" "$2" 1)" = " " ] && [ "$(zq_cursor)" = "$2 $1" ] \
        || e2e_fail "row $1: the key '$3' was taken at column $2 (shows '$(zq_at "$1" "$2" 1)', cursor $(zq_cursor))"
}

# 1: 123 is 0|0 for 045. P refuses 4 (above the code length) and a letter;
# a P that is possible but then taken back with Backspace at the Z question.
zq_guess_in 1 123
zq_until 10 zq_asks 9 56 || e2e_fail "trial 1: P is not asked"
zq_refused 9 56 4
zq_refused 9 56 x
e2e_type 1
zq_until 10 zq_asks_z 9 56 58 1 || e2e_fail "trial 1: no Z question after P 1"
e2e_send BSpace
zq_until 10 zq_asks 9 56 || e2e_fail "trial 1: Backspace at the Z question did not clear P and ask it again"
e2e_type 0
zq_until 10 zq_asks_z 9 56 58 0 || e2e_fail "trial 1: no Z question after P 0"
zq_refused 9 58 4
e2e_type 0
zq_until 10 zq_fields_are 9 56 58 0 0 || e2e_fail "trial 1: the answer 0|0 is not shown"
zq_record 123 0 0

# 2: 312 holds only signs known to be absent: 0|0 without a key
zq_guess_in 2 312
read -r p z pf zf <<<"$(zq_oracle entry 312 "$held")"
[ "$p$z$pf$zf" = 0011 ] || e2e_fail "oracle: 312 should be a 0|0 filled in by itself, got $p $z $pf $zf"
zq_answer 10 56 58 0 0 1 1
zq_record 312 0 0

# 3: 054 against the six orders of 0, 4, 5: P can be 0, 1 or 3, never 2;
# with P 1 every code left shares all three signs, so Z 2 is filled in
zq_guess_in 3 054
zq_until 10 zq_asks 11 56 || e2e_fail "trial 3: P is not asked"
refused=$(zq_oracle refused 054)
case " $refused " in *" 2 "*) ;; *) e2e_fail "oracle: P 2 should be refused for 054 ($refused)" ;; esac
zq_refused 11 56 2
read -r p z pf zf <<<"$(zq_oracle entry 054 "$held")"
[ "$p$z$pf$zf" = 1201 ] || e2e_fail "oracle: 054 should get 1|2 with Z filled in, got $p $z $pf $zf"
zq_answer 11 56 58 1 2 0 1
zq_record 054 1 2

# 4: the same guess again gets the same answer without a key
zq_guess_in 4 054
zq_answer 12 56 58 1 2 1 1
zq_record 054 1 2

# 5: 045, 450 and 504 are left; 045 can only be P 0 or 3: P 1 is refused,
# P 3 is taken, Z 0 follows and the code is found
zq_guess_in 5 045
zq_until 10 zq_asks 13 56 || e2e_fail "trial 5: P is not asked"
zq_refused 13 56 1
zq_answer 13 56 58 3 0 0 1

e2e_wait_for "Spielende " 10 || e2e_fail "no end of the match after P = 3"
zq_snap
[ "$(zq_end_code)" = 045 ] || e2e_fail "the end line shows '$(zq_end_code)', not 045"
[ "$(zq_end_count)" = 5 ] || e2e_fail "the end line shows '$(zq_end_count)' trials, not 5"
zq_finish
echo "ok"
