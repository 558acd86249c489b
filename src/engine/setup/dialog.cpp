#include "engine/setup/dialog.h"

#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "engine/joined.h"
#include "engine/play/entry.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_screen.h"
#include "engine/setup/name_editor.h"
#include "engine/setup/yes_no.h"

namespace zqspiel {

namespace key = console::key;

namespace {

const char* yes_no(bool v) { return YES_NO_TEXT[SP_D ? 1 : 0][v ? 1 : 0]; }

std::string padded(std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
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

int time_col() { return SP_D ? 71 : 69; }
int computer_devises_col() { return SP_D ? 73 : 71; }

// Backspace, Esc and Ctrl-C leave a field; a name field also leaves on
// Ctrl-B, its own break.
bool leaves_field(unsigned char k) { return k == key::BACKSPACE || key::breaks_off(k); }

// A key for a field of its own: extended keys are swallowed and read again.
unsigned char read_field_key() {
    for (;;) {
        const unsigned char k = console::read_key();
        if (k != key::EXTENDED) return k;
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
    if (!repetition_required()) return false;
    show_yes_no(30, 17, true);
    return true;
}

}  // namespace

bool two_persons_fixed() { return !X.PC_LOESUNG && !X.PC_RAET && X.LOESUNG_FEST; }

void write_solution_dots() {
    console::write_at(46, 18, std::string(X.CODELAENGE, '.'));
}

void BILDSCHIRM() {
    using console::write;
    using console::write_ln;
    const bool g = SP_D;
    console::text_attr(NORMALFARBE);
    console::clr_scr();

    write_ln(std::string(79, '_'));
    write("|                               Zentrovalquist                      | ");
    console::text_attr(HERVORFARBE);
    write(MEMORY_TEXT[SPEICHERSTUFE >= 1 && SPEICHERSTUFE <= 15 ? SPEICHERSTUFE : 10]);
    console::text_attr(NORMALFARBE);
    write_ln(" |");
    write_ln(joined("|                             ******************                    |", std::string(9, '_'), '|'));
    write_ln(joined('|',
                    g ? padded(" 2 - 9  Zeichen mit/ohne Wiederholungsmoeglichkeit.", 77)
                      : std::string(" 2 - 9  signs with/without the possibility of repetitions.                   "),
                    '|'));
    write_ln(joined('|',
                    g ? padded(" Zur Verfuegung stehender Zeichensatz: a,..,z,0,..,9.", 77)
                      : std::string(" You can choose from the following signs: a,..,z,0,..,9.                     "),
                    '|'));
    write_ln(joined('|',
                    g ? padded(" Der Computer kann hoechstens folgende Codes erraten:", 77)
                      : std::string(" The computer at most can guess one of the following codes:                  "),
                    '|'));
    write_ln(g ? "| Laenge des Codes         :       2    3    4    5    6    7    8    9       |"
               : "| Length of the code          :    2    3    4    5    6    7    8    9       |");
    std::string cells;
    for (int n = 2; n <= 9; ++n) {
        cells += capacity_cell(ZAEHLEFARBEN[n]);
        cells += "   ";
    }
    write_ln(joined(g ? "| Groesse des Zeichensatzes:      " : "| Max. number of allowed signs:   ", cells, "    |"));
    write_ln(joined('|', std::string(77, '_'), '|'));
    const char digit = static_cast<char>('0' + (X.ZEITSTUFE % 10));
    if (g)
        write_ln(joined("| Gewuenschte Spielbedingungen:    | Zeitbegrenzung (nur fuer den PC):", digit, "0 Sek. |"));
    else
        write_ln(joined("| Please choose now:               | Timelimit (only for computer): ", digit, "0 sec.   |"));
    write_ln(joined('|', std::string(34, '_'), '|',
                    g ? " (00 Sek. bedeutet keine Zeitbegrenzung.) " : " (00 sec. means no timelimit.)            ",
                    '|'));
    write_ln(joined(g ? "| Ton              :         " : "| Sound             :        ", yes_no(X.TON), " |",
                    std::string(42, '_'), '|'));
    if (g)
        write_ln(joined("| Kleinstes Zeichen:         ", X.ERSTES_ZEICHEN, "     | Soll der PC raten? ",
                        yes_no(X.PC_RAET), "                 |"));
    else
        write_ln(joined("| First sign        :        ", X.ERSTES_ZEICHEN, "     | Shall the computer guess? ",
                        yes_no(X.PC_RAET), "          |"));
    write_ln(joined(g ? "| Groesstes Zeichen:         " : "| Last  sign        :        ", X.LETZTES_ZEICHEN,
                    "     |", std::string(42, '_'), '|'));
    write_ln(joined(g ? "| Zeichensatz      :         " : "| Set of signs      :        ", padded(sign_set(), 36),
                    "             |"));
    write_ln(joined(g ? "| Laenge des Codes :         " : "| Length of the code:        ",
                    static_cast<char>('0' + X.CODELAENGE % 10), "     _", std::string(42, '_'), '|'));
    write_ln(joined(g ? "| Wiederholung von Zeichen?  " : "| Repetitions of signs?      ", yes_no(X.WIEDERHOLUNG),
                    " |", g ? " Soll der PC eine Loesung vorgeben? " : " Shall the computer ask a riddle? ",
                    yes_no(X.PC_LOESUNG), g ? " |" : "   |"));  // the English question is shorter
    write_ln(joined(g ? "| Sind Leerzeichen erlaubt?  " : "| Are vacant signs allowed?  ",
                    yes_no(X.LEERZEICHEN_ERLAUBT), " |", g ? " Loesung " : " Answer: ",
                    padded(std::string(X.CODELAENGE, '.'), 9), std::string(24, ' '), '|'));
    write_ln(joined(g ? "| Ist die Loesung fest?      " : "| Is the answer fixed?       ", yes_no(X.LOESUNG_FEST),
                    " |", std::string(42, '_'), '|'));
    write_ln(joined('|', std::string(34, '_'), '|',
                    g ? " Bitte waehlen Sie (1, 2, 3 oder 4): 1.   " : " Please choose now (1, 2, 3 or 4):  1.    ",
                    '|'));
    write_ln(g ? "| 1.: Spiel zu diesen Bed. -  2.: Revanche -  3.: Bed. aendern -  4.: Ende.   |"
               : "| 1: Game on these conditions -  2: Rematch -  3: Change conditons -  4: End. |");
    write_ln(joined('|', std::string(77, '_'), '|'));
    const char* ok = g ? " O.K.? Ja.|" : " O.K.? Yes|";
    write_ln(joined(g ? "| 1. Spieler,denkt sich Raetsel aus: " : "| 1st player,who devises the riddle: ",
                    player_text(X.PC_LOESUNG, X.NAME1), ok));
    write_ln(joined(g ? "| 2. Spieler,knackt den Code       : " : "| 2nd player,who cracks the code   : ",
                    player_text(X.PC_RAET, X.NAME2), ok));
    write(joined('|', std::string(77, '_'), '|'));
}

void LESE_ZEICHEN(char other) {
    unsigned char k = 0;
    for (;;) {
        k = console::read_key();
        if (k == key::EXTENDED) {
            console::read_key();
            continue;
        }
        if (k >= 'A' && k <= 'Z') k = static_cast<unsigned char>(k - 'A' + 'a');
        if (k == key::ENTER || leaves_field(k)) break;
        const bool sign = (k >= '0' && k <= '9') || (k >= 'a' && k <= 'z');
        if (sign && !(other != '*' && k == static_cast<unsigned char>(other))) break;
    }
    A = k;
    if (k == key::ENTER || leaves_field(k)) return;
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
    build_sign_tables();
    X.LETZTES_ZEICHEN = static_cast<char>(FARBARRAY[size]);
    MAXFARBE = size;
    console::write_at(30, 13, std::string(1, X.ERSTES_ZEICHEN));
    console::write_at(30, 14, std::string(1, X.LETZTES_ZEICHEN));
    console::write_at(30, 15, sign_set());
}

namespace {

// The fields of the walk in the order of the screen; the two ends of the walk
// are not fields but where it leaves to.
enum class Field {
    main_menu,         // the walk is left for the main menu
    time_limit,        // FIELD_ZEITLIMIT
    sound,
    first_sign,
    last_sign,
    code_length,
    repetition,
    vacant_sign,
    answer_fixed,
    computer_guesses,
    second_name,
    computer_devises,  // FIELD_ENCODER
    first_name,
    secret_code,       // FIELD_SECRET_CODE
    conditions_menu,   // the walk is over: the four-way menu is read again
};

static_assert(static_cast<int>(Field::time_limit) == FIELD_ZEITLIMIT);
static_assert(static_cast<int>(Field::computer_devises) == FIELD_ENCODER);
static_assert(static_cast<int>(Field::secret_code) == FIELD_SECRET_CODE);

// A name field also leaves on Ctrl-B, its own break.
bool leaves_name_field(unsigned char k) { return leaves_field(k) || k == key::CTRL_B; }

// Where a key that leaves a field leads: Backspace one field back, Esc (and
// Ctrl-B) to the start of the walk, Ctrl-C to the main menu, unless the field
// says otherwise.
Field route(unsigned char k, Field back, Field esc = Field::time_limit, Field ctrl_c = Field::main_menu) {
    if (k == key::BACKSPACE) return back;
    if (k == key::CTRL_C) return ctrl_c;
    return esc;
}

// The answer-fixed and computer-guesses fields are offered only when the
// memory allows the computer that role; Backspace goes to the latest offered.
Field latest_offered_before_names() {
    if (KANN_RATEN) return Field::computer_guesses;
    if (KANN_MOGELN) return Field::answer_fixed;
    return Field::vacant_sign;
}

// A digit field: reads keys until a digit lo..hi, Enter or a key that leaves
// the field comes; the key is also left in A.
unsigned char read_digit_field(unsigned char lo, unsigned char hi) {
    unsigned char k = 0;
    for (;;) {
        k = read_field_key();
        if ((k >= lo && k <= hi) || k == key::ENTER || leaves_field(k)) break;
    }
    A = k;
    return k;
}

Field time_limit_field() {
    KANN_RATEN = true;
    KANN_MOGELN = true;
    WEITER = false;
    MAXFARBE = number_of_last_sign();
    // The set may have shrunk below the code on the way back here.
    force_repetition();
    if (two_persons_fixed()) write_solution_dots();
    console::goto_xy(time_col(), 10);
    const unsigned char k = read_digit_field('0', '9');
    if (key::breaks_off(k)) return Field::main_menu;
    if (k == key::BACKSPACE) {
        force_repetition();
        check_in_force();
        return two_persons_fixed() ? Field::computer_devises : Field::conditions_menu;
    }
    if (k != key::ENTER) {
        X.ZEITSTUFE = static_cast<byte>(k - '0');
        set_zeitlimit();
        console::write_at(time_col(), 10, std::string(1, static_cast<char>(k)));
    }
    return Field::sound;
}

Field sound_field() {
    const unsigned char k = yes_no_field(30, 12, X.TON, WECHSEL0);
    if (leaves_field(k)) return route(k, Field::time_limit);
    return Field::first_sign;
}

Field first_sign_field() {
    KANN_RATEN = true;
    KANN_MOGELN = true;
    WEITER = false;
    console::goto_xy(30, 13);
    LESE_ZEICHEN('*');
    if (leaves_field(A)) return route(A, Field::sound);
    return Field::last_sign;
}

Field last_sign_field() {
    console::goto_xy(30, 14);
    LESE_ZEICHEN(X.ERSTES_ZEICHEN);
    if (leaves_field(A)) return route(A, Field::first_sign);
    return Field::code_length;
}

Field code_length_field() {
    KORRIGIERE(MAXFARBE, 2, false, false, true, false);
    console::goto_xy(30, 16);
    const unsigned char k = read_digit_field('2', '9');
    if (leaves_field(k)) return route(k, Field::last_sign);
    if (k != key::ENTER) {
        // The dots of the secret-code field follow the length.
        const int d = k - '0', n = X.CODELAENGE;
        console::write_at(30, 16, std::string(1, static_cast<char>(k)));
        if (d < n) console::write_at(46 + d, 18, std::string(static_cast<std::size_t>(n - d), ' '));
        if (d > n) console::write_at(46 + n, 18, std::string(static_cast<std::size_t>(d - n), '.'));
        X.CODELAENGE = static_cast<byte>(d);
    }
    KORRIGIERE(MAXFARBE, X.CODELAENGE, false, false, true, false);
    return Field::repetition;
}

Field repetition_field() {
    if (X.CODELAENGE > MAXFARBE) {
        force_repetition();  // no choice, so the field is not offered
    } else {
        const unsigned char k = yes_no_field(30, 17, X.WIEDERHOLUNG, WECHSEL0);
        if (leaves_field(k)) return route(k, Field::code_length);
    }
    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, false, true, false);
    return Field::vacant_sign;
}

Field vacant_sign_field() {
    const unsigned char k = yes_no_field(30, 18, X.LEERZEICHEN_ERLAUBT, WECHSEL0);
    if (leaves_field(k))
        return route(k, X.CODELAENGE > MAXFARBE ? Field::code_length : Field::repetition);
    LEERZ_MERKER = X.LEERZEICHEN_ERLAUBT;
    check_in_force();
    return Field::answer_fixed;
}

Field answer_fixed_field() {
    if (!KANN_MOGELN) return Field::computer_guesses;
    const unsigned char k = yes_no_field(30, 19, X.LOESUNG_FEST, WECHSEL0);
    if (leaves_field(k)) return route(k, Field::vacant_sign);
    return Field::computer_guesses;
}

Field computer_guesses_field() {
    if (!KANN_RATEN) return Field::second_name;
    const unsigned char k = yes_no_field(computer_guesses_col(), 13, X.PC_RAET, WECHSEL2);
    if (WECHSEL2) {
        if (X.PC_RAET)
            SCHREIBE_PC(false, true);
        else
            SCHREIBE_NAME(false, true, false);
    }
    if (k == key::BACKSPACE) check_in_force();
    // Backspace passes on to this field again when the answer-fixed field
    // is not offered.
    if (leaves_field(k)) return route(k, Field::answer_fixed);
    return Field::second_name;
}

Field second_name_field() {
    if (X.PC_RAET) return Field::computer_devises;
    unsigned char k = 0;
    LESE_NAMEN(2, X.NAME2, k);
    A = k;
    if (leaves_name_field(k)) return route(k, latest_offered_before_names());
    return Field::computer_devises;
}

Field computer_devises_field() {
    const unsigned char k = yes_no_field(computer_devises_col(), 17, X.PC_LOESUNG, WECHSEL1);
    if (leaves_field(k)) {
        NAMEN_UEBERSPRINGEN = false;
        if (k == key::BACKSPACE) check_in_force();
        return route(k, latest_offered_before_names());
    }
    if (WECHSEL1) {
        if (X.PC_LOESUNG)
            SCHREIBE_PC(true, false);
        else
            SCHREIBE_NAME(true, false, false);
    }
    if (X.PC_LOESUNG) {
        NAMEN_UEBERSPRINGEN = false;
        return Field::conditions_menu;  // no first player's name to ask for
    }
    return Field::first_name;
}

Field first_name_field() {
    if (!NAMEN_UEBERSPRINGEN) {
        unsigned char k = 0;
        LESE_NAMEN(1, X.NAME1, k);
        A = k;
        if (leaves_name_field(k)) {
            NAMEN_UEBERSPRINGEN = false;
            return route(k, Field::computer_devises);
        }
    }
    ZURUECK = false;
    return Field::secret_code;
}

Field secret_code_field() {
    if (!two_persons_fixed()) return Field::conditions_menu;
    unsigned char k = 0;
    console::goto_xy(46, 18);
    LESE_LSG(LOESUNG, k);
    ZURUECK = false;
    A = k;
    if (leaves_field(k)) {
        NAMEN_UEBERSPRINGEN = false;
        if (k != key::BACKSPACE) write_solution_dots();  // the code typed so far is hidden again
        // Esc only goes back to who devises the riddle; Ctrl-C restarts.
        return route(k, Field::computer_devises, Field::computer_devises, Field::time_limit);
    }
    return Field::conditions_menu;
}

// Reads one field and gives the field that comes next.
Field read_field(Field f) {
    switch (f) {
        case Field::time_limit: return time_limit_field();
        case Field::sound: return sound_field();
        case Field::first_sign: return first_sign_field();
        case Field::last_sign: return last_sign_field();
        case Field::code_length: return code_length_field();
        case Field::repetition: return repetition_field();
        case Field::vacant_sign: return vacant_sign_field();
        case Field::answer_fixed: return answer_fixed_field();
        case Field::computer_guesses: return computer_guesses_field();
        case Field::second_name: return second_name_field();
        case Field::computer_devises: return computer_devises_field();
        case Field::first_name: return first_name_field();
        case Field::secret_code: return secret_code_field();
        case Field::main_menu:
        case Field::conditions_menu: break;
    }
    return f;
}

DialogEnd walk_fields(int start) {
    const bool a_field = start >= FIELD_ZEITLIMIT && start <= FIELD_SECRET_CODE;
    Field f = a_field ? static_cast<Field>(start) : Field::main_menu;
    while (f != Field::main_menu && f != Field::conditions_menu) f = read_field(f);
    return f == Field::main_menu ? DialogEnd::main_menu : DialogEnd::menu;
}

}  // namespace

DialogEnd change_conditions(int start) {
    const DialogEnd e = walk_fields(start);
    // The walk may be left before the repetition field is reached (Esc at the
    // time limit, Ctrl-C anywhere) after the set was made smaller than the
    // code: the conditions are saved and played as they stand, so they must
    // be playable.
    MAXFARBE = number_of_last_sign();
    if (force_repetition() && e == DialogEnd::menu) check_in_force();
    return e;
}

}  // namespace zqspiel
