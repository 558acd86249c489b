#!/usr/bin/env bash
# Every signal that ends the game gives the terminal back: the rarer ones
# (SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ)
# each end it by the signal, cooked, on the shell's screen, with the
# conditions kept. Then a frozen terminal: the tmux server is stopped, so the
# game's repaints after 40 resizes fill the output and its writes block; an
# interrupt, a quit 0.3 s later, and the server goes on: the terminal must be
# cooked and the game ended by the interrupt.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
[ -d /proc/self ] || e2e_skip "finding the game's process needs /proc"

# ended_by NAME NUMBER WHAT: the game has ended by signal NUMBER and left the
# terminal as the shell had it.
ended_by() {
    e2e_wait_exit 15 || e2e_fail "$3: the game did not end after SIG$1"
    [ "$(e2e_rc)" = $((128 + $2)) ] || e2e_fail "$3: exit status $(e2e_rc), expected $((128 + $2)) (SIG$1)"
    local flag
    for flag in icanon echo isig icrnl; do
        e2e_stty_has "$flag" || e2e_fail "$3: terminal not restored after SIG$1: '$flag' is off"
    done
    e2e_wait_gone "Operating instructions:" 2 || e2e_fail "$3: the game's screen is still shown after SIG$1"
}

title_page() {
    e2e_wait_for "English:" 15 || e2e_fail "$1: the language screen did not appear"
    e2e_send e
    e2e_wait_for "Operating instructions:" || e2e_fail "$1: the English title page did not appear"
}

first=1
for sig in PIPE USR1 USR2 ALRM VTALRM PROF XCPU XFSZ; do
    if [ "$first" = 1 ]; then e2e_start; else e2e_restart; fi
    first=0
    rm -f -- "$E2E_RUN/BEDINGUN.DAT"
    title_page "SIG$sig"
    e2e_signal "$sig"
    ended_by "$sig" "$(kill -l "$sig")" "SIG$sig"
    [ "$(e2e_file_size "$E2E_RUN/BEDINGUN.DAT" 2>/dev/null)" = 80 ] ||
        e2e_fail "SIG$sig: the conditions were not kept (BEDINGUN.DAT missing or not 80 bytes)"
done

# ---- two signals while the terminal does not read ---------------------------
e2e_restart
title_page "frozen terminal"
server=$(e2e_tmux display-message -p '#{pid}') || e2e_fail "no pid of the tmux server"
pid=$(e2e_game_pid) || e2e_fail "the game's process was not found"
kill -STOP "$server" || e2e_fail "cannot stop the tmux server"
# from here until the server goes on, no tmux command may be used
resume() { kill -CONT "$server" 2>/dev/null; }
trap 'resume; e2e_cleanup' EXIT
for i in $(seq 1 40); do
    kill -WINCH "$pid"
    sleep 0.01
done
sleep 0.3
kill -INT "$pid"
sleep 0.3
kill -QUIT "$pid"
sleep 0.2
resume
ended_by INT 2 "frozen terminal"
echo "ok"
