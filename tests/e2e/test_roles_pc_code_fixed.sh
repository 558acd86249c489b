#!/usr/bin/env bash
# A person cracks the computer's fixed code (English screens): the test plays
# the person with a small solver that only guesses codes agreeing with every
# answer read from the screen. The first guess holds two vacant signs (typed
# as blank and '*'). At the end the code is revealed, and every answer on the
# board must be the true score of its guess against it.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

# the seed of the test's own draws (the codes and answers it plays), fixed so
# that a failure repeats; ZQ_SEED=n runs it with another
seed="${ZQ_SEED:-4711}"
e2e_log "seed $seed"

zq_open_conditions e
zq_conditions time=1 last=7 len=4 rep=n vac=y fixed=y guess=n devise=y name2=carl
zq_start_match

zq_snap
zq_board_max_wording fixed || e2e_fail "the header does not say 'or less' for a fixed code"
max=$(zq_board_max)
[ "$max" = 6 ] || e2e_fail "header: '$max' trials, expected 6 for 4 of 8 signs without repetition"
[ "$(zq_at 7 1 38)" = "| The vacant sign ' '/'*' may be used " ] || e2e_fail "the board does not allow the vacant sign"
[ "$(zq_at 13 1 15)" = "| the computer." ] || e2e_fail "the computer is not shown as encoder"
[ "$(zq_at 15 1 9)" = "| Carl.  " ] || e2e_fail "the codebreaker's name is not on the board"

k=0
while :; do
    k=$((k + 1))
    [ "$k" -le 20 ] || e2e_fail "no end after $((k - 1)) trials"
    read -r row ncol ccol pcol zcol <<<"$(zq_slot "$k")"
    zq_until 10 zq_row_ready "$row" "$ncol" "$ccol" "$k" || e2e_fail "trial $k does not wait for a guess"
    [ "$(zq_at 25 10 4)" = "    " ] || e2e_fail "the end line shows the secret during the match"
    if [ "$k" = 1 ]; then
        e2e_type "${ZQ_SIGNS:0:2} *"
        guess="${ZQ_SIGNS:0:2}**"
    else
        guess=$(zq_oracle next "$seed")
        [ -n "$guess" ] || e2e_fail "no code agrees with the answers: $ZQ_HIST"
        e2e_type "$guess"
    fi
    zq_until 10 zq_row_answered "$row" "$pcol" "$zcol" || e2e_fail "trial $k: no answer to $guess"
    [ "$(zq_at "$row" "$ccol" 4)" = "$guess" ] || e2e_fail "trial $k: the row shows '$(zq_at "$row" "$ccol" 4)', not $guess"
    p=$(zq_at "$row" "$pcol" 1)
    z=$(zq_at "$row" "$zcol" 1)
    zq_trace "trial $k: $guess $p|$z"
    zq_record "$guess" "$p" "$z"
    [ "$p" != 4 ] || break
done

e2e_wait_for "Game end " 10 || e2e_fail "no end of the match after P = 4"
zq_snap
code=$(zq_end_code)
[ "$code" = "$guess" ] || e2e_fail "the end line shows '$code', the last guess was $guess"
zq_oracle agree "$code"
[ "$(zq_end_count)" = "$k" ] || e2e_fail "the end line shows '$(zq_end_count)' trials, not $k"
zq_finish
echo "ok ($k trials)"
