#!/usr/bin/env bash
# The computer guesses, a person devises a code that is not fixed (German
# screens): the person may change the code between answers, so the test
# answers each guess with the answer that keeps the most codes possible and
# holds one code of that class. Each answer is typed only where the program
# asks for it; the match ends when the computer plays the last code left.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

# the seed of the test's own draws (the codes and answers it plays), fixed so
# that a failure repeats; ZQ_SEED=n runs it with another
seed="${ZQ_SEED:-1618}"
e2e_log "seed $seed"

zq_open_conditions d
zq_conditions time=0 last=6 len=3 rep=n vac=n fixed=n guess=y devise=n name1=eva
zq_start_match

zq_snap
zq_board_max_wording exact || e2e_fail "the header does not say 'genau' for a code that is not fixed"
max=$(zq_board_max)
[ "$max" = 5 ] || e2e_fail "header: '$max' trials, expected 5 for 3 of 7 signs without repetition"
[ "$(zq_at 9 1 38)" = "| Der zu ratende Code ist nicht fest. " ] || e2e_fail "the board does not say that the code is not fixed"
[ "$(zq_at 13 1 7)" = "| Eva. " ] || e2e_fail "the encoder's name is not on the board"
[ "$(zq_at 14 1 38)" = "| Die Loesung stammt vom Computer.    " ] || e2e_fail "the computer is not shown as codebreaker"

k=0
held=""
while :; do
    k=$((k + 1))
    [ "$k" -le 12 ] || e2e_fail "no end after $((k - 1)) trials"
    read -r row ncol ccol pcol zcol <<<"$(zq_slot "$k")"
    zq_until 20 zq_guess_final "$row" "$pcol" "$zcol" || e2e_fail "trial $k: no final guess"
    [ "$(zq_at "$row" "$ncol" 3)" = "$(printf '%3d' "$k")" ] || e2e_fail "trial $k: its number is not shown"
    guess=$(zq_code_in "$row" "$ccol") || e2e_fail "trial $k: no complete guess in the row"
    left=$(zq_oracle count)
    read -r p z pf zf held <<<"$(zq_oracle adverse "$guess" "$seed$k")"
    zq_trace "trial $k: $guess, $left codes left, holding $held"
    zq_answer "$row" "$pcol" "$zcol" "$p" "$z" "$pf" "$zf"
    zq_record "$guess" "$p" "$z"
    [ "$p" != 3 ] || break
done

e2e_wait_for "Spielende " 10 || e2e_fail "no end of the match after the code was found"
zq_snap
[ "$left" = 1 ] || e2e_fail "the match ended while $left codes were still possible"
[ "$guess" = "$held" ] || e2e_fail "the match ended on $guess, but $held was held"
[ "$(zq_end_code)" = "$guess" ] || e2e_fail "the end line shows '$(zq_end_code)', not $guess"
[ "$(zq_end_count)" = "$k" ] || e2e_fail "the end line shows '$(zq_end_count)' trials, not $k"
zq_finish
echo "ok ($k trials)"
