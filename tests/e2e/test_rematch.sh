#!/usr/bin/env bash
# Rematches (German screens). The computer first cracks Bob's code; after the
# match 'j' leads back to the conditions screen, and '2' swaps the roles and
# starts at once: Bob now cracks the computer's code. A second '2' swaps
# back. Every rematch starts on a clean board with trial 1, counts its own
# trials only, and saves the swapped roles in the conditions file.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

# the seed of the test's own draws (the codes and answers it plays), fixed so
# that a failure repeats; ZQ_SEED=n runs it with another
seed="${ZQ_SEED:-1123}"
e2e_log "seed $seed"

# the computer-devises and computer-guesses bytes of the conditions file
roles_saved() { od -An -tu1 -j11 -N2 "$E2E_RUN/BEDINGUN.DAT" | tr -s ' ' | sed 's/^ //; s/ $//'; }

# clean_board person|computer: slot 1 numbered 1 without an answer, slots
# 2..30 empty, no "Spielende"; row 25 the end line without code and count
# when the person guesses, the search line when the computer does
clean_board() {
    [ "$(zq_at 9 42 3)" = "  1" ] && [ "$(zq_at 9 56 3)" = " | " ] || return 1
    local k row ncol ccol pcol zcol
    for k in $(seq 2 30); do
        read -r row ncol ccol pcol zcol <<<"$(zq_slot "$k")"
        [ "$(zq_at "$row" "$ncol" 17)" = "   |         | | " ] || return 1
    done
    [ "$(zq_at 19 1 14)" = "| Datum/Zeit :" ] || return 1
    if [ "$1" = person ]; then
        [ "$(zq_at 25 1 12)" = "Loesung:    " ] && [ "$(zq_at 25 24 25)" = "Benoetigte Versuche:     " ]
    else
        [ "$(zq_at 25 1 33)" = "Aktueller Versuch: geratene Zeit:" ]
    fi
}

back_to_conditions() {
    e2e_send j
    e2e_wait_for "Soll der PC eine Loesung vorgeben?" 10 || e2e_fail "no conditions screen after 'j'"
    zq_snap
}

zq_open_conditions d
zq_conditions time=0 last=5 len=3 rep=n vac=n fixed=y guess=y devise=n name1=bob
zq_start_match
[ "$(roles_saved)" = "0 1" ] || e2e_fail "conditions file roles '$(roles_saved)', expected 0 1"
held=$(zq_oracle next "$seed")
zq_play_pc_guesses "$held" 5
e2e_wait_for "Spielende " 10 || e2e_fail "match 1 did not end"
zq_snap
[ "$(zq_end_count)" = "$ZQ_K" ] || e2e_fail "match 1: the end line shows '$(zq_end_count)' trials, not $ZQ_K"
first=$ZQ_K

# rematch: Bob guesses
back_to_conditions
[ "$(zq_at 23 38 20)" = "Bob                 " ] || e2e_fail "Bob is not the first player before the rematch"
[ "$(zq_at 24 38 20)" = "*** Der Computer ***" ] || e2e_fail "the computer is not the second player before the rematch"
e2e_send 2
e2e_wait_for "Spielbeginn" 10 || e2e_fail "'2' did not start the rematch"
zq_until 10 clean_board person || e2e_fail "the rematch does not start on a clean board"
zq_snap
[ "$(zq_at 12 1 38)" = "| Das Raetsel stammt vom Computer.    " ] || e2e_fail "rematch: the computer is not the encoder"
[ "$(zq_at 15 1 7)" = "| Bob. " ] || e2e_fail "rematch: Bob is not the codebreaker"
[ "$(roles_saved)" = "1 0" ] || e2e_fail "rematch: conditions file roles '$(roles_saved)', expected 1 0"
ZQ_HIST=""
zq_play_person_guesses "$seed" 12
e2e_wait_for "Spielende " 10 || e2e_fail "match 2 did not end"
zq_snap
[ "$(zq_end_count)" = "$ZQ_K" ] || e2e_fail "match 2: the end line shows '$(zq_end_count)' trials, not its own $ZQ_K (match 1 had $first)"
[ "$(zq_end_code)" = "$ZQ_LAST_GUESS" ] || e2e_fail "match 2: the end line shows '$(zq_end_code)', not $ZQ_LAST_GUESS"

# and back: the computer guesses again, Bob devises
back_to_conditions
[ "$(zq_at 23 38 20)" = "*** Der Computer ***" ] || e2e_fail "the computer is not the first player after the rematch"
[ "$(zq_at 24 38 20)" = "Bob                 " ] || e2e_fail "Bob is not the second player after the rematch"
e2e_send 2
e2e_wait_for "Spielbeginn" 10 || e2e_fail "the second '2' did not start a match"
zq_until 10 clean_board computer || e2e_fail "the second rematch does not start on a clean board"
zq_snap
[ "$(zq_at 13 1 7)" = "| Bob. " ] || e2e_fail "second rematch: Bob is not the encoder"
[ "$(zq_at 14 1 38)" = "| Die Loesung stammt vom Computer.    " ] || e2e_fail "second rematch: the computer is not the codebreaker"
[ "$(roles_saved)" = "0 1" ] || e2e_fail "second rematch: conditions file roles '$(roles_saved)', expected 0 1"
ZQ_HIST=""
held=$(zq_oracle next "$((seed + 1))")
zq_play_pc_guesses "$held" 5
e2e_wait_for "Spielende " 10 || e2e_fail "match 3 did not end"
zq_snap
[ "$(zq_end_count)" = "$ZQ_K" ] || e2e_fail "match 3: the end line shows '$(zq_end_count)' trials, not $ZQ_K"
[ "$(zq_end_code)" = "$held" ] || e2e_fail "match 3: the end line shows '$(zq_end_code)', not $held"
zq_finish
echo "ok"
