#include "engine/play/board.h"

#include "console/console.h"
#include "engine/joined.h"
#include "version.h"

namespace zqspiel {

namespace {

constexpr const char* TABLE_PART = "|*|   |         | | |*|   |         | | |";
constexpr const char* EMPTY_ROW = "|                                     ";

std::string number_text(int n) { return std::to_string(n); }

// The digits of a number and the blanks completing them to three columns.
std::string pad3(int n) {
    const std::size_t d = number_text(n).size();
    return std::string(d < 3 ? 3 - d : 0, ' ');
}

void write_row(const std::string& s) { console::write_ln(s); }

// "| " + the name up to its last non-blank + "." + blanks to 31 name places + 4 blanks.
std::string name_line(const NAMENSFELD& name) {
    int last = 0;
    for (int i = 1; i <= 31; ++i)
        if (name[i] != ' ' && name[i] != '\0') last = i;
    std::string s = "| ";
    for (int i = 1; i <= last; ++i) {
        const char c = name[i];
        // Only printable ASCII reaches the screen, whatever the file held.
        s += (c >= 32 && c < 127) ? c : ' ';
    }
    s += '.';
    s.append(static_cast<std::size_t>(31 - last), ' ');
    s.append(4, ' ');
    return s;
}

// The two lines of the maximum-trials box, 34 characters each.
void box_rows(byte max_trials, bool max_known, std::string& z1, std::string& z2) {
    if (!max_known || max_trials == 0) {
        z1 = z2 = std::string(34, ' ');
        return;
    }
    const std::string d = number_text(max_trials), p = pad3(max_trials);
    const bool at_most = X.LOESUNG_FEST && MAXFARBE > 1;
    if (SP_D) {
        z1 = at_most ? joined("   Der Code kann mit maximal ", d, "  ", p)
                     : joined("   Der Code kann mit genau ", d, "    ", p);
        z2 = "   Versuchen geknackt werden.     ";
    } else {
        z1 = " It is possible to crack the code ";
        z2 = at_most ? joined(" with ", d, " trials or less.", std::string(9, ' '), p)
                     : joined(" with ", d, " trials.", std::string(17, ' '), p);
    }
}

// The author line of row 2 (77 characters between the bars).
std::string author_line() {
    const std::string t = SP_D ? "Zentrovalquist - Codeknacken fuer eine oder zwei Personen"
                               : "Zentrovalquist - code breaking for one or two players";
    std::string s = t.substr(0, 77);
    const std::size_t links = (77 - s.size()) / 2;
    s.insert(0, links, ' ');
    s.append(77 - s.size(), ' ');
    return s;
}

}  // namespace

void write_answer(int p_col, int z_col, int row, byte p, byte z) {
    console::goto_xy(p_col, row);
    console::write_num(p);
    console::goto_xy(z_col, row);
    console::write_num(z);
    console::goto_xy(z_col, row);
}

void draw_board(byte max_trials, bool max_known, const std::string& pattern) {
    const bool d = SP_D;
    const int length = X.CODELAENGE;
    console::text_attr(NORMALFARBE);
    console::clr_scr();

    // Row 1: the title line, emphasised as every title line of the program.
    console::text_attr(HERVORFARBE);
    console::write("___  ***  Zentrovalquist  ****  macOS - 64-Bit - Version  " ZQ_VERSION_DATE ".  ***  ___");
    console::text_attr(NORMALFARBE);
    console::write('\n');
    write_row(joined('|', author_line(), '|'));
    write_row("|_____________________________________________________________________________|");

    std::string b1, b2;
    box_rows(max_trials, max_known, b1, b2);

    std::string signs;
    for (int n = 1; n <= MAXFARBE && n <= 36; ++n) signs += static_cast<char>(FARBARRAY[n]);
    signs.resize(41, ' ');
    write_row(joined("| ", signs, '|', b1, '|'));

    std::string m = pattern;
    m.resize(12, ' ');
    const char* repeat_text = X.WIEDERHOLUNG ? (d ? " Zeichen mit Wiederholung " : " signs with repetition    ")
                                          : (d ? " Zeichen ohne Wiederholung" : " signs without repetition ");
    write_row(joined("| ", number_text(length), repeat_text, pad3(length), m, '|', b2, '|'));
    write_row("|__________________________________________|__________________________________|");

    const bool vacant = LEERZ_MERKER;
    if (d)
        write_row("| Das Leerzeichen \" \"/\"*\" darf zum    |*|Nr.|  Code   |P|Z|*|Nr.|  Code   |P|Z|");
    else if (vacant)
        write_row("| The vacant sign ' '/'*' may be used |*|No.|  Code   |P|S|*|No.|  Code   |P|S|");
    else
        write_row("| The vacant sign ' '/'*' cannot be   |*|No.|  Code   |P|S|*|No.|  Code   |P|S|");
    const char* z8 = vacant ? (d ? "| Raten zuhilfegenommen werden.       " : "| for guessing.                       ")
                          : (d ? "| Raten nicht zuhilfegenommen werden. " : "| used for guessing.                  ");
    write_row(joined(z8, "|*|___|_________|_|_|*|___|_________|_|_|"));

    const char* z9 = X.LOESUNG_FEST ? (d ? " Der zu ratende Code ist fest.       " : " The answercode is fixed.            ")
                                    : (d ? " Der zu ratende Code ist nicht fest. " : " The answercode is not fixed.        ");
    write_row(joined('|', z9, "|*|  1|         | | |*|   |         | | |"));
    write_row(joined(EMPTY_ROW, TABLE_PART));
    write_row(joined("|_____________________________________", TABLE_PART));

    // Who devised the riddle (rows 12, 13) and who cracks it (rows 14, 15).
    const char* z12 = X.PC_LOESUNG ? (d ? " Das Raetsel stammt vom Computer.    " : " The riddle comes from               ")
                                   : (d ? " Das Raetsel stammt von              " : " The riddle comes from               ");
    write_row(joined('|', z12, TABLE_PART));
    if (X.PC_LOESUNG)
        write_row(joined(d ? EMPTY_ROW : "| the computer.                       ", TABLE_PART));
    else
        write_row(joined(name_line(X.NAME1), TABLE_PART));
    const char* z14 = X.PC_RAET ? (d ? " Die Loesung stammt vom Computer.    " : " The solution comes from             ")
                                : (d ? " Die Loesung stammt von              " : " The solution comes from             ");
    write_row(joined('|', z14, TABLE_PART));
    if (X.PC_RAET)
        write_row(joined(d ? EMPTY_ROW : "| the computer.                       ", TABLE_PART));
    else
        write_row(joined(name_line(X.NAME2), TABLE_PART));
    write_row(joined("|_____________________________________", TABLE_PART));

    const char* z18 = d ? "                .   Uhr,    Sekunden." : "           :        .m.,    seconds. ";
    write_row(joined('|', d ? " Spielbeginn:                        " : " Game start:                         ",
                     TABLE_PART));
    write_row(joined('|', z18, TABLE_PART));
    write_row(joined('|', d ? " Datum/Zeit :                        " : " Date/time :                         ",
                     TABLE_PART));
    write_row(joined('|', z18, TABLE_PART));
    write_row(joined('|', d ? " Spieldauer : 00 Std. 00 Min. 00 Sek." : " Time total: 00 hours 00 min. 00 sec.",
                     TABLE_PART));
    write_row(joined('|', d ? " Ratezeit   : 00 Std. 00 Min. 00 Sek." : " to guess  : 00 hours 00 min. 00 sec.",
                     TABLE_PART));
    write_row(joined('|', d ? " Antwortzeit: 00 Std. 00 Min. 00 Sek." : " to answer : 00 hours 00 min. 00 sec.",
                     TABLE_PART));
    write_row("|_____________________________________|_|___|_________|_|_|_|___|_________|_|_|");

    // Row 25, without a line feed: the last row must not scroll.
    const char* z25;
    if (X.PC_RAET)
        z25 = d ? "Aktueller Versuch: geratene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00"
                : "This trial: time already guessed: 00.00.00 .......... time yet needed: 00.00.00";
    else if (X.LOESUNG_FEST)
        z25 = d ? "Loesung:               Benoetigte Versuche:             Neues Spiel? Ja."
                : "Answer:                       Trials made:                 New Game? Yes.";
    else
        z25 = d ? "       Bereits verstrichene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00"
                : "Initialisation:     time elapsed: 00.00.00 .......... time yet needed: 00.00.00";
    console::write(z25);
}

}  // namespace zqspiel
