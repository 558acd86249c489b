#!/usr/bin/env bash
# The computer against itself with a code that is not fixed (German screens),
# no time limit: the test only watches, then replays the board. Each answer
# must keep at least one code and as many codes as any answer could; P = 3
# may only come when one code was left, and the number of trials must not
# exceed the board header's number.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

zq_open_conditions d
zq_conditions time=0 last=6 len=3 rep=n vac=n fixed=n guess=y devise=y
zq_start_match

zq_snap
zq_board_max_wording exact || e2e_fail "the header does not say 'genau' for a code that is not fixed"
max=$(zq_board_max)
[ "$max" = 5 ] || e2e_fail "header: '$max' trials, expected 5 for 3 of 7 signs without repetition"
[ "$(zq_at 12 1 38)" = "| Das Raetsel stammt vom Computer.    " ] || e2e_fail "the computer is not shown as encoder"
[ "$(zq_at 14 1 38)" = "| Die Loesung stammt vom Computer.    " ] || e2e_fail "the computer is not shown as codebreaker"

e2e_wait_for "Spielende " 30 || e2e_fail "the match did not end"
zq_snap
n=$(zq_end_count)
[ -n "$n" ] && [ "$n" -ge 1 ] && [ "$n" -le 30 ] || e2e_fail "the end line shows '$n' trials"
zq_read_trials "$n"
board="$ZQ_HIST"
[ "$ZQ_LAST_P" = 3 ] || e2e_fail "the last trial has P $ZQ_LAST_P, not 3"
[ "$(zq_end_code)" = "$ZQ_LAST_GUESS" ] || e2e_fail "the end line shows '$(zq_end_code)', the last guess was $ZQ_LAST_GUESS"

# replay: the answers one by one against the codes still possible before each
ZQ_HIST=""
for k in $(seq 1 "$n"); do
    left=$(zq_oracle count)
    read -r size largest <<<"$(zq_oracle largest "${ZQ_G[k]}" "${ZQ_P[k]}" "${ZQ_Z[k]}")"
    zq_trace "trial $k: ${ZQ_G[k]} ${ZQ_P[k]}|${ZQ_Z[k]} keeps $size of $left (largest $largest)"
    [ "$size" -gt 0 ] || e2e_fail "trial $k: ${ZQ_G[k]} got ${ZQ_P[k]}|${ZQ_Z[k]}, which no code agrees with ($board)"
    [ "$size" = "$largest" ] || e2e_fail "trial $k: ${ZQ_G[k]} got ${ZQ_P[k]}|${ZQ_Z[k]}, keeping $size codes where $largest were possible ($board)"
    if [ "${ZQ_P[k]}" = 3 ]; then
        [ "$left" = 1 ] || e2e_fail "trial $k: the code was conceded while $left codes were possible ($board)"
    fi
    zq_record "${ZQ_G[k]}" "${ZQ_P[k]}" "${ZQ_Z[k]}"
done
[ "$n" -le "$max" ] || e2e_fail "$n trials, the header says $max ($board)"
zq_finish
echo "ok ($n trials)"
