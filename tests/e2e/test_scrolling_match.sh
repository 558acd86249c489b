#!/usr/bin/env bash
# A long match between two persons with a fixed code (English screens): 32
# wrong guesses, some with vacant signs, then the code as trial 33. From the
# 31st guess on the table scrolls: the oldest trial leaves, the others move up
# one slot (oldest first, left half then right half, each with its number,
# code and answer) and the new trial is typed in the bottom row of the right
# half. The end line counts all 33 trials.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/game.sh"
e2e_setup "$@"
zq_oracle_init
e2e_start

secret=5173
zq_open_conditions e
zq_conditions time=1 last=7 len=4 rep=n vac=y fixed=y guess=n devise=n name1=ann name2=ben secret="$secret"
zq_start_match

# the guesses as typed (a blank is a vacant sign) and as the board shows them
# (distinct codes from the whole list otherwise, so that a slot showing the
# wrong trial cannot pass)
read -r -a all <<<"$(zq_oracle codes)"
typed=()
for k in $(seq 1 32); do
    case $k in
        5) g="1 *2" ;;
        17) g="0000" ;;
        29) g=" 7 5" ;;
        31) g="**17" ;;
        *) g="${all[$((k * 53 % ${#all[@]}))]}" ;;
    esac
    [ "$g" != "$secret" ] || g=0246
    typed[k]="$g"
done
typed[33]="$secret"
shown=() answer=()
for k in $(seq 1 33); do
    shown[k]=$(printf '%s' "${typed[k]}" | tr ' ' '*')
    answer[k]=$(zq_oracle score "${shown[k]}" "$secret" | tr ' ' '|')
done

# slot_shows SLOT K: the slot holds trial K with its number, code and answer
slot_shows() {
    local row ncol ccol pcol zcol
    read -r row ncol ccol pcol zcol <<<"$(zq_slot "$1")"
    [ "$(zq_at "$row" "$ncol" 3)" = "$(printf '%3d' "$2")" ] && [ "$(zq_at "$row" "$ccol" 4)" = "${shown[$2]}" ] \
        && [ "$(zq_at "$row" "$pcol" 1)|$(zq_at "$row" "$zcol" 1)" = "${answer[$2]}" ]
}

# waits SLOT K: trial K waits in SLOT for its guess: number, dots, no answer
waits() {
    local row ncol ccol pcol zcol
    read -r row ncol ccol pcol zcol <<<"$(zq_slot "$1")"
    [ "$(zq_at "$row" "$ncol" 3)" = "$(printf '%3d' "$2")" ] && [ "$(zq_at "$row" "$ccol" 4)" = "...." ] \
        && [ "$(zq_at "$row" "$pcol" 3)" = " | " ] && [ "$(zq_cursor)" = "$ccol $row" ]
}

# answered SLOT K: trial K, typed in SLOT, shows its answer there, or in the
# slot above once the next trial waits in the bottom slot
answered() {
    slot_shows "$1" "$2" && return 0
    [ "$1" = 30 ] && [ "$2" -lt 33 ] && slot_shows 29 "$2" && waits 30 $(($2 + 1))
}

# table_from FIRST LAST: slots 1.. hold trials FIRST..LAST, oldest first
table_from() {
    local i=1 k
    for k in $(seq "$1" "$2"); do
        slot_shows "$i" "$k" || { e2e_log "slot $i does not show trial $k (${shown[k]} ${answer[k]})"; return 1; }
        i=$((i + 1))
    done
}

for k in $(seq 1 33); do
    slot=$k
    [ "$k" -le 30 ] || slot=30
    zq_until 10 waits "$slot" "$k" || e2e_fail "trial $k does not wait in slot $slot"
    if [ "$k" -gt 30 ]; then
        # the table has moved: trial k - 29 is at the top of the left half
        table_from $((k - 29)) $((k - 1)) || e2e_fail "trial $k: the table did not scroll to trials $((k - 29))..$((k - 1))"
    fi
    e2e_type "${typed[k]}"
    # from trial 30 on, the answer may already have moved up one slot
    zq_until 10 answered "$slot" "$k" || e2e_fail "trial $k: '${shown[k]}' with the answer ${answer[k]} is not in slot $slot"
done

e2e_wait_for "Game end " 10 || e2e_fail "no end of the match after the code as trial 33"
zq_snap
table_from 4 33 || e2e_fail "the final table does not show trials 4..33"
[ "$(zq_end_code)" = "$secret" ] || e2e_fail "the end line shows '$(zq_end_code)', not $secret"
[ "$(zq_end_count)" = 33 ] || e2e_fail "the end line shows '$(zq_end_count)' trials, not 33"
zq_finish
echo "ok"
