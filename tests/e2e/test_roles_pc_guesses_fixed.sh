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

# the seed of the test's own draws (the codes and answers it plays), fixed so
# that a failure repeats; ZQ_SEED=n runs it with another
seed="${ZQ_SEED:-3141}"
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

zq_play_pc_guesses "$secret" "$max"
k=$ZQ_K

e2e_wait_for "Game end " 10 || e2e_fail "no end of the match after the code was found"
zq_snap
[ "$(zq_end_code)" = "$secret" ] || e2e_fail "the end line shows '$(zq_end_code)', not $secret"
[ "$(zq_end_count)" = "$k" ] || e2e_fail "the end line shows '$(zq_end_count)' trials, not $k"
zq_finish
echo "ok ($k trials)"
