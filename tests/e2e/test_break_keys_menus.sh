#!/usr/bin/env bash
# Esc and Ctrl-C on the screens outside a match: the language screen ends the
# game with either; the main menu ignores Esc and ends with Ctrl-C; the date
# and time screen, the calendar, the colour chooser, the instruction pages and
# the configuration page go back to the main menu with either, keeping what
# was changed before the key.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
E2E_CAPTURE="$E2E_TMP/out.raw"  # what the game writes, checked at the end

title_back() {
    e2e_expect_at 1 30 "Operating instructions:" "$1: title heading"
    e2e_expect_at 25 2 "4 - Lend colour to the game.    9 - End of the game." "$1: menu row 25"
}

# ---- run 1: Ctrl-C at the language screen acts as Esc: the end ----------
e2e_start
e2e_wait_for "English:" 15 || e2e_fail "run 1: the language screen did not appear"
e2e_send C-c
e2e_expect_clean_exit 0
e2e_wait_for "Bye-bye!" 5 || e2e_fail "run 1: no farewell after Ctrl-C at the language screen"
e2e_wait_gone "English:" 1 || e2e_fail "run 1: the language screen is still shown"
[ "$(e2e_file_size "$E2E_RUN/BEDINGUN.DAT")" = 80 ] || e2e_fail "run 1: conditions not saved on the way out"

# ---- run 2: the side screens, each left with Esc and with Ctrl-C --------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "run 2: the language screen did not appear"
e2e_send e
title_back "run 2 start"
menu_cursor=$(e2e_cursor)

# the main menu: Esc and a cursor key do nothing, the game stays
e2e_send Escape Up Escape
sleep 0.5
title_back "Esc in the main menu"
[ "$(e2e_cursor)" = "$menu_cursor" ] || e2e_fail "the cursor moved in the menu: $(e2e_cursor), was $menu_cursor"
[ ! -e "$E2E_RUN/rc.txt" ] || e2e_fail "Esc in the main menu ended the game"

# date and time screen; the right to set the clock is dropped, so a typed
# digit is refused and the panel goes on showing the system's year
for key in Escape C-c; do
    e2e_send 2
    e2e_expect_at 18 17 "Year (1980 - ????): " "date screen before $key"
    e2e_wait_cursor 37 18 || e2e_fail "date screen: cursor at $(e2e_cursor), not on the year thousands"
    e2e_type 1
    e2e_wait_cursor 38 18 || e2e_fail "date screen: cursor at $(e2e_cursor) after a digit, not on the year hundreds"
    e2e_expect_at 18 37 "$(date +%Y)" "date screen: the year after a refused change"
    e2e_send "$key"
    title_back "$key on the date and time screen"
done

# calendar, once after moving the cursor and typing a digit
for key in Escape C-c; do
    e2e_send 3
    e2e_expect_at 18 17 "Year (0000 - 9999): " "calendar before $key"
    e2e_send Down
    e2e_wait_cursor 37 19 || e2e_fail "calendar: Down did not reach the month tens (cursor $(e2e_cursor))"
    e2e_send "$key"
    title_back "$key in the calendar"
done

# colour chooser: what was chosen before Esc / Ctrl-C stays and is saved
e2e_send 4
e2e_expect_at 4 2 "numeral for" "colour chooser"
e2e_type "3"
e2e_send Escape
title_back "Esc in the colour chooser"
b0=$(e2e_dat_byte 0)
[ "$b0" = 47 ] || e2e_fail "background chosen before Esc saved as attribute $b0, expected 47 (white on green)"
e2e_send 4
e2e_expect_at 4 2 "numeral for" "colour chooser (second time)"
e2e_type "2"
e2e_send C-c
title_back "Ctrl-C in the colour chooser"
b0=$(e2e_dat_byte 0)
[ "$b0" = 31 ] || e2e_fail "background chosen before Ctrl-C saved as attribute $b0, expected 31 (white on blue)"

# short instructions: Backspace does not leave, Esc and Ctrl-C do
for key in Escape C-c; do
    e2e_send 6
    e2e_expect_at 1 26 "***  Rules of the game !  ***" "short instructions before $key"
    e2e_send BSpace
    sleep 0.3
    e2e_expect_at 1 26 "***  Rules of the game !  ***" "short instructions after Backspace"
    e2e_send "$key"
    title_back "$key in the short instructions"
done

# detailed instructions: Backspace on page 1 does nothing; Esc from page 1,
# Ctrl-C from page 2, Esc from page 4 (an ordinary key there)
e2e_send 7
e2e_wait_for "***  Zentrovalquist  ***" 5 || e2e_fail "detailed instructions: page 1"
page1=$(e2e_screen)
e2e_send BSpace
sleep 0.3
[ "$(e2e_screen)" = "$page1" ] || e2e_fail "Backspace on page 1 changed the page"
e2e_send Escape
title_back "Esc on page 1"
e2e_send 7 x
e2e_wait_gone "***  Zentrovalquist  ***" 5 || e2e_fail "detailed instructions: page 2 did not come"
e2e_send C-c
title_back "Ctrl-C on page 2"
e2e_send 7 x x x
e2e_wait_for "Here is a review of the game:" 5 || e2e_fail "detailed instructions: page 4"
e2e_send C-c
title_back "Ctrl-C on page 4"
e2e_send 7 x x x
e2e_wait_for "Here is a review of the game:" 5 || e2e_fail "detailed instructions: page 4 (second time)"
e2e_send Escape
title_back "Esc on page 4"

# configuration: Esc and Ctrl-C keep the step chosen so far (no cancel)
e2e_send 8
e2e_expect_at 18 39 "b (*):   8 GiB" "configuration: step in use"
e2e_send c
e2e_expect_at 19 39 "c (*):  16 GiB" "configuration: step c"
e2e_send Escape
title_back "Esc on the configuration page"
[ "$(e2e_dat_byte 5)" = 11 ] || e2e_fail "memory step after Esc saved as $(e2e_dat_byte 5), expected 11"
e2e_send 8
e2e_expect_at 19 39 "c (*):  16 GiB" "configuration: step kept"
e2e_send 3
e2e_expect_at 19 3 "3 (*):  64 MiB" "configuration: step 3"
e2e_send C-c
title_back "Ctrl-C on the configuration page"
[ "$(e2e_dat_byte 5)" = 3 ] || e2e_fail "memory step after Ctrl-C saved as $(e2e_dat_byte 5), expected 3"

# item 1, then Ctrl-C at the language screen: the end
e2e_send 1
e2e_expect_at 12 1 " English:" "language screen from item 1"
e2e_send C-c
e2e_expect_clean_exit 0
e2e_wait_for "Bye-bye!" 5 || e2e_fail "no farewell after item 1 and Ctrl-C"

# ---- run 3: Ctrl-C in the main menu ends the game -----------------------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "run 3: the language screen did not appear"
e2e_send d
e2e_wait_for "Bitte waehlen Sie:" 5 || e2e_fail "run 3: no German title page"
e2e_send C-c
e2e_expect_clean_exit 0
e2e_wait_for "Bye-bye!" 5 || e2e_fail "run 3: no farewell after Ctrl-C in the main menu"
[ "$(e2e_dat_byte 5)" = 3 ] || e2e_fail "run 3: the memory step of run 2 was not kept"

# ---- run 4: item 1, then Esc: the end -------------------------------------
e2e_restart
e2e_wait_for "English:" 15 || e2e_fail "run 4: the language screen did not appear"
e2e_send e 1
e2e_expect_at 12 1 " English:" "run 4: language screen from item 1"
e2e_send Escape
e2e_expect_clean_exit 0
e2e_wait_for "Bye-bye!" 5 || e2e_fail "run 4: no farewell after item 1 and Esc"
e2e_capture_in_screen "$E2E_CAPTURE" || e2e_fail "the game wrote outside its 80 x 25 screen"
echo "ok"
