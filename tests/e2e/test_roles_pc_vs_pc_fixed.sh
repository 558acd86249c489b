#!/usr/bin/env bash
# The computer against itself with a fixed code (English screens), no time
# limit: the test only watches. At the end the revealed code must be the last
# guess, every answer on the board its true score against that code, and the
# number of trials no more than the board header promises.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

zq_open_conditions e
zq_conditions time=0 last=5 len=4 rep=y vac=n fixed=y guess=y devise=y
zq_start_match

zq_snap
zq_board_max_wording fixed || e2e_fail "the header does not say 'or less' for a fixed code"
max=$(zq_board_max)
[ "$max" = 5 ] || e2e_fail "header: '$max' trials, expected 5 for 4 of 6 signs with repetition"
[ "$(zq_at 13 1 15)" = "| the computer." ] || e2e_fail "the computer is not shown as encoder"
[ "$(zq_at 15 1 15)" = "| the computer." ] || e2e_fail "the computer is not shown as codebreaker"

e2e_wait_for "Game end " 30 || e2e_fail "the match did not end"
zq_snap
n=$(zq_end_count)
[ -n "$n" ] && [ "$n" -ge 1 ] && [ "$n" -le 30 ] || e2e_fail "the end line shows '$n' trials"
zq_read_trials "$n"
if [ "$n" -lt 30 ]; then
    read -r row ncol ccol pcol zcol <<<"$(zq_slot $((n + 1)))"
    [ "$(zq_at "$row" "$ncol" 17)" = "   |         | | " ] || e2e_fail "the slot after the last trial is not empty"
fi
[ "$ZQ_LAST_P" = 4 ] || e2e_fail "the last trial has P $ZQ_LAST_P, not 4"
code=$(zq_end_code)
[ "$code" = "$ZQ_LAST_GUESS" ] || e2e_fail "the end line shows '$code', the last guess was $ZQ_LAST_GUESS"
zq_oracle agree "$code"
[ "$n" -le "$max" ] || e2e_fail "$n trials, the header promises at most $max ($ZQ_HIST)"
zq_finish
echo "ok ($n trials)"
