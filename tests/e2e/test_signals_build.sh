#!/usr/bin/env bash
# SIGHUP, SIGTERM and the terminal closed (tmux server gone) while the
# computer builds its candidate store: 11 signs, code length 7 with
# repetition, 19487171 codes, a build of some seconds with its star bar on
# row 25; memory step a (4 GiB) admits 12 signs at that length. Each way the
# game ends, the terminal is given back, no process is left, and
# BEDINGUN.DAT is one 80-byte record of the conditions in force (the vacant
# sign saved as the user set it, although the computer guesses without it).
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
[ -d /proc/self ] || e2e_skip "finding the game's process needs /proc"
e2e_start

at() { e2e_wait_cursor "$1" "$2" 5 || e2e_fail "$3: cursor at $(e2e_cursor), expected ($1, $2)"; }

check_file() {
    local dat="$E2E_RUN/BEDINGUN.DAT"
    [ -f "$dat" ] || e2e_fail "$1: BEDINGUN.DAT is missing"
    [ "$(e2e_file_size "$dat")" = 80 ] || e2e_fail "$1: BEDINGUN.DAT has $(e2e_file_size "$dat") bytes, expected 80"
    local w off val got
    # time 0, length 7, step 9, signs '0'..'a', repetition, vacant sign,
    # the computer in both roles, fixed
    for w in 2:0 3:7 5:9 6:48 7:97 9:1 10:1 11:1 12:1 13:1; do
        off=${w%%:*}
        val=${w#*:}
        got=$(e2e_dat_byte "$off")
        [ "$got" = "$val" ] || e2e_fail "$1: byte $off of BEDINGUN.DAT is $got, expected $val"
    done
}

# building WHAT: the build has begun (a star on row 25) and is not done
building() {
    e2e_wait_at 25 44 "*" 20 || e2e_fail "$1: the build shows no progress star"
    [ "$(e2e_text 25 44 10)" != "**********" ] || e2e_fail "$1: the build was over before the signal"
    e2e_game_pid >/dev/null || e2e_fail "$1: the game's process was not found"
}

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e 8 a Enter 5
at 73 20 "conditions screen"
e2e_expect_at 2 69 "|   4 GiB |" "memory step a"
e2e_send 3
at 69 10 "time limit"
e2e_send 0 Enter Enter a 7 j j Enter j j
at 73 20 "end of the walk"
e2e_expect_at 8 60 "12 " "capacity for code length 7 at 4 GiB"
e2e_expect_at 18 30 "Yes. " "vacant sign on"

# ---- SIGHUP during the build -------------------------------------------------
e2e_send 1
building "run 1"
e2e_signal HUP
e2e_expect_clean_exit 129
e2e_wait_gone "Game start:" 2 || e2e_fail "run 1: the board is still shown after SIGHUP"
e2e_wait_no_game 5 || e2e_fail "run 1: the game is still running"
check_file "after SIGHUP"

# ---- SIGTERM during the build of the next run ------------------------------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "run 2: the language screen did not appear"
e2e_send e 5
at 73 20 "run 2: conditions screen"
e2e_expect_at 16 30 "7" "run 2: code length kept"
e2e_send 1
building "run 2"
e2e_signal TERM
e2e_expect_clean_exit 143
e2e_wait_gone "Game start:" 2 || e2e_fail "run 2: the board is still shown after SIGTERM"
e2e_wait_no_game 5 || e2e_fail "run 2: the game is still running"
check_file "after SIGTERM"

# ---- the terminal closed during the build ----------------------------------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "run 3: the language screen did not appear"
e2e_send e 5 1
building "run 3"
# the game saves its conditions on the way out: take the old record away first
rm -f -- "$E2E_RUN/BEDINGUN.DAT"
e2e_tmux kill-server || e2e_fail "tmux kill-server"
e2e_wait_no_game 10 || e2e_fail "run 3: the game is still running 10 s after the terminal was closed"
check_file "after the terminal was closed"
echo "ok"
