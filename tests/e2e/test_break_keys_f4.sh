#!/usr/bin/env bash
# F4 asks the computer to decide soon. The computer guesses a person's code
# (ten digits, code length 7 with repetition, no time limit), the person
# answers so that a long search follows. F4 pressed in the search's first
# seconds waits until the search has run over 5 s and then ends it: the guess
# comes and the break counter shows 1; F4 in the next long search shows 2.
# Esc in the search after that ends the match within a few tenths.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
e2e_start

at() { e2e_wait_cursor "$1" "$2" 5 || e2e_fail "$3: cursor at $(e2e_cursor), expected ($1, $2)"; }
now_ms() { date +%s%3N; }

# answer ROW: types an answer to the computer's guess of ROW that some code
# still possible gives (the program refuses the others), leaving out 0, 0
# (which keeps the computer in its openings, without a search)
answer() {
    local row=$1 p z
    at 56 "$row" "the P field of trial $((row - 8))"
    for p in 1 2 0 3; do
        e2e_type "$p"
        sleep 0.2
        [ "$(e2e_text "$row" 56 1)" = "$p" ] || continue  # P refused
        [ "$(e2e_text "$row" 58 1)" = " " ] || return 0     # Z filled in, being the only one
        for z in 1 2 3 4; do
            [ $((p + z)) -gt 0 ] || continue
            e2e_type "$z"
            sleep 0.2
            if [ "$(e2e_cursor)" != "58 $row" ]; then
                [ "$(e2e_text "$row" 58 1)" = "$z" ] || e2e_fail "Z of trial $((row - 8)) shows '$(e2e_text "$row" 58 1)'"
                return 0
            fi
        done
        e2e_send BSpace  # back to P
        at 56 "$row" "Backspace from Z"
    done
    e2e_fail "no answer to trial $((row - 8)) was accepted"
}

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e 5
at 73 20 "conditions screen"
e2e_send 3
at 69 10 "time limit"
# time limit 0, code length 7, repetition, computer guesses, a person devises
e2e_send 0 Enter Enter Enter 7 j Enter Enter j n
at 38 23 "first player's name"
e2e_type "ann"
e2e_send Enter j
at 73 20 "end of the walk"
e2e_expect_at 10 69 "0" "time limit 0"
e2e_send 1
e2e_wait_for "Game start:" 5 || e2e_fail "the board did not appear"

# trial 1 is an opening guess; its answer starts the first real search
e2e_wait_cursor 56 9 20 || e2e_fail "the computer's first guess is not waiting for its answer"
answer 9
e2e_wait_at 10 44 "2" 20 || e2e_fail "trial 2 did not begin"
t0=$(now_ms)
sleep 1
[ "$(e2e_text 10 56 1)" = " " ] || e2e_skip "the second search was over within a second; no long search to break"
e2e_send F4
e2e_wait_at 15 3 "Number of breaks: 1." 15 || e2e_fail "F4 did not end the search within 15 s"
t1=$(now_ms)
echo "F4 pressed after about 1 s; the search ended after $((t1 - t0)) ms"
[ $((t1 - t0)) -ge 4500 ] || e2e_fail "the search broke off after $((t1 - t0)) ms, before it had run 5 s"
at 56 10 "the P field of trial 2 after the break"
[ "$(e2e_text 10 48 7)" != "       " ] || e2e_fail "no guess in trial 2 after the break"

# the next search: F4 once it has run for 6 s ends it at once
answer 10
e2e_wait_at 11 44 "3" 20 || e2e_fail "trial 3 did not begin"
sleep 6
[ "$(e2e_text 11 56 1)" = " " ] || e2e_skip "the third search was over within 6 s; no long search to break"
t0=$(now_ms)
e2e_send F4
e2e_wait_at 15 21 "2." 10 || e2e_fail "F4 did not end the second long search ('$(e2e_text 15 1 30)' on row 15)"
t1=$(now_ms)
echo "F4 after 6 s of search: the guess came $((t1 - t0)) ms later"
[ $((t1 - t0)) -le 3000 ] || e2e_fail "the search went on $((t1 - t0)) ms after F4"
e2e_expect_at 15 3 "Number of breaks: 2." "break counter"
at 56 11 "the P field of trial 3 after the break"

# Esc while the computer searches ends the match at once
answer 11
e2e_wait_at 12 44 "4" 20 || e2e_fail "trial 4 did not begin"
sleep 1
searching=$([ "$(e2e_text 12 56 1)" = " " ] && echo 1 || echo 0)
t0=$(now_ms)
e2e_send Escape
e2e_wait_at 19 3 "Game end " 5 || e2e_fail "Esc did not end the match"
t1=$(now_ms)
if [ "$searching" = 1 ]; then
    echo "Esc during the search: the match ended $((t1 - t0)) ms later"
    [ $((t1 - t0)) -le 400 ] || e2e_fail "the match ended $((t1 - t0)) ms after Esc in the search"
fi
e2e_send n 9
e2e_expect_clean_exit 0
echo "ok"
