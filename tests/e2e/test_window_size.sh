#!/usr/bin/env bash
# A window smaller than 80 x 25 is asked to grow and the game waits until it
# fits; later resizes are repainted; a screen waiting for a key idles.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
e2e_start 70 20

e2e_wait_for "too small" 10 || e2e_fail "no request to enlarge a 70 x 20 window"
e2e_wait_for "zu klein" 1 || e2e_fail "the request is not in German too"
e2e_resize 80 25
e2e_wait_for "English:" 10 || e2e_fail "the game did not start once the window fitted"
e2e_send e
e2e_wait_for "Operating instructions:" || e2e_fail "the English title page did not appear"
title=$(e2e_text 1 1 80)

# smaller, then large again: the whole screen comes back
e2e_resize 60 20
sleep 0.3
e2e_resize 80 25
e2e_wait_for "9 - End of the game." 5 || e2e_fail "the menu was not repainted after the resize"
[ "$(e2e_text 1 1 80)" = "$title" ] || e2e_fail "row 1 differs after the resize"

# waiting for a key costs (almost) no processor time (measured where /proc is)
if [ -d /proc/self ]; then
    pid=$(e2e_game_pid) || e2e_fail "the game's process was not found"
    hz=$(getconf CLK_TCK 2>/dev/null || echo 100)
    t0=$(e2e_cpu_ticks "$pid")
    sleep 3
    t1=$(e2e_cpu_ticks "$pid")
    used=$((t1 - t0))
    limit=$((hz * 3 * 2 / 100))  # 2 per cent of 3 seconds
    echo "idle: $used ticks of $((hz * 3)) in 3 s"
    [ "$used" -le "$limit" ] || e2e_fail "the waiting title page used $used of $((hz * 3)) ticks (over 2 per cent)"
fi

e2e_send 9
e2e_wait_exit 15 || e2e_fail "the game did not end after '9'"
e2e_wait_for "Bye-bye!" 5 || e2e_fail "no farewell"
echo "ok"
