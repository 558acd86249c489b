#include "engine/dialog.h"

#include <string>

#include "console/console.h"
#include "engine/capacity.h"
#include "engine/conditions.h"
#include "engine/entry.h"
#include "engine/name_editor.h"
#include "engine/yes_no.h"

namespace zqspiel {

namespace {

const char* yes_no(bool v) { return JA_NEIN_TEXT[SP_D ? 1 : 0][v ? 1 : 0]; }

std::string padded(std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
}

std::string capacity_cell(byte v) {
    if (v < 2) return " -   ";
    if (v < 10) return std::string(" ") + static_cast<char>('0' + v) + "   ";
    return std::to_string(v) + "   ";
}

std::string sign_set() {
    std::string s;
    for (int i = 1; i <= MAXFARBE; ++i) s += static_cast<char>(FARBARRAY[i]);
    return s;
}

std::string player_text(bool computer, const NAMENSFELD& name) {
    if (computer) return SP_D ? "*** Der Computer ***           " : "*** The computer ***           ";
    if (name[1] == ' ') return std::string(31, ' ');
    return std::string(&name[1], 31);
}

void show_yes_no(int col, int row, bool v) { console::write_at(col, row, yes_no(v)); }

byte number_of_last_sign() { return NRARRAY[static_cast<unsigned char>(X.LETZTES_ZEICHEN) - '0']; }

int time_col() { return SP_D ? 71 : 69; }
int computer_guesses_col() { return SP_D ? 57 : 64; }
int computer_devises_col() { return SP_D ? 73 : 71; }

// A key for a field of its own: extended keys are swallowed and read again.
unsigned char read_field_key() {
    for (;;) {
        const unsigned char k = console::read_key();
        if (k != 0) return k;
        console::read_key();
    }
}

// A yes/no field at (col, row).
unsigned char yes_no_field(int col, int row, bool& value, bool& changed) {
    WXX = static_cast<byte>(col);
    WYY = static_cast<byte>(row);
    console::goto_xy(col, row);
    unsigned char k = 0;
    JA_NEIN(k, value, changed);
    A = k;
    return k;
}

// The capacity check of the walk, with the conditions in force.
void check_in_force() {
    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT, true, false);
}

// Repetition is the only choice when the code is longer than the set; true
// when it had to be switched on (and shown).
bool force_repetition() {
    if (!erzwinge_wiederholung()) return false;
    show_yes_no(30, 17, true);
    return true;
}

// The latest of the fields 9, 8, 7 that is offered.
int latest_of_9_8_7() {
    if (KANN_RATEN) return 9;
    if (KANN_MOGELN) return 8;
    return 7;
}

}  // namespace

bool zwei_personen_fest() { return !X.PC_LOESUNG && !X.PC_RAET && X.LOESUNG_FEST; }

void schreibe_loesungspunkte() {
    console::write_at(46, 18, std::string(X.CODELAENGE, '.'));
}

void BILDSCHIRM() {
    using console::write;
    using console::write_ln;
    const bool g = SP_D;
    console::text_attr(NORMALFARBE);
    console::clr_scr();

    write_ln("_" + std::string(67, '_') + "_" + std::string(9, '_') + "_");
    write("|                               Zentrovalquist                      | ");
    console::text_attr(HERVORFARBE);
    write(SPEICHER_TEXT[SPEICHERSTUFE >= 1 && SPEICHERSTUFE <= 15 ? SPEICHERSTUFE : 10]);
    console::text_attr(NORMALFARBE);
    write_ln(" |");
    write_ln("|                             ******************                    |" + std::string(9, '_') + "|");
    write_ln("|" + (g ? padded(" 2 - 9  Zeichen mit/ohne Wiederholungsmoeglichkeit.", 77)
                      : std::string(" 2 - 9  signs with/without the possibility of repetitions.                   ")) +
             "|");
    write_ln("|" + (g ? padded(" Zur Verfuegung stehender Zeichensatz: a,..,z,0,..,9.", 77)
                      : std::string(" You can choose from the following signs: a,..,z,0,..,9.                     ")) +
             "|");
    write_ln("|" + (g ? padded(" Der Computer kann hoechstens folgende Codes erraten:", 77)
                      : std::string(" The computer at most can guess one of the following codes:                  ")) +
             "|");
    write_ln(g ? "| Laenge des Codes         :       2    3    4    5    6    7    8    9       |"
               : "| Length of the code          :    2    3    4    5    6    7    8    9       |");
    std::string cells;
    for (int n = 2; n <= 9; ++n) cells += capacity_cell(ZAEHLEFARBEN[n]);
    write_ln(std::string(g ? "| Groesse des Zeichensatzes:      " : "| Max. number of allowed signs:   ") + cells +
             "    |");
    write_ln("|" + std::string(77, '_') + "|");
    const char digit = static_cast<char>('0' + (X.ZEITSTUFE % 10));
    if (g)
        write_ln(std::string("| Gewuenschte Spielbedingungen:    | Zeitbegrenzung (nur fuer den PC):") + digit +
                 "0 Sek. |");
    else
        write_ln(std::string("| Please choose now:               | Timelimit (only for computer): ") + digit +
                 "0 sec.   |");
    write_ln("|" + std::string(34, '_') + "|" +
             (g ? " (00 Sek. bedeutet keine Zeitbegrenzung.) " : " (00 sec. means no timelimit.)            ") +
             "|");
    write_ln(std::string(g ? "| Ton              :         " : "| Sound             :        ") + yes_no(X.TON) +
             " |" + std::string(42, '_') + "|");
    if (g)
        write_ln(std::string("| Kleinstes Zeichen:         ") + X.ERSTES_ZEICHEN + "     | Soll der PC raten? " +
                 yes_no(X.PC_RAET) + "                 |");
    else
        write_ln(std::string("| First sign        :        ") + X.ERSTES_ZEICHEN +
                 "     | Shall the computer guess? " + yes_no(X.PC_RAET) + "          |");
    write_ln(std::string(g ? "| Groesstes Zeichen:         " : "| Last  sign        :        ") +
             X.LETZTES_ZEICHEN + "     |" + std::string(42, '_') + "|");
    write_ln(std::string(g ? "| Zeichensatz      :         " : "| Set of signs      :        ") +
             padded(sign_set(), 36) + "             |");
    write_ln(std::string(g ? "| Laenge des Codes :         " : "| Length of the code:        ") +
             static_cast<char>('0' + X.CODELAENGE % 10) + "     _" + std::string(42, '_') + "|");
    write_ln(std::string(g ? "| Wiederholung von Zeichen?  " : "| Repetitions of signs?      ") +
             yes_no(X.WIEDERHOLUNG) + " |" +
             (g ? " Soll der PC eine Loesung vorgeben? " : " Shall the computer ask a riddle? ") +
             yes_no(X.PC_LOESUNG) + (g ? " |" : "   |"));  // the English question is shorter
    write_ln(std::string(g ? "| Sind Leerzeichen erlaubt?  " : "| Are vacant signs allowed?  ") +
             yes_no(X.LEERZEICHEN_ERLAUBT) + " |" + (g ? " Loesung " : " Answer: ") +
             padded(std::string(X.CODELAENGE, '.'), 9) + std::string(24, ' ') + "|");
    write_ln(std::string(g ? "| Ist die Loesung fest?      " : "| Is the answer fixed?       ") +
             yes_no(X.LOESUNG_FEST) + " |" + std::string(42, '_') + "|");
    write_ln("|" + std::string(34, '_') + "|" +
             (g ? " Bitte waehlen Sie (1, 2, 3 oder 4): 1.   " : " Please choose now (1, 2, 3 or 4):  1.    ") +
             "|");
    write_ln(g ? "| 1.: Spiel zu diesen Bed. -  2.: Revanche -  3.: Bed. aendern -  4.: Ende.   |"
               : "| 1: Game on these conditions -  2: Rematch -  3: Change conditons -  4: End. |");
    write_ln("|" + std::string(77, '_') + "|");
    const char* ok = g ? " O.K.? Ja.|" : " O.K.? Yes|";
    write_ln(std::string(g ? "| 1. Spieler,denkt sich Raetsel aus: " : "| 1st player,who devises the riddle: ") +
             player_text(X.PC_LOESUNG, X.NAME1) + ok);
    write_ln(std::string(g ? "| 2. Spieler,knackt den Code       : " : "| 2nd player,who cracks the code   : ") +
             player_text(X.PC_RAET, X.NAME2) + ok);
    write("|" + std::string(77, '_') + "|");
}

void LESE_ZEICHEN(char other) {
    unsigned char k = 0;
    for (;;) {
        k = console::read_key();
        if (k == 0) {
            console::read_key();
            continue;
        }
        if (k >= 'A' && k <= 'Z') k = static_cast<unsigned char>(k - 'A' + 'a');
        if (k == 8 || k == 13 || k == 3 || k == 27) break;
        const bool sign = (k >= '0' && k <= '9') || (k >= 'a' && k <= 'z');
        if (sign && !(other != '*' && k == static_cast<unsigned char>(other))) break;
    }
    A = k;
    if (k == 8 || k == 13 || k == 3 || k == 27) return;
    const char c = static_cast<char>(k);

    if (other != '*') {  // the last sign
        if (c == X.LETZTES_ZEICHEN) return;
        const byte n = NRARRAY[k - '0'];
        console::write_at(30, 14, std::string(1, c));
        if (n > MAXFARBE) {
            std::string more;
            for (int i = MAXFARBE + 1; i <= n; ++i) more += static_cast<char>(FARBARRAY[i]);
            console::write_at(30 + MAXFARBE, 15, more);
        } else if (n < MAXFARBE) {
            console::write_at(30 + n, 15, std::string(static_cast<std::size_t>(MAXFARBE - n), ' '));
        }
        X.LETZTES_ZEICHEN = c;
        MAXFARBE = n;
        return;
    }

    // The first sign: the set moves along the ring and keeps its size.
    if (c == X.ERSTES_ZEICHEN) return;
    const byte size = MAXFARBE;
    X.ERSTES_ZEICHEN = c;
    baue_zeichentabellen();
    X.LETZTES_ZEICHEN = static_cast<char>(FARBARRAY[size]);
    MAXFARBE = size;
    console::write_at(30, 13, std::string(1, X.ERSTES_ZEICHEN));
    console::write_at(30, 14, std::string(1, X.LETZTES_ZEICHEN));
    console::write_at(30, 15, sign_set());
}

namespace {

DialogEnde walk_fields(int start) {
    int step = start;
    for (;;) {
        unsigned char k = 0;
        switch (step) {
            case 1: {  // time limit
                KANN_RATEN = true;
                KANN_MOGELN = true;
                WEITER = false;
                MAXFARBE = number_of_last_sign();
                // The set may have shrunk below the code on the way back here.
                force_repetition();
                if (zwei_personen_fest()) schreibe_loesungspunkte();
                console::goto_xy(time_col(), 10);
                for (;;) {
                    k = read_field_key();
                    if ((k >= '0' && k <= '9') || k == 13 || k == 8 || k == 27 || k == 3) break;
                }
                A = k;
                if (k == 27 || k == 3) return DialogEnde::hauptmenue;
                if (k == 8) {
                    force_repetition();
                    check_in_force();
                    if (zwei_personen_fest()) {
                        step = 11;
                        break;
                    }
                    return DialogEnde::menue;
                }
                if (k != 13) {
                    X.ZEITSTUFE = static_cast<byte>(k - '0');
                    setze_zeitlimit();
                    console::write_at(time_col(), 10, std::string(1, static_cast<char>(k)));
                }
                step = 2;
                break;
            }
            case 2:  // sound
                k = yes_no_field(30, 12, X.TON, WECHSEL0);
                step = k == 8 ? 1 : k == 27 ? 1 : k == 3 ? 0 : 3;
                break;
            case 3:  // first sign
                KANN_RATEN = true;
                KANN_MOGELN = true;
                WEITER = false;
                console::goto_xy(30, 13);
                LESE_ZEICHEN('*');
                k = A;
                step = k == 8 ? 2 : k == 27 ? 1 : k == 3 ? 0 : 4;
                break;
            case 4:  // last sign
                console::goto_xy(30, 14);
                LESE_ZEICHEN(X.ERSTES_ZEICHEN);
                k = A;
                step = k == 8 ? 3 : k == 27 ? 1 : k == 3 ? 0 : 5;
                break;
            case 5: {  // code length
                KORRIGIERE(MAXFARBE, 2, false, false, true, false);
                console::goto_xy(30, 16);
                for (;;) {
                    k = read_field_key();
                    if ((k >= '2' && k <= '9') || k == 13 || k == 8 || k == 27 || k == 3) break;
                }
                A = k;
                if (k == 8 || k == 27 || k == 3) {
                    step = k == 8 ? 4 : k == 27 ? 1 : 0;
                    break;
                }
                if (k != 13) {
                    const int d = k - '0', n = X.CODELAENGE;
                    console::write_at(30, 16, std::string(1, static_cast<char>(k)));
                    if (d < n) console::write_at(46 + d, 18, std::string(static_cast<std::size_t>(n - d), ' '));
                    if (d > n) console::write_at(46 + n, 18, std::string(static_cast<std::size_t>(d - n), '.'));
                    X.CODELAENGE = static_cast<byte>(d);
                }
                KORRIGIERE(MAXFARBE, X.CODELAENGE, false, false, true, false);
                step = 6;
                break;
            }
            case 6:  // repetition
                if (X.CODELAENGE > MAXFARBE) {
                    force_repetition();
                } else {
                    k = yes_no_field(30, 17, X.WIEDERHOLUNG, WECHSEL0);
                    if (k == 8 || k == 27 || k == 3) {
                        step = k == 8 ? 5 : k == 27 ? 1 : 0;
                        break;
                    }
                }
                KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, false, true, false);
                step = 7;
                break;
            case 7:  // vacant sign
                k = yes_no_field(30, 18, X.LEERZEICHEN_ERLAUBT, WECHSEL0);
                if (k == 8 || k == 27 || k == 3) {
                    step = k == 8 ? (X.CODELAENGE > MAXFARBE ? 5 : 6) : k == 27 ? 1 : 0;
                    break;
                }
                LEERZ_MERKER = X.LEERZEICHEN_ERLAUBT;
                check_in_force();
                step = 8;
                break;
            case 8:  // answer fixed
                if (!KANN_MOGELN) {
                    step = 9;
                    break;
                }
                k = yes_no_field(30, 19, X.LOESUNG_FEST, WECHSEL0);
                step = k == 8 ? 7 : k == 27 ? 1 : k == 3 ? 0 : 9;
                break;
            case 9:  // the computer guesses
                if (!KANN_RATEN) {
                    step = 10;
                    break;
                }
                k = yes_no_field(computer_guesses_col(), 13, X.PC_RAET, WECHSEL2);
                if (WECHSEL2) {
                    if (X.PC_RAET)
                        SCHREIBE_PC(false, true);
                    else
                        SCHREIBE_NAME(false, true, false);
                }
                if (k == 8) {
                    check_in_force();
                    step = 8;
                    break;
                }
                step = k == 27 ? 1 : k == 3 ? 0 : 10;
                break;
            case 10:  // the second player's name
                if (X.PC_RAET) {
                    step = 11;
                    break;
                }
                LESE_NAMEN(2, X.NAME2, k);
                A = k;
                step = k == 8 ? latest_of_9_8_7() : (k == 27 || k == 2) ? 1 : k == 3 ? 0 : 11;
                break;
            case 11:  // the computer devises the riddle
                k = yes_no_field(computer_devises_col(), 17, X.PC_LOESUNG, WECHSEL1);
                if (k == 8 || k == 27 || k == 3) {
                    NAMEN_UEBERSPRINGEN = false;
                    if (k == 8) {
                        check_in_force();
                        step = latest_of_9_8_7();
                    } else {
                        step = k == 27 ? 1 : 0;
                    }
                    break;
                }
                if (WECHSEL1) {
                    if (X.PC_LOESUNG)
                        SCHREIBE_PC(true, false);
                    else
                        SCHREIBE_NAME(true, false, false);
                }
                if (X.PC_LOESUNG) {
                    NAMEN_UEBERSPRINGEN = false;
                    return DialogEnde::menue;
                }
                step = 12;
                break;
            case 12:  // the first player's name
                if (!NAMEN_UEBERSPRINGEN) {
                    LESE_NAMEN(1, X.NAME1, k);
                    A = k;
                    if (k == 8 || k == 27 || k == 2 || k == 3) {
                        NAMEN_UEBERSPRINGEN = false;
                        step = k == 8 ? 11 : k == 3 ? 0 : 1;
                        break;
                    }
                }
                ZURUECK = false;
                step = 13;
                break;
            case 13:  // the secret of two persons
                if (!zwei_personen_fest()) return DialogEnde::menue;
                console::goto_xy(46, 18);
                LESE_LSG(LOESUNG, k);
                ZURUECK = false;
                A = k;
                if (k == 8 || k == 27 || k == 3) {
                    NAMEN_UEBERSPRINGEN = false;
                    if (k != 8) schreibe_loesungspunkte();
                    step = k == 8 ? 11 : k == 27 ? 11 : 1;
                    break;
                }
                return DialogEnde::menue;
            default:
                return DialogEnde::hauptmenue;
        }
        if (step == 0) return DialogEnde::hauptmenue;
    }
}

}  // namespace

DialogEnde BEDINGUNGEN_AENDERN(int start) {
    const DialogEnde e = walk_fields(start);
    // The walk may be left before the repetition field is reached (Esc at the
    // time limit, Ctrl-C anywhere) after the set was made smaller than the
    // code: the conditions are saved and played as they stand, so they must
    // be playable.
    MAXFARBE = number_of_last_sign();
    if (force_repetition() && e == DialogEnde::menue) check_in_force();
    return e;
}

}  // namespace zqspiel
