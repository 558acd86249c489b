#!/usr/bin/env bash
# Esc and Ctrl-C inside a match: in a person's guess, in a person's answer
# (P and Z) to the computer's guess, while the computer builds its store and
# while it searches; each ends the match at once, the end line shows no trial
# count, and the new-game question takes Esc and Ctrl-C as "no".
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
E2E_CAPTURE="$E2E_TMP/out.raw"  # what the game writes, checked at the end
e2e_start

main_menu() { e2e_expect_at 1 30 "Operating instructions:" "$1: main menu expected"; }
at() { e2e_wait_cursor "$1" "$2" 5 || e2e_fail "$3: cursor at $(e2e_cursor), expected ($1, $2)"; }

# The end of a broken-off match: "Game end", the end line, no trial count,
# the cursor on the new-game answer.
ended() {
    e2e_wait_at 19 3 "Game end " 5 || e2e_fail "$1: the match did not end ('$(e2e_text 19 3 9)' at (3, 19))"
    [ "$(e2e_text 25 45 6)" = "      " ] || e2e_fail "$1: a trial count '$(e2e_text 25 45 6)' on a broken-off match"
    at 70 25 "$1: new-game question"
}

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e
main_menu "start"

# ---- a person guesses the computer's fixed code (the defaults) ----------
e2e_send 5
at 73 20 "conditions screen"
e2e_send 1
e2e_wait_for "Game start:" 5 || e2e_fail "the board did not appear"
e2e_expect_at 9 48 "...." "the first guess field"
at 48 9 "first guess"
e2e_type "1"
e2e_expect_at 9 48 "1..." "a sign typed"
e2e_send Escape
ended "Esc in the first guess"
e2e_expect_at 25 1 "Answer:  " "end line after Esc in a guess"
secret=$(e2e_text 25 10 4)
echo "$secret" | grep -Eq '^[0-9]{4}$' || e2e_fail "the end line does not show the computer's code: '$secret'"
# keys the question does not know are ignored
e2e_send x 5
sleep 0.3
at 70 25 "keys other than yes and no at the new-game question"
e2e_send Escape
main_menu "Esc at the new-game question"

e2e_send 5
at 73 20 "conditions screen (2)"
e2e_send 1
e2e_wait_for "Game start:" 5 || e2e_fail "the board did not appear (2)"
at 48 9 "first guess (2)"
e2e_type "0000"  # never the secret: it repeats a sign, the code does not
e2e_wait_at 10 48 "...." 5 || e2e_fail "the second guess field did not open"
[ "$(e2e_text 9 56 3)" != " | " ] || e2e_fail "the first guess got no answer"
e2e_type "98"
e2e_send C-c
ended "Ctrl-C in the second guess"
e2e_send C-c
main_menu "Ctrl-C at the new-game question"

# ---- the computer guesses, a person answers ------------------------------
e2e_send 5
at 73 20 "conditions screen (3)"
e2e_send 3
at 69 10 "the walk"
e2e_send_burst Enter Enter Enter Enter Enter Enter Enter Enter
at 64 13 "computer guesses?"
e2e_send j
at 71 17 "computer devises?"
e2e_send n
at 38 23 "name of the encoder"
e2e_type "ann"
e2e_send Enter j
at 73 20 "the walk's end"
for key in Escape C-c; do
    for field in P Z; do
        e2e_send 1
        e2e_wait_for "Game start:" 5 || e2e_fail "the board did not appear ($key at $field)"
        at 56 9 "the P field of the computer's first guess"
        guess=$(e2e_text 9 48 4)
        echo "$guess" | grep -Eq '^[0-9]{4}$' || e2e_fail "no first guess of the computer: '$guess'"
        if [ "$field" = Z ]; then
            e2e_type "0"
            at 58 9 "the Z field after P = 0"
        fi
        e2e_send "$key"
        ended "$key in the answer's $field"
        e2e_expect_at 25 1 "Answer: " "end line of the computer codebreaker"
        e2e_expect_at 25 24 "        Trials made:" "end line of the computer codebreaker"
        e2e_expect_at 25 57 "   New game? Yes." "end line of the computer codebreaker"
        # Enter: a new game, back to the conditions screen
        e2e_send Enter
        at 73 20 "Enter at the new-game question"
    done
done

# ---- the computer against itself, on a large store ------------------------
# the ten digits, code length 7 with repetition: 10^7 codes, a build of a
# second or two (8 GiB, the default step, admit 13 signs at that length)
e2e_send 3
at 69 10 "the walk (large store)"
e2e_send_burst Enter Enter Enter Enter
at 30 16 "code length"
e2e_send 7
at 30 17 "repetition"
e2e_send j
at 30 18 "vacant sign"
e2e_send_burst Enter Enter
at 64 13 "computer guesses? (large store)"
e2e_send Enter
at 71 17 "computer devises? (large store)"
e2e_send j
at 73 20 "the walk's end (large store)"
e2e_expect_at 8 60 "13 " "capacity for code length 7 at 8 GiB"

# Esc during the build: the match ends at once, the bar not full
e2e_send 1
e2e_wait_at 25 44 "*" 20 || e2e_fail "the build shows no progress star"
e2e_send Escape
e2e_wait_at 19 3 "Game end " 3 || e2e_fail "Esc during the build did not end the match within 3 s"
[ "$(e2e_text 25 44 10)" != "**********" ] || e2e_fail "the build ran to its end after Esc"
ended "Esc during the build"
e2e_send Enter
at 73 20 "new game after the build"

# Esc during a search (time limit 10 s): the first trial whose guess is still
# open a second after its row appeared (an answer of 0, 0 to an opening guess
# brings another opening at once, without a search)
e2e_send 1
row=""
for r in 10 11 12; do
    e2e_wait_at "$r" 44 "$((r - 8))" 30 || e2e_fail "trial $((r - 8)) did not begin"
    sleep 1
    if [ "$(e2e_text "$r" 56 1)" = " " ]; then row=$r; break; fi
done
[ -n "$row" ] || e2e_fail "three trials in a row were answered within a second: no search to break"
e2e_send Escape
e2e_wait_at 19 3 "Game end " 3 || e2e_fail "Esc during the search did not end the match within 3 s"
[ "$(e2e_text "$row" 56 1)" = " " ] || e2e_fail "trial $((row - 8)) was answered although its search was broken off"
ended "Esc during the search"
e2e_send C-c
main_menu "Ctrl-C at the new-game question (large store)"

e2e_send 9
e2e_expect_clean_exit 0
e2e_capture_in_screen "$E2E_CAPTURE" || e2e_fail "the game wrote outside its 80 x 25 screen"
echo "ok"
