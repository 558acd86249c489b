#!/usr/bin/env bash
# Esc and Ctrl-C in the conditions dialog, in both languages: at the time
# limit both leave to the main menu; at every later field Esc restarts the
# walk at the time limit and Ctrl-C leaves to the main menu; the name editor
# and the secret entry have their own rules; the four-way menu takes both as
# its "end" choice. The field in use is told by where the cursor stands.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
E2E_CAPTURE="$E2E_TMP/out.raw"  # what the game writes, checked at the end
e2e_start

# field positions "COL ROW" by step, set per language
declare -A pos
set_lang() {
    lang=$1
    pos[2]="30 12"; pos[3]="30 13"; pos[4]="30 14"; pos[5]="30 16"
    pos[6]="30 17"; pos[7]="30 18"; pos[8]="30 19"; pos[10]="38 24"; pos[12]="38 23"; pos[13]="46 18"
    if [ "$lang" = d ]; then
        pos[1]="71 10"; pos[9]="57 13"; pos[11]="73 17"; pos[menu]="74 20"; pos[ok2]="76 24"; pos[ok1]="76 23"
    else
        pos[1]="69 10"; pos[9]="64 13"; pos[11]="71 17"; pos[menu]="73 20"; pos[ok2]="76 24"; pos[ok1]="76 23"
    fi
}

# at STEP WHAT: the cursor reaches the field of STEP
at() {
    e2e_wait_cursor ${pos[$1]} 5 || e2e_fail "$2: cursor at $(e2e_cursor), expected field $1 at (${pos[$1]})"
}

main_menu() {
    if [ "$lang" = d ]; then
        e2e_expect_at 1 31 "Bedienungsanleitung:" "$1: main menu expected"
    else
        e2e_expect_at 1 30 "Operating instructions:" "$1: main menu expected"
    fi
}

# from the main menu into the walk (menu choice 3), cursor on the time limit
enter_walk() {
    e2e_send 5
    at menu "$1: conditions screen"
    e2e_send 3
    at 1 "$1: first field of the walk"
}

# walk STEP: from the time limit on, Enter up to the field of STEP
walk() {
    local i keys=()
    for ((i = 1; i < $1; i++)); do keys+=(Enter); done
    [ ${#keys[@]} -eq 0 ] || e2e_send_burst "${keys[@]}"
    at "$1" "Enter up to field $1"
}

# walk_to_ok2 WHAT: up to field 10 holding a name, which waits for its confirmation
walk_to_ok2() {
    walk 9
    e2e_send Enter
    at ok2 "$1"
}

check_fields() {
    # time limit: Esc and Ctrl-C both lead to the main menu
    enter_walk "time limit, Esc"
    e2e_send Escape
    main_menu "Esc at the time limit"
    enter_walk "time limit, Ctrl-C"
    e2e_send C-c
    main_menu "Ctrl-C at the time limit"

    # fields 2 to 9 (the defaults offer all of them): Esc back to the time
    # limit, Ctrl-C to the main menu
    enter_walk "fields 2..9"
    local step
    for step in 2 3 4 5 6 7 8 9; do
        walk "$step"
        e2e_send Escape
        at 1 "Esc at field $step"
    done
    for step in 2 3 4 5 6 7 8 9; do
        walk "$step"
        e2e_send C-c
        main_menu "Ctrl-C at field $step"
        enter_walk "after Ctrl-C at field $step"
    done
    e2e_send Escape
    main_menu "Esc at the time limit (end of the field round)"
}

e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
e2e_send e
set_lang e
main_menu "start"
check_fields
e2e_send 1
e2e_wait_for "Deutsch:" 5 || e2e_fail "item 1: no language screen"
e2e_send d
set_lang d
main_menu "German"
check_fields

# ---- the name editor of the second player (field 10), in German --------
enter_walk "name editor"
walk 10
# typing, then Esc: the typing ends and the name waits for its confirmation
e2e_type "ann"
e2e_send Escape
at ok2 "Esc while typing the name"
e2e_expect_at 24 38 "Ann " "name after Esc while typing"
# Esc at the confirmation: one field back (computer guesses?)
e2e_send Escape
at 9 "Esc at the name's confirmation"
# into the name again: an existing name goes straight to the confirmation;
# Ctrl-C there restarts the walk
e2e_send Enter
at ok2 "a name already there"
e2e_send C-c
at 1 "Ctrl-C at the name's confirmation"
# 'n' clears the name and opens the typing; Ctrl-C while typing restarts
walk_to_ok2 "the name kept"
e2e_send n
at 10 "'n' at the confirmation"
e2e_expect_at 24 38 "                               " "name cleared by 'n'"
e2e_type "bo"
e2e_send C-c
at 1 "Ctrl-C while typing the name"
# Ctrl-C never left the dialog from the name editor
[ "$(e2e_text 1 1 5)" = "_____" ] || e2e_fail "the conditions screen is gone after the name editor"

# the name typed so far was kept ("Bo"): field 10 now asks to confirm it
walk 9
e2e_send Enter
at ok2 "name of player 2 before field 11"
e2e_expect_at 24 38 "Bo " "name typed before Ctrl-C"

# ---- field 11, then a person as the encoder: name 1 and the secret ------
e2e_send j
at 11 "confirming name 2"
e2e_send Escape
at 1 "Esc at field 11"
walk 9
e2e_send Enter
at ok2 "name of player 2 (field 11 again)"
e2e_send j
at 11 "field 11 again"
e2e_send C-c
main_menu "Ctrl-C at field 11"

enter_walk "two persons"
walk_to_ok2 "name 2 waiting for confirmation"
e2e_send j
at 11 "field 11 for two persons"
e2e_send n
e2e_expect_at 17 73 "Nein." "the computer no longer devises the riddle"
at 12 "name of the first player"
e2e_type "eva"
e2e_send Enter
at ok1 "name 1 typed"
e2e_send j
at 13 "secret entry"
e2e_type "12"
e2e_expect_at 18 46 "12.." "two signs of the secret typed"
# Esc in the secret: back to field 11, the secret's dots written again
e2e_send Escape
at 11 "Esc in the secret entry"
e2e_expect_at 18 46 "....   " "dots of the secret after Esc"
# into the secret again: Enter at field 11, the first name is confirmed
e2e_send Enter
at ok1 "name 1 after Esc in the secret"
e2e_send j
at 13 "secret entry again"
e2e_type "3"
e2e_send C-c
at 1 "Ctrl-C in the secret entry"
e2e_expect_at 18 46 "....   " "dots of the secret after Ctrl-C"

# ---- the four-way menu: Esc and Ctrl-C are its "end" --------------------
# (a fixed answer between two persons opens the secret at once: make the
# computer the encoder again first)
walk_to_ok2 "name 2 waiting for confirmation"
e2e_send j
at 11 "field 11, back to the computer as encoder"
e2e_send j
at menu "the walk ends after field 11 when the computer devises"
e2e_send Escape
main_menu "Esc at the four-way menu"
e2e_send 5
at menu "conditions screen again"
e2e_send C-c
main_menu "Ctrl-C at the four-way menu"

e2e_send 9
e2e_expect_clean_exit 0
# the names typed in the dialog were saved: name 1 "Eva" at offset 15
name1=$(dd if="$E2E_RUN/BEDINGUN.DAT" bs=1 skip=15 count=3 2>/dev/null)
[ "$name1" = "Eva" ] || e2e_fail "first name saved as '$name1', expected 'Eva'"
[ "$(e2e_dat_byte 11)" = 1 ] || e2e_fail "computer as encoder saved as $(e2e_dat_byte 11), expected 1"
e2e_capture_in_screen "$E2E_CAPTURE" || e2e_fail "the game wrote outside its 80 x 25 screen"
echo "ok"
