#!/usr/bin/env bash
# Started through a link whose name holds escape sequences (the shell's screen
# left, the cursor hidden, the window title set) and UTF-8: the farewell shows
# the path with '?' for them, and after the game the terminal is on the
# shell's screen with its cursor shown and its title unchanged.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"

link=$(printf 'zq\033[?1049h\033[?25l\033]2;pwned\007\303\244')
ln -s zentrovalquist "$E2E_RUN/$link" || e2e_fail "cannot make the link"
# the name goes through a file: tmux would not pass its control bytes on
printf './%s' "$link" >"$E2E_RUN/game_name.txt"
E2E_GAME='"$(cat game_name.txt)"'
e2e_start
title=$(e2e_tmux display-message -p -t "$E2E_SESSION" '#{pane_title}')

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send Escape
e2e_expect_clean_exit 0
e2e_wait_for "Bye-bye!" 5 || e2e_fail "no farewell"
e2e_screen | grep -F -x -q -- './zq?[?1049h?[?25l?]2;pwned???' || e2e_fail "the path is not shown with '?' for its control bytes"
state=$(e2e_tmux display-message -p -t "$E2E_SESSION" '#{alternate_on} #{cursor_flag}')
[ "$state" = "0 1" ] || e2e_fail "after the game: alternate screen and cursor flag are '$state', expected '0 1'"
now=$(e2e_tmux display-message -p -t "$E2E_SESSION" '#{pane_title}')
[ "$now" = "$title" ] || e2e_fail "the window title changed from '$title' to '$now'"
[ "$(e2e_file_size "$E2E_RUN/BEDINGUN.DAT" 2>/dev/null)" = 80 ] || e2e_fail "BEDINGUN.DAT missing or not 80 bytes"
echo "ok"
