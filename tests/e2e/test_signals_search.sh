#!/usr/bin/env bash
# Signals once the computer's search has helper threads. After a match of the
# computer against itself (its searches started the helpers) the user sets a
# time limit of 50 s on the conditions screen; two ending signals back to
# back then end the game with the first one's status, save the change and
# leave no temporary file. During a long search on every core: a flood of
# SIGWINCH leaves the board in place, SIGTSTP gives the terminal back and
# SIGCONT takes it again, and two ending signals (or one sent to the stopped
# game) end it within a second of the last one that can act, the terminal
# given back.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
[ -d /proc/self ] || e2e_skip "finding the game's process and its threads needs /proc"

dat="$E2E_RUN/BEDINGUN.DAT"
cores=$(nproc 2>/dev/null || echo 1)
leftovers() { (cd "$E2E_RUN" && ls -A | grep '\.tmp$' || true); }
now_ms() { date +%s%3N; }
threads_of() { ls "/proc/$1/task" 2>/dev/null | wc -l; }
state_of() { sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1; }

# conditions LENGTH LAST: the computer against itself, LENGTH signs from '0'
# or '1' to LAST with repetition, no time limit (colours, memory step 10,
# empty names)
conditions() {
    local first=49
    [ "$2" = 9 ] && first=48
    {
        printf "\\$(printf %o 31)\\$(printf %o 30)\\000\\$(printf %o "$1")\\010\\012"
        printf "\\$(printf %o $first)\\$(printf %o $((48 + $2)))\\000\\001\\000\\001\\001\\001"
        head -c 66 /dev/zero | tr '\0' ' '
    } >"$dat"
    [ "$(e2e_file_size "$dat")" = 80 ] || e2e_fail "the test's conditions record is not 80 bytes"
}

# expect_saved WHAT STATUSES OFFSET VALUE: the game has ended with one of
# STATUSES (two signals that are both pending when the game comes to them are
# taken in the kernel's order, not in the order sent), given the terminal
# back, and left BEDINGUN.DAT with VALUE at OFFSET and no temporary file.
expect_saved() {
    e2e_wait_exit 15 || e2e_fail "$1: the game did not end"
    case " $2 " in *" $(e2e_rc) "*) ;; *) e2e_fail "$1: exit status $(e2e_rc), expected one of $2" ;; esac
    e2e_stty_has icanon && e2e_stty_has echo || e2e_fail "$1: terminal not restored ($(cat "$E2E_RUN/stty.txt"))"
    [ -z "$(leftovers)" ] || e2e_fail "$1: left behind: $(leftovers)"
    [ "$(e2e_file_size "$dat")" = 80 ] || e2e_fail "$1: BEDINGUN.DAT is not 80 bytes"
    [ "$(e2e_dat_byte "$3")" = "$4" ] || e2e_fail "$1: byte $3 of BEDINGUN.DAT is $(e2e_dat_byte "$3"), expected $4"
}

# ---- two ending signals at the conditions screen, helpers started ----------
status_of() { case $1 in HUP) echo 129 ;; INT) echo 130 ;; QUIT) echo 131 ;; TERM) echo 143 ;; esac; }
run=0
for pair in TERM:HUP HUP:TERM INT:QUIT; do
    run=$((run + 1))
    first=${pair%%:*}
    second=${pair#*:}
    conditions 5 8
    if [ "$run" = 1 ]; then e2e_start; else e2e_restart; fi
    e2e_wait_for "English:" 15 || e2e_fail "$pair: the language screen did not appear"
    e2e_send e 5 1
    e2e_wait_for "New game? Yes." 60 || e2e_fail "$pair: the match did not end"
    pid=$(e2e_game_pid) || e2e_fail "$pair: the game's process was not found"
    [ "$cores" -lt 2 ] || [ "$(threads_of "$pid")" -ge 2 ] || e2e_fail "$pair: no helper thread after the match"
    e2e_send Enter 3 5 Enter
    e2e_wait_for "Timelimit (only for computer): 50 sec." 5 || e2e_fail "$pair: the time limit was not set"
    kill -s "$first" "$pid"
    kill -s "$second" "$pid" 2>/dev/null  # it may be gone already
    expect_saved "$pair" "$(status_of "$first") $(status_of "$second")" 2 5
done

# ---- a long search on every core ---------------------------------------------
# searching: true once the computer has thought over a trial for 2 s
searching() {
    local end=$(($(date +%s) + 40)) row
    while [ "$(date +%s)" -lt "$end" ]; do
        for row in 10 11 12; do
            [ "$(e2e_text "$row" 42 3)" != "   " ] && [ "$(e2e_text "$row" 56 1)" = " " ] || continue
            sleep 2
            [ "$(e2e_text "$row" 56 1)" = " " ] && return 0
        done
        sleep 0.2
    done
    return 1
}

conditions 7 9
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "search 1: the language screen did not appear"
e2e_send e 5 1
searching || e2e_fail "search 1: no long search began"
pid=$(e2e_game_pid) || e2e_fail "search 1: the game's process was not found"
[ "$cores" -lt 2 ] || [ "$(threads_of "$pid")" -ge 2 ] || e2e_fail "search 1: the search has no helper thread"
for i in $(seq 1 200); do kill -WINCH "$pid"; done
sleep 0.5
e2e_wait_for "Game start:" 2 || e2e_fail "search 1: the board is gone after a flood of SIGWINCH"
kill -TSTP "$pid"
e2e_wait_gone "Game start:" 2 || e2e_fail "search 1: the board is still shown after SIGTSTP"
[ "$(state_of "$pid")" = T ] || e2e_fail "search 1: the game is not stopped after SIGTSTP ($(state_of "$pid"))"
kill -CONT "$pid"
e2e_wait_for "Game start:" 3 || e2e_fail "search 1: the board did not come back after SIGCONT"
t0=$(now_ms)
kill -TERM "$pid"
kill -HUP "$pid" 2>/dev/null
e2e_wait_exit 5 || e2e_fail "search 1: the game did not end after SIGTERM and SIGHUP"
t1=$(now_ms)
echo "search 1: ended $((t1 - t0)) ms after SIGTERM and SIGHUP"
[ $((t1 - t0)) -le 1000 ] || e2e_fail "search 1: the game took $((t1 - t0)) ms to end"
expect_saved "search 1" "143 129" 3 7

# an ending signal to the stopped game acts once the game goes on
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "search 2: the language screen did not appear"
e2e_send e 5 1
searching || e2e_fail "search 2: no long search began"
pid=$(e2e_game_pid) || e2e_fail "search 2: the game's process was not found"
kill -TSTP "$pid"
for i in $(seq 1 20); do [ "$(state_of "$pid")" = T ] && break; sleep 0.1; done
kill -TERM "$pid"
sleep 0.3
[ "$(state_of "$pid")" = T ] || e2e_fail "search 2: the game is not stopped ($(state_of "$pid"))"
[ -z "$(leftovers)" ] || e2e_fail "search 2: stopped with a temporary file: $(leftovers)"
t0=$(now_ms)
kill -CONT "$pid"
e2e_wait_exit 5 || e2e_fail "search 2: the game did not end after SIGCONT"
t1=$(now_ms)
echo "search 2: ended $((t1 - t0)) ms after SIGCONT"
[ $((t1 - t0)) -le 1000 ] || e2e_fail "search 2: the game took $((t1 - t0)) ms to end"
expect_saved "search 2" 143 3 7
echo "ok"
