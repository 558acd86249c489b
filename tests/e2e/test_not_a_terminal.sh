#!/usr/bin/env bash
# Standard input that is no terminal: one line of error, exit status 2, no
# hang, and no conditions file written.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"

cd "$E2E_RUN" || e2e_fail "cannot enter $E2E_RUN"
if [ -n "$E2E_WRAP" ]; then
    timeout 10 $E2E_WRAP -c './zentrovalquist </dev/null >out.txt 2>err.txt'
else
    timeout 10 ./zentrovalquist </dev/null >out.txt 2>err.txt
fi
rc=$?
[ "$rc" != 124 ] || e2e_fail "the game hung with standard input from /dev/null"
[ "$rc" = 2 ] || e2e_fail "exit status $rc, expected 2"
[ "$(wc -l <err.txt | tr -d ' ')" = 1 ] || e2e_fail "expected one line of error, got: $(cat err.txt)"
grep -q "not a terminal" err.txt || e2e_fail "the error does not say what is wrong: $(cat err.txt)"
[ ! -s out.txt ] || e2e_fail "escape sequences went to standard output: $(od -c out.txt | head -3)"
[ ! -e BEDINGUN.DAT ] || e2e_fail "BEDINGUN.DAT written although the game never started"
echo "ok"
