#!/usr/bin/env bash
# The computer cracks a person's fixed code (English screens): the test holds
# the secret, reads each guess the computer writes into its trial row and
# answers it truthfully, typing only the fields the program does not fill in
# itself. The computer must find the code within the number of trials the
# board header promises.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

seed="${ZQ_SEED:-$RANDOM}"
e2e_log "seed $seed"

zq_open_conditions e
zq_conditions time=0 last=5 len=4 rep=y vac=n fixed=y guess=y devise=n name1=bob
secret=$(zq_oracle next "$seed")
zq_start_match

zq_snap
zq_board_max_wording fixed || e2e_fail "the header does not say 'or less' for a fixed code"
max=$(zq_board_max)
[ "$max" = 5 ] || e2e_fail "header: '$max' trials, expected 5 for 4 of 6 signs with repetition"
[ "$(zq_at 13 1 8)" = "| Bob.  " ] || e2e_fail "the encoder's name is not on the board"
[ "$(zq_at 15 1 15)" = "| the computer." ] || e2e_fail "the computer is not shown as codebreaker"

k=0
while :; do
    k=$((k + 1))
    [ "$k" -le "$max" ] || e2e_fail "the computer did not find $secret within $max trials"
    read -r row ncol ccol pcol zcol <<<"$(zq_slot "$k")"
    zq_until 20 zq_guess_final "$row" "$pcol" "$zcol" || e2e_fail "trial $k: no final guess"
    [ "$(zq_at "$row" "$ncol" 3)" = "$(printf '%3d' "$k")" ] || e2e_fail "trial $k: its number is not shown"
    guess=$(zq_code_in "$row" "$ccol") || e2e_fail "trial $k: no complete guess in the row"
    read -r p z pf zf <<<"$(zq_oracle entry "$guess" "$secret")"
    zq_answer "$row" "$pcol" "$zcol" "$p" "$z" "$pf" "$zf"
    zq_record "$guess" "$p" "$z"
    [ "$p" != 4 ] || break
done

e2e_wait_for "Game end " 10 || e2e_fail "no end of the match after the code was found"
zq_snap
[ "$guess" = "$secret" ] || e2e_fail "the match ended on $guess, the secret is $secret"
[ "$(zq_end_code)" = "$secret" ] || e2e_fail "the end line shows '$(zq_end_code)', not $secret"
[ "$(zq_end_count)" = "$k" ] || e2e_fail "the end line shows '$(zq_end_count)' trials, not $k"
zq_finish
echo "ok ($k trials)"
