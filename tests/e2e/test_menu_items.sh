#!/usr/bin/env bash
# Every item of the main menu, first in German, then (through item 1) in
# English: each opens its own screen, shown at the right places, and the way
# back leads to the title page again; item 9 ends the game cleanly.
. "$(dirname "$0")/lib.sh"
e2e_setup "$@"
E2E_CAPTURE="$E2E_TMP/out.raw"  # what the game writes, checked at the end
e2e_start

# The title page of the language in force, checked at its fixed rows.
expect_title() {
    if [ "$lang" = d ]; then
        e2e_expect_at 1 31 "Bedienungsanleitung:" "$1: German title heading"
        e2e_expect_at 21 2 "1 - Sprache aendern.                     5 - Das Spiel beginnt." "$1: menu row 21"
        e2e_expect_at 25 2 "4 - Bringen Sie Farbe ins Spiel.         9 - Programm beenden." "$1: menu row 25"
    else
        e2e_expect_at 1 30 "Operating instructions:" "$1: English title heading"
        e2e_expect_at 21 2 "1 - Change the language.        5 - The game starts." "$1: menu row 21"
        e2e_expect_at 25 2 "4 - Lend colour to the game.    9 - End of the game." "$1: menu row 25"
    fi
}

# t GERMAN ENGLISH: the text of the language in force.
t() { if [ "$lang" = d ]; then printf '%s' "$1"; else printf '%s' "$2"; fi; }

year=$(date +%Y)

walk_items() {
    # 2: date and time, the panel showing this year; Enter leads back
    e2e_send 2
    e2e_expect_at 1 1 "$(t "Bitte stellen Sie Datum und Uhrzeit ein (benoetigt Administrationsrechte):" \
        "Please set the right date and time (administration rights are required):")" "item 2 heading"
    e2e_expect_at 18 17 "$(t "Jahr (1980 - ????): " "Year (1980 - ????): ")" "item 2 year label"
    e2e_expect_at 23 17 "$(t "Stunde   (00 - 23): " "Hour     (00 - 23): ")" "item 2 hour label"
    e2e_expect_at 25 17 "$(t "Sekunde  (00 - 59): " "Second   (00 - 59): ")" "item 2 second label"
    [ "$(e2e_text 18 37 4)" = "$year" ] || [ "$(e2e_text 18 37 4)" = "$(date +%Y)" ] ||
        e2e_fail "item 2 shows the year '$(e2e_text 18 37 4)', not $year"
    e2e_wait_cursor 37 18 || e2e_fail "item 2: cursor at $(e2e_cursor), not on the year thousands (37 18)"
    e2e_send Enter
    expect_title "after item 2"

    # 3: the weekday calendar
    e2e_send 3
    e2e_expect_at 1 1 "$(t "Bitte stellen Sie Ihr virtuelles Spieldatum ein:" \
        "Please set the right virtual date of the game:")" "item 3 heading"
    e2e_expect_at 18 17 "$(t "Jahr (0000 - 9999): " "Year (0000 - 9999): ")" "item 3 year label"
    if [ "$lang" = d ]; then
        e2e_expect_at 23 4 "Auf Donnerstag, den 4. Oktober 1582 folgt Freitag, der 15. Oktober 1582." "item 3 row 23"
    else
        e2e_expect_at 23 5 "Thursday, 4th October 1582 is followed by Friday, 15th October 1582." "item 3 row 23"
    fi
    e2e_send Enter
    expect_title "after item 3"

    # 4: the colour chooser, key table on the left, explanation on the right
    e2e_send 4
    e2e_expect_at 4 2 "$(t "Ziffer fuer" "numeral for")" "item 4 table heading"
    e2e_expect_at 7 28 "$(t "|  a/A      |" "|  a/A      |")" "item 4 first letter row"
    e2e_expect_at 4 41 "$(t "|Bitte stellen Sie eine Farbkombination|" \
        "|Please set the combination of colours |")" "item 4 panel row 4"
    e2e_send Enter
    expect_title "after item 4"

    # 5: the conditions screen with its four-way menu; '4' leads back
    e2e_send 5
    e2e_expect_at 20 37 "$(t " Bitte waehlen Sie (1, 2, 3 oder 4): 1.   " \
        " Please choose now (1, 2, 3 or 4):  1.    ")" "item 5 menu prompt"
    e2e_expect_at 2 33 "Zentrovalquist" "item 5 title"
    e2e_expect_at 2 69 "|   8 GiB |" "item 5 memory label"
    e2e_wait_cursor "$(t 74 73)" 20 || e2e_fail "item 5: cursor at $(e2e_cursor), not on the '1' of the prompt"
    e2e_send 4
    expect_title "after item 5"

    # 6: the short instructions; any key leads back
    e2e_send 6
    e2e_expect_at 1 "$(t 29 26)" "$(t "***  Spielregeln !  ***" "***  Rules of the game !  ***")" "item 6 heading"
    e2e_send x
    expect_title "after item 6"

    # 7: the detailed instructions, page 1 then page 4, left from page 4
    e2e_send 7
    e2e_wait_for "Zentrovalquist" 5 || e2e_fail "item 7: the first page does not name the game"
    e2e_screen | sed -n 1p | grep -q "\*\*\*  Zentrovalquist  \*\*\*" || e2e_fail "item 7: heading of page 1"
    # PgUp on page 1 does nothing
    local page1
    page1=$(e2e_screen)
    e2e_send PPage
    sleep 0.3
    [ "$(e2e_screen)" = "$page1" ] || e2e_fail "item 7: PgUp changed page 1"
    e2e_send x x x
    e2e_wait_for "$(t "Hier das Spiel noch einmal im Ueberblick:" "Here is a review of the game:")" 5 ||
        e2e_fail "item 7: page 4 did not come after three keys"
    e2e_wait_for "$(t "          Nr.  Code  P  Z" "          No.  Code  P  S")" 1 || e2e_fail "item 7: table of page 4"
    # page 4 is left with PgDn (German pass) or an ordinary key (English pass)
    e2e_send "$(t NPage x)"
    expect_title "after item 7"

    # 8: the configuration page, the step in use (b, the default) marked
    e2e_send 8
    e2e_expect_at 2 29 "$(t "***  Konfiguration  ***" "***  Configuration  ***")" "item 8 heading"
    e2e_expect_at 17 3 "1 ( ):   1 MiB        $(t "64-Bit:" "64-bit:")       a ( ):   4 GiB" "item 8 row 17"
    e2e_expect_at 18 39 "b (*):   8 GiB" "item 8 marked step"
    e2e_wait_cursor 39 18 || e2e_fail "item 8: cursor at $(e2e_cursor), not on the marked step (39 18)"
    e2e_send Enter
    expect_title "after item 8"
}

e2e_wait_for "Deutsch:" 15 || e2e_fail "the language screen did not appear"
lang=d
e2e_send d
expect_title "after 'd'"
walk_items

# 1: the language screen again; 'e' gives the English title page
e2e_send 1
e2e_expect_at 8 1 " Deutsch:" "item 1: language screen"
e2e_expect_at 12 1 " English:" "item 1: language screen"
lang=e
e2e_send e
expect_title "after item 1 and 'e'"
walk_items

# and back to German once more with 'D' (upper case counts)
e2e_send 1
e2e_expect_at 8 1 " Deutsch:" "item 1 (second time): language screen"
lang=d
e2e_send D
expect_title "after item 1 and 'D'"

# 9: the end, status 0, the farewell on the shell's screen, terminal cooked
e2e_send 9
e2e_expect_clean_exit 0
e2e_wait_for "Bye-bye!" 5 || e2e_fail "the farewell text is not on the shell's screen"
e2e_wait_gone "Bedienungsanleitung:" 1 || e2e_fail "the title page is still shown after the end"
[ "$(e2e_file_size "$E2E_RUN/BEDINGUN.DAT")" = 80 ] || e2e_fail "BEDINGUN.DAT is not 80 bytes"
e2e_capture_in_screen "$E2E_CAPTURE" || e2e_fail "the game wrote outside its 80 x 25 screen"
echo "ok"
