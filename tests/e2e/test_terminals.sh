#!/usr/bin/env bash
# The game under five terminal types (tmux's default-terminal, so the TERM the
# game sees): xterm, xterm-256color, screen, tmux-256color and linux. For each,
# the keys as that terminal type sends them (its terminal description where
# installed, else the usual sequences) and as tmux sends them: cursor keys,
# F1, F4, PgUp, PgDn, Del, Backspace and Enter work and the screens stand
# where they belong; a window of 80 x 24 is asked to grow and told why.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
[ -d /proc/self ] || e2e_skip "checking the game's TERM needs /proc"

# The usual sequences, used when no description of the type is installed.
fallback() {
    case "$1:$2" in
        linux:kf1) echo 1b 5b 5b 41 ;;
        linux:kf4) echo 1b 5b 5b 44 ;;
        linux:kcuu1) echo 1b 5b 41 ;;
        linux:kcud1) echo 1b 5b 42 ;;
        linux:kcuf1) echo 1b 5b 43 ;;
        linux:kcub1) echo 1b 5b 44 ;;
        *:kf1) echo 1b 4f 50 ;;
        *:kf4) echo 1b 4f 53 ;;
        *:kcuu1) echo 1b 4f 41 ;;
        *:kcud1) echo 1b 4f 42 ;;
        *:kcuf1) echo 1b 4f 43 ;;
        *:kcub1) echo 1b 4f 44 ;;
        *:kbs) echo 7f ;;
        *:kpp) echo 1b 5b 35 7e ;;
        *:knp) echo 1b 5b 36 7e ;;
        *:kdch1) echo 1b 5b 33 7e ;;
    esac
}

# key CAP: sends the key CAP (a terminfo capability name) of the type in use.
key() {
    local hex=""
    if command -v tput >/dev/null 2>&1; then
        hex=$(tput -T"$term" "$1" 2>/dev/null | od -An -tx1 | tr -s ' \n' '  ')
    fi
    [ -n "${hex// /}" ] || hex=$(fallback "$term" "$1")
    [ -n "$hex" ] || e2e_fail "$term: no sequence for $1"
    # one whole sequence per write, so a short pause after it is enough
    # shellcheck disable=SC2086
    e2e_tmux send-keys -t "$E2E_SESSION" -H $hex || e2e_fail "$term: send-keys -H $hex"
    sleep 0.03
}

at() { e2e_wait_cursor "$1" "$2" 5 || e2e_fail "$term: $3: cursor at $(e2e_cursor), expected ($1, $2)"; }
title() { e2e_expect_at 1 30 "Operating instructions:" "$term: $1: English title page"; }

one_terminal() {
    E2E_TERM=$term
    E2E_CAPTURE="$E2E_TMP/out.$term"
    : >"$E2E_CAPTURE"
    if [ "$first" = 1 ]; then e2e_start 80 24; else e2e_restart 80 24; fi
    first=0

    # a window one row short: the request to grow, and the message
    e2e_wait_for "The window is too small (80 x 24)." 10 || e2e_fail "$term: no message in an 80 x 24 window"
    e2e_wait_for "Das Fenster ist zu klein (80 x 24)." 1 || e2e_fail "$term: the message is not in German too"
    grep -q -F "$(printf '\033[8;25;80t')" "$E2E_CAPTURE" || e2e_fail "$term: the window was not asked to become 80 x 25"
    e2e_resize 80 25
    e2e_wait_for "English:" 10 || e2e_fail "$term: the game did not start once the window fitted"

    local pid seen
    pid=$(e2e_game_pid) || e2e_fail "$term: the game's process was not found"
    seen=$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^TERM=//p')
    [ "$seen" = "$term" ] || e2e_fail "the game sees TERM='$seen', expected '$term'"

    # extended keys at the language screen are swallowed whole: none of them
    # may end the game (Esc) or choose a language (a stray 'D' or 'E')
    key kf1; key kf4; key kcuu1; key kcub1; key kcud1; key knp; key kdch1
    sleep 0.3
    e2e_expect_at 12 1 " English:" "$term: language screen after extended keys"
    [ ! -s "$E2E_RUN/rc.txt" ] || e2e_fail "$term: an extended key ended the game at the language screen"
    e2e_send e
    title "after 'e'"

    # configuration page: the marked step follows the cursor keys
    e2e_send 8
    e2e_expect_at 18 39 "b (*):   8 GiB" "$term: configuration"
    key kcud1
    e2e_expect_at 19 39 "c (*):  16 GiB" "$term: Down from b"
    e2e_expect_at 18 39 "b ( ):   8 GiB" "$term: b no longer marked"
    key kcub1
    e2e_expect_at 19 3 "3 (*):  64 MiB" "$term: Left from c"
    key kcuu1
    e2e_expect_at 18 3 "2 (*):   8 MiB" "$term: Up from 3"
    key kcuf1
    e2e_expect_at 18 39 "b (*):   8 GiB" "$term: Right from 2"
    e2e_send Down Up  # tmux's own forms of the cursor keys
    e2e_expect_at 18 39 "b (*):   8 GiB" "$term: Down and Up (tmux keys)"
    e2e_send Enter
    title "Enter on the configuration page"

    # detailed instructions: PgDn, PgUp, Backspace
    e2e_send 7
    e2e_wait_for "***  Zentrovalquist  ***" 5 || e2e_fail "$term: page 1 of the instructions"
    key knp
    e2e_wait_for "The present fundamentally improved computerversion:" 5 || e2e_fail "$term: PgDn to page 2"
    key kpp
    e2e_wait_for "***  Zentrovalquist  ***" 5 || e2e_fail "$term: PgUp back to page 1"
    key knp
    e2e_wait_for "The present fundamentally improved computerversion:" 5 || e2e_fail "$term: PgDn to page 2 (again)"
    key kbs
    e2e_wait_for "***  Zentrovalquist  ***" 5 || e2e_fail "$term: Backspace back to page 1"
    e2e_send Escape
    title "Esc in the instructions"

    # calendar: a typed digit changes the year, F1 brings today back
    e2e_send 3
    local year
    year=$(e2e_text 18 37 4)
    [ "$year" = "$(date +%Y)" ] || e2e_fail "$term: calendar opens on the year '$year'"
    local d=1
    [ "${year:0:1}" != 1 ] || d=3
    e2e_type "$d"
    e2e_expect_at 18 37 "$d${year:1:3}" "$term: year after typing $d"
    at 38 18 "after the year's first digit"
    key kf1
    e2e_expect_at 18 37 "$year" "$term: F1 brings back the year"
    e2e_send Enter
    title "Enter in the calendar"

    # a guess: Backspace, cursor keys, Del, F4 (ignored), then a full guess
    e2e_send 5
    at 73 20 "conditions screen"
    e2e_expect_at 20 37 " Please choose now (1, 2, 3 or 4):  1.    " "$term: conditions screen row 20"
    e2e_send Enter  # Enter counts as '1'
    e2e_wait_for "Game start:" 5 || e2e_fail "$term: the board did not appear after Enter"
    at 48 9 "first guess"
    e2e_type 1
    at 49 9 "after one sign"
    key kbs
    at 48 9 "Backspace"
    e2e_expect_at 9 48 "1..." "$term: Backspace clears the position it leaves, not the one before"
    key kcub1
    at 51 9 "Left from position 1 wraps to the last"
    key kcuf1
    at 48 9 "Right from the last wraps to position 1"
    key kdch1
    e2e_expect_at 9 48 "...." "$term: Del clears the position"
    at 49 9 "Del moves right"
    key kf4
    key kf1
    sleep 0.2
    e2e_expect_at 9 48 "...." "$term: F4 and F1 change nothing in a guess"
    at 49 9 "F4 and F1 in a guess"
    e2e_type 123
    e2e_type 4
    e2e_expect_at 9 48 "4123" "$term: the guess as typed from position 2 round to 1"
    e2e_wait_at 10 48 "...." 5 || e2e_fail "$term: the next guess row did not open"
    [ "$(e2e_text 9 56 3)" != " | " ] || e2e_fail "$term: the guess got no answer"
    e2e_send Escape
    e2e_wait_at 19 3 "Game end " 5 || e2e_fail "$term: Esc did not end the match"
    e2e_send n
    title "'n' after the match"
    e2e_send 9
    e2e_expect_clean_exit 0
    e2e_wait_for "Bye-bye!" 5 || e2e_fail "$term: no farewell"
    e2e_capture_in_screen "$E2E_CAPTURE" || e2e_fail "$term: the game wrote outside its 80 x 25 screen"
}

first=1
for term in xterm xterm-256color screen tmux-256color linux; do
    s=$(date +%s%N); one_terminal
    echo "$term: ok ($(( ($(date +%s%N) - s) / 1000000 )) ms)"
done
echo "ok"
