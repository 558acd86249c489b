#!/usr/bin/env bash
# The computer guesses under an address-space limit (ulimit -v), as a user
# may start the game with one.
# Run 1, ulimit -v 200000: 3 positions over 3 signs (27 codes) is a small
# store, and the computer plays the match to its end, cracking the code held.
# Run 2, ulimit -v 1000000: 6 positions over 16 signs with repetition (16.7
# million codes of 64 bytes, a gigabyte) cannot fit beside the game; the
# match ends at once, as after a failed allocation, without building any
# part of the store first, and the terminal is given back when the game ends.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
[ -d /proc/self ] || e2e_skip "reading the game's CPU time needs /proc"
# the address sanitizer reserves terabytes of address space for its shadow
if grep -a -q __asan_init "$E2E_BIN"; then e2e_skip "a sanitized binary cannot run under ulimit -v"; fi
# the limit must not stop the shell that sets it
sh -c 'ulimit -v 200000' 2>/dev/null || e2e_skip "the shell cannot set ulimit -v"
zq_oracle_init

# ---- run 1: a small store under 200 MB of address space -----------------------
E2E_BEFORE="ulimit -v 200000"
e2e_start
# the seed of the test's own draws (the codes and answers it plays), fixed so
# that a failure repeats; ZQ_SEED=n runs it with another
seed="${ZQ_SEED:-2718}"
e2e_log "seed $seed"
zq_open_conditions e
zq_conditions time=0 last=2 len=3 rep=y vac=n fixed=y guess=y devise=n name1=bob
secret=$(zq_oracle next "$seed")
zq_start_match
zq_snap
max=$(zq_board_max)
[ -n "$max" ] || e2e_fail "run 1: no maximum number of trials in the header"
zq_play_pc_guesses "$secret" "$max"
k=$ZQ_K
e2e_wait_for "Game end " 10 || e2e_fail "run 1: no end of the match after the code was found"
zq_snap
[ "$(zq_end_code)" = "$secret" ] || e2e_fail "run 1: the end line shows '$(zq_end_code)', not $secret"
[ "$(zq_end_count)" = "$k" ] || e2e_fail "run 1: the end line shows '$(zq_end_count)' trials, not $k"
zq_finish

# ---- run 2: a store beyond the limit ------------------------------------------
rm -f -- "$E2E_RUN/BEDINGUN.DAT"  # a fresh start for the conditions walk
E2E_BEFORE="ulimit -v 1000000"
e2e_restart
ZQ_LANG=e
e2e_wait_for "English:" 15 || e2e_fail "run 2: the language screen did not appear"
# memory step a (4 GiB) admits 18 signs at length 6
e2e_send e 8 a Enter 5
e2e_wait_for "Shall the computer ask a riddle?" 10 || e2e_fail "run 2: the conditions screen did not appear"
e2e_expect_at 2 69 "|   4 GiB |" "run 2: memory step a"
zq_conditions time=0 last=f len=6 rep=y vac=n fixed=y guess=y devise=n name1=bob
pid=$(e2e_game_pid) || e2e_fail "run 2: the game's process was not found"
ticks0=$(e2e_cpu_ticks "$pid")
e2e_send 1
e2e_wait_for "Game end " 10 || e2e_fail "run 2: the match did not end"
ticks=$(($(e2e_cpu_ticks "$pid") - ticks0))
e2e_log "run 2: $ticks clock ticks from the start of the match to its end"
# a build of the part that fits would take seconds; the refusal takes none
[ "$ticks" -lt 30 ] || e2e_fail "run 2: $ticks clock ticks before the match ended: the store was being built"
zq_snap
[ "$(zq_at 25 1 8)" = "Answer: " ] || e2e_fail "run 2: no end line on row 25"
[ "$(zq_at 25 45 4 | tr -d ' ')" = "" ] || e2e_fail "run 2: a number of trials on the end line of a broken-off match"
zq_code_in 9 $(((101 - 6) / 2)) >/dev/null || e2e_fail "run 2: the opening guess is not shown"
e2e_send n
e2e_wait_for "9 - End of the game." 10 || e2e_fail "run 2: no main menu after 'n'"
e2e_send 9
e2e_expect_clean_exit 0
echo "ok (run 1: $k trials; run 2: $ticks ticks)"
