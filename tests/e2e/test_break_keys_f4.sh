#!/usr/bin/env bash
# F4 asks the computer to decide soon. The computer guesses a person's code
# (eleven signs 0..9 and a, code length 7 with repetition: 19.5 million codes,
# no time limit), the person answers so that a long search follows. F4 pressed
# in the search's first seconds waits until the search has run over 5 s and
# then ends it: the guess comes and the break counter shows 1; F4 in the next
# long search shows 2. Esc in the search after that ends the match within a
# few tenths.
#
# Each of these searches runs for minutes on two cores of 2 GHz (the store is
# 1.3 GB), so even a machine many times as fast is still searching when the
# keys come; a search over before them is a failure, not a reason to skip.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
e2e_start

at() { e2e_wait_cursor "$1" "$2" 5 || e2e_fail "$3: cursor at $(e2e_cursor), expected ($1, $2)"; }
now_ms() { date +%s%3N; }
# Seconds to wait for an answer's digit to appear or the first guess to
# come: the program weighs each digit against its 19.5 million codes, which a
# sanitized build does many times as slowly.
if grep -a -q __asan_init "$E2E_BIN"; then echo_wait=20 first_wait=120; else echo_wait=2 first_wait=20; fi

# the computer is still searching for the guess of trial row ROW: once it has
# chosen, the guess stands in the row and the cursor waits in its P field
searching() { [ "$(e2e_cursor)" != "56 $1" ]; }

# the store and its copy for the search need well over a gigabyte
avail_kb=$(awk '/^MemAvailable:/ { print $2 }' /proc/meminfo 2>/dev/null)
[ -z "$avail_kb" ] || [ "$avail_kb" -ge 3000000 ] ||
    e2e_skip "only $((avail_kb / 1024)) MiB of memory available; the 19.5 million codes need about 1.3 GiB beside a reserve"

# answer ROW: types an answer to the computer's guess of ROW that some code
# still possible gives (the program refuses the others), leaving out 0, 0
# (which keeps the computer in its openings, without a search)
answer() {
    local row=$1 p z
    at 56 "$row" "the P field of trial $((row - 8))"
    for p in 1 2 0 3; do
        e2e_type "$p"
        e2e_wait_at "$row" 56 "$p" "$echo_wait" || continue  # P refused: the field stays blank
        sleep 0.2
        [ "$(e2e_text "$row" 58 1)" = " " ] || return 0     # Z filled in, being the only one
        for z in 1 2 3 4; do
            [ $((p + z)) -gt 0 ] || continue
            e2e_type "$z"
            # taken, the digit stands in the Z field, and the cursor stays there
            # while the computer narrows its store; refused, the field stays blank
            e2e_wait_at "$row" 58 "$z" "$echo_wait" && return 0
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
# time limit 0, signs 0..a, code length 7, repetition, computer guesses, a
# person devises
e2e_send 0 Enter Enter a 7 j Enter Enter j n
at 38 23 "first player's name"
e2e_type "ann"
e2e_send Enter j
at 73 20 "end of the walk"
e2e_expect_at 10 69 "0" "time limit 0"
e2e_expect_at 15 30 "0123456789a " "the set of signs"
e2e_send 1
e2e_wait_for "Game start:" 5 || e2e_fail "the board did not appear"

# trial 1 is an opening guess; its answer starts the first real search
e2e_wait_cursor 56 9 "$first_wait" || e2e_fail "the computer's first guess is not waiting for its answer"
answer 9
# timed from the answer: the search (and its clock) starts after it, once the
# store is narrowed, so the time to the break is never undercounted however
# late the trial's number is seen
t0=$(now_ms)
e2e_wait_at 10 44 "2" "$first_wait" || e2e_fail "trial 2 did not begin"
sleep 1
searching 10 || e2e_fail "the second search was over within a second (guess $(e2e_text 10 48 7)); no long search to break"
e2e_send F4
e2e_wait_at 15 3 "Number of breaks: 1." 15 || e2e_fail "F4 did not end the search within 15 s"
t1=$(now_ms)
echo "F4 pressed a second into the search; it ended $((t1 - t0)) ms after the answer"
[ $((t1 - t0)) -ge 4500 ] || e2e_fail "the search broke off after $((t1 - t0)) ms, before it had run 5 s"
at 56 10 "the P field of trial 2 after the break"
[ "$(e2e_text 10 48 7)" != "       " ] || e2e_fail "no guess in trial 2 after the break"

# the next search: F4 once it has run for 6 s ends it at once
answer 10
e2e_wait_at 11 44 "3" 20 || e2e_fail "trial 3 did not begin"
sleep 6
searching 11 || e2e_fail "the third search was over within 6 s (guess $(e2e_text 11 48 7)); no long search to break"
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
searching=$(searching 12 && echo 1 || echo 0)
t0=$(now_ms)
e2e_send Escape
e2e_wait_at 19 3 "Game end " 5 || e2e_fail "Esc did not end the match"
t1=$(now_ms)
if [ "$searching" = 1 ]; then
    echo "Esc during the search: the match ended $((t1 - t0)) ms later"
    [ $((t1 - t0)) -le 400 ] || e2e_fail "the match ended $((t1 - t0)) ms after Esc in the search"
else
    echo "the fourth search was over within a second; Esc ended the match from the answer"
fi
e2e_send n 9
e2e_expect_clean_exit 0
echo "ok"
