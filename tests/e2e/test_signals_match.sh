#!/usr/bin/env bash
# SIGHUP and SIGTERM while a person types a guess, and the window closed under
# a running match: the game ends by the signal, gives the terminal back
# (cooked, echo, the shell's screen) and leaves BEDINGUN.DAT one 80-byte
# record with the conditions of the match; no process of the game is left.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
[ -d /proc/self ] || e2e_skip "finding the game's process needs /proc"
e2e_start

at() { e2e_wait_cursor "$1" "$2" 5 || e2e_fail "$3: cursor at $(e2e_cursor), expected ($1, $2)"; }

# The conditions set below, as BEDINGUN.DAT must hold them.
check_file() {
    local dat="$E2E_RUN/BEDINGUN.DAT"
    [ -f "$dat" ] || e2e_fail "$1: BEDINGUN.DAT is missing"
    [ "$(e2e_file_size "$dat")" = 80 ] || e2e_fail "$1: BEDINGUN.DAT has $(e2e_file_size "$dat") bytes, expected 80"
    local w off val got
    # time 2, length 5, signs '0'..'f', sound, repetition, vacant sign,
    # computer devises, person guesses, fixed; second name "Zoe"
    for w in 2:2 3:5 6:48 7:102 8:1 9:1 10:1 11:1 12:0 13:1 48:90 49:111 50:101 51:32; do
        off=${w%%:*}
        val=${w#*:}
        got=$(e2e_dat_byte "$off")
        [ "$got" = "$val" ] || e2e_fail "$1: byte $off of BEDINGUN.DAT is $got, expected $val"
    done
}

# board_ready WHAT: the match has started and waits in the first guess
board_ready() {
    e2e_wait_for "Game start:" 10 || e2e_fail "$1: the board did not appear"
    e2e_expect_at 9 48 "....." "$1: the first guess field"
    at 48 9 "$1: first guess"
}

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e 5
at 73 20 "conditions screen"
e2e_send 3
at 69 10 "time limit"
e2e_send 2 j
at 30 13 "first sign"
e2e_send Enter f 5 j j Enter Enter
at 38 24 "second player's name"
e2e_type "zoe"
e2e_send Enter j
at 71 17 "computer devises"
e2e_send Enter
at 73 20 "end of the walk"

# ---- SIGHUP in the second guess ---------------------------------------------
e2e_send 1
board_ready "run 1"
e2e_type "01234"
e2e_wait_at 10 48 "....." 5 || e2e_fail "run 1: the second guess field did not open"
e2e_type "ab"
e2e_signal HUP
e2e_expect_clean_exit 129
e2e_wait_gone "Game start:" 2 || e2e_fail "run 1: the board is still shown after SIGHUP"
check_file "after SIGHUP"

# ---- SIGTERM in the first guess of the next run -----------------------------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "run 2: the language screen did not appear"
e2e_send e 5
at 73 20 "run 2: conditions screen"
e2e_expect_at 16 30 "5" "run 2: code length kept"
e2e_send 1
board_ready "run 2"
e2e_type "f"
e2e_signal TERM
e2e_expect_clean_exit 143
e2e_wait_gone "Game start:" 2 || e2e_fail "run 2: the board is still shown after SIGTERM"
check_file "after SIGTERM"

# ---- the window closed under a match ------------------------------------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "run 3: the language screen did not appear"
e2e_send e 5 1
board_ready "run 3"
e2e_game_pid >/dev/null || e2e_fail "run 3: the game's process was not found"
rm -f -- "$E2E_RUN/BEDINGUN.DAT"
e2e_tmux kill-window -t "$E2E_SESSION" || e2e_fail "tmux kill-window"
e2e_wait_no_game 10 || e2e_fail "run 3: the game is still running 10 s after its window was closed"
check_file "after the window was closed"
echo "ok"
