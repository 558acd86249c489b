#!/usr/bin/env bash
# A person guesses against the computer's code that is not fixed (German
# screens). After every answer the test checks that at least one code agrees
# with all answers so far, that the answer keeps as many codes as any answer
# could, and that P = 3 comes only when the guess is the last code left. The
# second guess repeats the first and must get the same answer.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

# the seed of the test's own draws (the codes and answers it plays), fixed so
# that a failure repeats; ZQ_SEED=n runs it with another
seed="${ZQ_SEED:-5813}"
e2e_log "seed $seed"

zq_open_conditions d
zq_conditions time=1 last=7 len=3 rep=n vac=n fixed=n guess=n devise=y name2=dora
zq_start_match

zq_snap
zq_board_max_wording exact || e2e_fail "the header does not say 'genau' for a code that is not fixed"
max=$(zq_board_max)
[ "$max" = 6 ] || e2e_fail "header: '$max' trials, expected 6 for 3 of 8 signs without repetition"
[ "$(zq_at 12 1 38)" = "| Das Raetsel stammt vom Computer.    " ] || e2e_fail "the computer is not shown as encoder"
[ "$(zq_at 15 1 9)" = "| Dora.  " ] || e2e_fail "the codebreaker's name is not on the board"
# once the list of codes is built, row 25 carries the closing line
e2e_wait_for "Loesung:                Benoetigte Versuche:" 10 || e2e_fail "no closing line after the preparation"

k=0
first=""
while :; do
    k=$((k + 1))
    [ "$k" -le 20 ] || e2e_fail "no end after $((k - 1)) trials"
    read -r row ncol ccol pcol zcol <<<"$(zq_slot "$k")"
    zq_until 10 zq_row_ready "$row" "$ncol" "$ccol" "$k" || e2e_fail "trial $k does not wait for a guess"
    if [ "$k" = 2 ]; then
        guess="$first"
    else
        guess=$(zq_oracle next "$seed")
        [ -n "$guess" ] || e2e_fail "no code agrees with the answers: $ZQ_HIST"
    fi
    left=$(zq_oracle count)
    e2e_type "$guess"
    zq_until 10 zq_row_answered "$row" "$pcol" "$zcol" || e2e_fail "trial $k: no answer to $guess"
    p=$(zq_at "$row" "$pcol" 1)
    z=$(zq_at "$row" "$zcol" 1)
    read -r size largest <<<"$(zq_oracle largest "$guess" "$p" "$z")"
    zq_trace "trial $k: $guess $p|$z keeps $size of $left codes (largest class $largest)"
    [ "$size" -gt 0 ] || e2e_fail "trial $k: $guess got $p|$z, which no code agrees with ($ZQ_HIST)"
    [ "$size" = "$largest" ] || e2e_fail "trial $k: $guess got $p|$z, keeping $size codes, but an answer keeping $largest was possible"
    if [ "$k" = 1 ]; then
        first="$guess"
        first_answer="$p|$z"
    elif [ "$k" = 2 ]; then
        [ "$p|$z" = "$first_answer" ] || e2e_fail "the repeated guess $guess got $p|$z, first $first_answer"
    fi
    zq_record "$guess" "$p" "$z"
    if [ "$p" = 3 ]; then
        [ "$left" = 1 ] || e2e_fail "trial $k: $guess was answered as the code while $left codes were possible"
        break
    fi
done

e2e_wait_for "Spielende " 10 || e2e_fail "no end of the match after P = 3"
zq_snap
[ "$(zq_end_code)" = "$guess" ] || e2e_fail "the end line shows '$(zq_end_code)', not the last guess $guess"
[ "$(zq_end_count)" = "$k" ] || e2e_fail "the end line shows '$(zq_end_count)' trials, not $k"
zq_finish
echo "ok ($k trials)"
