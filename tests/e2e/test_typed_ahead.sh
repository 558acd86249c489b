#!/usr/bin/env bash
# Keys typed ahead are not lost: 200 vacant signs pasted at once into guesses
# of length 2 against the computer's fixed code are 100 guesses (a vacant
# sign never scores, so none ends the match), and the board waits for the
# 101st in its last slot.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
e2e_start

zq_open_conditions e
zq_conditions time=1 last=5 len=2 rep=n vac=y fixed=y guess=n devise=y name2=carl
zq_start_match

read -r row ncol ccol pcol zcol <<<"$(zq_slot 1)"
zq_until 10 zq_row_ready "$row" "$ncol" "$ccol" 1 || e2e_fail "the first trial does not wait for a guess"
e2e_type "$(printf '%200s' '' | tr ' ' '*')"

# the trial waiting for its guess stands in the last slot once the table
# has scrolled
waits() {
    local row ncol ccol pcol zcol
    read -r row ncol ccol pcol zcol <<<"$(zq_slot 30)"
    zq_row_ready "$row" "$ncol" "$ccol" "$1"
}
zq_until 20 waits 101 || {
    read -r row ncol ccol pcol zcol <<<"$(zq_slot 30)"
    zq_snap
    e2e_fail "after 200 keys the board waits in trial '$(zq_at "$row" "$ncol" 3)', not 101"
}
zq_snap
read -r row ncol ccol pcol zcol <<<"$(zq_slot 29)"
[ "$(zq_at "$row" "$ncol" 3)|$(zq_at "$row" "$ccol" 2)" = "100|**" ] ||
    e2e_fail "slot 29 shows '$(zq_at "$row" "$ncol" 3)|$(zq_at "$row" "$ccol" 2)', expected trial 100 with '**'"
e2e_send Escape
echo "ok"
