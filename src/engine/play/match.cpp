#include "engine/play/match.h"

#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "engine/beep.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/codebreaker.h"
#include "engine/codebreaker/opening_patterns.h"
#include "engine/codebreaker/shuffle_table.h"
#include "engine/encoder/answer_order.h"
#include "engine/encoder/variable_code.h"
#include "engine/play/board.h"
#include "engine/play/entry.h"
#include "engine/play/scoring.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_file.h"
#include "engine/setup/conditions_screen.h"
#include "engine/setup/dialog.h"
#include "engine/setup/name_editor.h"
#include "engine/setup/names.h"

namespace zqspiel {

namespace key = console::key;

namespace {

std::string code_text(const CODE& c, int n) { return std::string(c.s, static_cast<std::size_t>(n)); }

// The special code lengths and sign counts for which the computer's lists are
// built without repetition.
bool without_repetition_for_lists(int n) {
    return n == 6 && (MAXFARBE == 6 || MAXFARBE == 27 || MAXFARBE == 31 || MAXFARBE == 36);
}

enum class MenuResult { play, main_menu };

// The conditions screen's four-way menu, with the dialog walks it leads to.
MenuResult conditions_menu() {
    // Whatever set the conditions, a code longer than the set is shown and
    // played with repetition.
    MAXFARBE = number_of_last_sign();
    repetition_required();
    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT, false, false);
    NAMEOK(false);
    BILDSCHIRM();

    int walk = 0;  // the dialog step to walk from before the menu is read
    if (two_persons_fixed()) walk = FIELD_ENCODER;

    for (;;) {
        if (walk != 0) {
            const DialogEnd e = change_conditions(walk);
            walk = 0;
            if (e == DialogEnd::main_menu) return MenuResult::main_menu;
            WEITER = false;
        }
        NAMEN_UEBERSPRINGEN = false;
        console::goto_xy(SP_D ? 74 : 73, 20);
        unsigned char k = console::read_key();
        if (k == key::EXTENDED) {
            console::read_key();
            k = 'x';
        }
        if (key::breaks_off(k)) k = '4';
        if (k == key::ENTER) k = '1';
        A = k;
        switch (k) {
            case '1':
                WEITER = true;
                return MenuResult::play;
            case '2':
                if (X.PC_RAET && !X.PC_LOESUNG) {
                    NAMEOK(true);
                    X.PC_LOESUNG = true;
                    X.PC_RAET = false;
                    WEITER = true;
                    return MenuResult::play;
                }
                if (X.PC_RAET && X.PC_LOESUNG) {
                    WEITER = true;
                    return MenuResult::play;
                }
                if (X.PC_LOESUNG) {  // a person guesses the computer's code
                    if (!KANN_RATEN) break;
                    NAMEOK(true);
                    X.PC_LOESUNG = false;
                    X.PC_RAET = true;
                    WEITER = true;
                    return MenuResult::play;
                }
                if (!X.LOESUNG_FEST) {
                    NAMEOK(true);
                    WEITER = true;
                    return MenuResult::play;
                }
                // two persons with a fixed code: the new encoder types a new one
                SCHREIBE_NAME(true, true, true);
                ZURUECK = false;
                write_solution_dots();
                console::goto_xy(46, 18);
                walk = FIELD_SECRET_CODE;
                break;
            case key::BACKSPACE:
                if (two_persons_fixed()) {
                    ZURUECK = true;
                    walk = FIELD_SECRET_CODE;
                } else {
                    write_solution_dots();
                    WEITER = false;
                    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT, true, false);
                    walk = FIELD_ENCODER;
                }
                break;
            case '3':
                walk = FIELD_ZEITLIMIT;
                break;
            case '4':
                return MenuResult::main_menu;
            default:
                break;
        }
    }
}

// One trial in the slot shown at (h, row); the entry is the history record.
void play_trial(int h, int row, VERSUCH& v) {
    WX = static_cast<byte>(X2[h]);
    WY = static_cast<byte>(row);
    K = static_cast<byte>(row);
    console::goto_xy(WX, WY);
    if (X.PC_RAET)
        RATE_CODE(v.ZUG, v.P, v.Z, A);
    else
        LESE_CODE(static_cast<byte>(h), v.ZUG, v.P, v.Z, A);
}

bool broken_off() { return key::breaks_off(A); }

// Once more than 30 trials were made: the table shows the last 30, oldest
// first, and the newest is typed in the bottom row of the right half.
void redraw_ring(int n) {
    const bool zeros = NUMMER > 999;
    for (int h = 1; h <= 2; ++h) {
        for (int r = 1; r <= 15; ++r) {
            const VERSUCH& v = V30[((h - 1) * 15 + r + L - 1) % 30 + 1];
            console::write_at(X1[h], r + 8, trial_number_text(v.NR, zeros));
            if (h == 2 && r == 15) continue;
            console::write_at(X2[h], r + 8, code_text(v.ZUG, n));
            write_answer(X3[h], X4[h], r + 8, v.P, v.Z);
        }
    }
    console::write_at(X2[2], 23, std::string(static_cast<std::size_t>(n), X.PC_RAET ? ' ' : '.'));
    console::write_at(76, 23, " | ");
    console::goto_xy(X2[2], 23);
}

// The trial loop; false when the match was broken off.
bool trial_loop() {
    const int n = X.CODELAENGE;
    byte last_p = 0;
    for (int h = 1; h <= 2; ++h) {
        for (int r = 1; r <= 15; ++r) {
            F6_GEDR = false;
            ++NUMMER;
            VERSUCH& v = V30[(h - 1) * 15 + r];
            v.NR = static_cast<std::int16_t>(NUMMER);
            console::write_at(X1[h], r + 8, trial_number_text(NUMMER, false));
            if (NUMMER == 2) console::write_at(32, 5, std::string(11, ' '));
            play_trial(h, r + 8, v);
            if (broken_off()) return false;
            last_p = v.P;
            if (v.P == n) break;
        }
        if (last_p == n) break;
    }
    L = 0;
    WEITER = last_p < n;
    while (WEITER) {
        F6_GEDR = false;
        NUMMER = next_number(NUMMER);
        L = static_cast<byte>(L % 30 + 1);
        VERSUCH& v = V30[L];
        v.NR = static_cast<std::int16_t>(NUMMER % 1000);
        redraw_ring(n);
        play_trial(2, 23, v);
        if (broken_off()) return false;
        WEITER = v.P < n;
    }
    return true;
}

// The end line and the "new game?" question.
bool end_of_match(bool aborted) {
    X.LEERZEICHEN_ERLAUBT = LEERZ_MERKER;
    if (X.PC_RAET) {
        console::write_at(1, 25, SP_D ? "Loesung: " : "Answer: ");
        console::write_at(24, 25, SP_D ? "Benoetigte Versuche: " : "        Trials made:");
        console::write_at(57, 25, SP_D ? "Neues Spiel? Ja.       " : "   New game? Yes.      ");
        console::write_at(9, 25, std::string(15, ' '));
        console::write_at(44, 25, std::string(13, ' '));
    }
    console::write_at(3, 19, SP_D ? "Spielende " : "Game end ");
    if (LOESUNG[1] != ' ') console::write_at(10, 25, code_text(LOESUNG, X.CODELAENGE));
    if (!aborted) {
        console::goto_xy(45, 25);
        console::write_num(NUMMER);
    }
    console::goto_xy(70, 25);
    OK = true;
    NAMEN_UEBERSPRINGEN = true;
    SCHREIBE_ZEIT();
    ZEITEIN = false;
    for (;;) {
        const unsigned char k = console::read_key();
        if (k == key::EXTENDED) {
            console::read_key();
            continue;
        }
        A = k;
        if (key::breaks_off(k) || k == 'n' || k == 'N') return false;
        if (k == key::ENTER || k == 'j' || k == 'J' || k == 'y' || k == 'Y' || k == 'z' || k == 'Z') return true;
    }
}

}  // namespace

std::string trial_number_text(std::int32_t nr, bool with_zeros) {
    std::string s = std::to_string(nr);
    if (s.size() < 3) s.insert(0, 3 - s.size(), with_zeros ? '0' : ' ');
    return s;
}

std::int32_t next_number(std::int32_t number) {
    return number < 2147483647 ? number + 1 : 2147482648;
}

void draw_solution() {
    const int n = X.CODELAENGE;
    LOESUNG.blank();
    // More positions than signs can only be filled with repetition, whatever
    // the flag says: the list of unused signs would run dry.
    if (n > MAXFARBE || (X.WIEDERHOLUNG && (n == 2 || console::random(2) == 0))) {
        for (int i = 1; i <= n; ++i) LOESUNG[i] = static_cast<char>(FARBARRAY[1 + console::random(MAXFARBE)]);
        return;
    }
    byte list[37];
    for (int i = 1; i <= MAXFARBE; ++i) list[i] = static_cast<byte>(i);
    for (int i = 1; i <= n; ++i) {
        const int left = MAXFARBE - i + 1;
        const int k = 1 + static_cast<int>(console::random(static_cast<std::uint32_t>(left)));
        LOESUNG[i] = static_cast<char>(FARBARRAY[list[k]]);
        for (int j = k; j < left; ++j) list[j] = list[j + 1];
    }
}

void count_solution_signs() {
    const int n = X.CODELAENGE;
    if (!X.WIEDERHOLUNG && n == MAXFARBE) {
        for (int s = 1; s <= MAXFARBE; ++s) LOESUNGSFARBEN[s] = 1;
        return;
    }
    for (int s = 1; s <= MAXFARBE; ++s) LOESUNGSFARBEN[s] = 0;
    for (int i = 1; i <= n; ++i) {
        const unsigned char c = static_cast<unsigned char>(LOESUNG[i]);
        if (c < '0' || c > 'z') continue;
        const byte s = NRARRAY[c - '0'];
        if (s >= 1 && s <= MAXFARBE) ++LOESUNGSFARBEN[s];
    }
}

bool play_match_loop() {
    // preparation
    console::clr_scr();
    MAXFARBE = number_of_last_sign();
    repetition_required();
    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT, false, true);
    LEERZ_MERKER = X.LEERZEICHEN_ERLAUBT;
    BEDINGUNGENSPEICHERN();

    const int n = X.CODELAENGE;
    // The computer codebreaker plays without the vacant sign, except where it
    // is a third value beside two signs.
    if (X.PC_RAET && !(MAXFARBE <= 2 && n >= 4)) X.LEERZEICHEN_ERLAUBT = false;
    LEERZEICHEN = FEHLZ_BENUTZT = ALLE_F_LOESCHEN = X.LEERZEICHEN_ERLAUBT;
    KENNEALLEFARBEN = !X.WIEDERHOLUNG && n == MAXFARBE;
    ALLESTERNEDRUCKEN = true;

    REIHENFOLGE();
    set_clock_for_match();

    const byte max_trials = WIEVIELE(static_cast<byte>(n), MAXFARBE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT);
    bool aborted = false;

    if (!two_persons_fixed()) LOESUNG.blank();
    GESPIELT.fill(0);

    draw_board(max_trials, max_trials > 0,
               INIT_MUSTER(static_cast<byte>(n), MAXFARBE, X.WIEDERHOLUNG, LEERZ_MERKER));

    X2[1] = static_cast<std::uint16_t>((101 - n) / 2);
    X2[2] = static_cast<std::uint16_t>((141 - n) / 2);
    if (!X.PC_RAET) console::write_at(X2[1], 9, std::string(static_cast<std::size_t>(n), '.'));

    PL_0 = static_cast<byte>(n < MAXFARBE ? n : MAXFARBE);
    PL_1 = static_cast<byte>(PL_0 + 1);

    if (X.PC_LOESUNG && X.LOESUNG_FEST) draw_solution();

    AEQUI_KLASSE = true;
    FEHLZEICHEN = 0;
    NUMMER = 0;
    UNTERBR = 0;
    NEUER_KANDIDAT = true;
    start_match_clock();
    ZEITEIN = true;

    // The computer codebreaker shows its opening guess in the first trial's
    // code field while it builds its store: the cursor waits there.
    WX = static_cast<byte>(X2[1]);
    WY = 9;
    K = 9;
    console::goto_xy(WX, WY);

    bool ok = true;
    if (!X.LOESUNG_FEST && !X.PC_RAET) {
        const bool repeat = X.WIEDERHOLUNG;
        if (X.PC_LOESUNG && without_repetition_for_lists(n)) X.WIEDERHOLUNG = false;
        INIT_NICHT_FEST(ok);
        X.WIEDERHOLUNG = repeat;
        if (!ok) aborted = true;
    }
    if (X.PC_RAET) {
        const bool repeat = X.WIEDERHOLUNG;
        // The opening pattern follows the repetition the user chose, even
        // when the store is built without it.
        MERKE_WDHG = repeat;
        if (X.PC_LOESUNG && !X.LOESUNG_FEST && without_repetition_for_lists(n)) X.WIEDERHOLUNG = false;
        INIT_RATEN(ok);
        X.WIEDERHOLUNG = repeat;
        INITFELD();
        if (!ok) aborted = true;
    }

    if (X.LOESUNG_FEST && (X.PC_LOESUNG || !X.PC_RAET)) count_solution_signs();
    if (X.TON && !X.PC_RAET) beep();

    if (!aborted) aborted = !trial_loop();
    return end_of_match(aborted);
}

void run_matches() {
    for (;;) {
        if (conditions_menu() == MenuResult::main_menu) return;
        if (!play_match_loop()) return;
    }
}

}  // namespace zqspiel
