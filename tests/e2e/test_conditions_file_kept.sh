#!/usr/bin/env bash
# The conditions file when saving goes wrong: a file-size limit makes every
# save fail, and the game goes on and ends normally with the old file as it
# was; two ending signals back to back leave no temporary file; a temporary
# file of a run killed outright is removed at the next start (one of a running
# process is kept).
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
[ -d /proc/self ] || e2e_skip "finding the game's process needs /proc"

dat="$E2E_RUN/BEDINGUN.DAT"
is_zeros() { [ "$(e2e_file_size "$1")" = 80 ] && cmp -s "$1" <(head -c 80 /dev/zero); }
leftovers() { (cd "$1" && ls -A | grep '\.tmp$' || true); }

# The language screen, English, the main menu (a save), then '9'.
visit_and_leave() {
    e2e_wait_for "English:" 15 || e2e_fail "$1: the language screen did not appear"
    e2e_send e
    e2e_wait_for "Operating instructions:" || e2e_fail "$1: the main menu did not appear"
    e2e_send 9
    e2e_expect_clean_exit 0
    e2e_wait_for "Bye-bye!" 5 || e2e_fail "$1: no farewell"
}

# ---- run 1: no file may grow beyond 0 blocks --------------------------------
head -c 80 /dev/zero >"$dat"
E2E_FSIZE=0 e2e_start
visit_and_leave "size limit"
is_zeros "$dat" || e2e_fail "size limit: BEDINGUN.DAT changed although no save could succeed"
[ -z "$(leftovers "$E2E_RUN")" ] || e2e_fail "size limit: left behind: $(leftovers "$E2E_RUN")"

# ---- runs 2..9: SIGTERM and SIGHUP back to back at the main menu -------------
for run in 2 3 4 5 6 7 8 9; do
    e2e_restart
    e2e_wait_for "English:" 15 || e2e_fail "run $run: the language screen did not appear"
    e2e_send e
    e2e_wait_for "Operating instructions:" || e2e_fail "run $run: the main menu did not appear"
    pid=$(e2e_game_pid) || e2e_fail "run $run: the game's process was not found"
    kill -TERM "$pid"
    kill -HUP "$pid" 2>/dev/null  # it may be gone already
    # the flow writes the status once the game has gone
    e2e_wait_exit 15 || e2e_fail "run $run: the game did not end after the signals"
    [ -z "$(leftovers "$E2E_RUN")" ] || e2e_fail "run $run: two signals left behind: $(leftovers "$E2E_RUN")"
    [ "$(e2e_file_size "$dat")" = 80 ] || e2e_fail "run $run: BEDINGUN.DAT is not 80 bytes"
done

# ---- run 10: leftovers of a killed run and of a running one -----------------
sh -c 'exit 0' &
gone=$!
wait "$gone"
echo x >"$E2E_RUN/BEDINGUN.DAT.$gone.tmp"
echo x >"$E2E_RUN/BEDINGUN.DAT.$$.tmp"
e2e_restart
visit_and_leave "leftovers"
[ ! -e "$E2E_RUN/BEDINGUN.DAT.$gone.tmp" ] || e2e_fail "leftovers: the temporary file of an ended run is still there"
[ -e "$E2E_RUN/BEDINGUN.DAT.$$.tmp" ] || e2e_fail "leftovers: the temporary file of a running process was removed"
echo "ok"
