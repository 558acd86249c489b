#include "engine/board.h"

#include <cstdio>

#include "console/console.h"

namespace zqspiel {

namespace {

constexpr const char* TABELLENTEIL = "|*|   |         | | |*|   |         | | |";
constexpr const char* LEERZEILE = "|                                     ";

std::string zahl(int n) { return std::to_string(n); }

// The digits of a number and the blanks completing them to three columns.
std::string pad3(int n) {
    const std::size_t d = zahl(n).size();
    return std::string(d < 3 ? 3 - d : 0, ' ');
}

// Four digits, zero-padded; the day after 31 December 9999 keeps all five of
// its year 10000 rather than turning into a year 0000.
std::string jahr4(std::uint16_t j) {
    char b[8];
    std::snprintf(b, sizeof b, "%04u", static_cast<unsigned>(j));
    return b;
}

std::string zwei(unsigned n) {
    char b[4];
    std::snprintf(b, sizeof b, "%02u", n % 100);
    return b;
}

void zeile(const std::string& s) { console::write_ln(s); }

// "| " + the name up to its last non-blank + "." + blanks to 31 name places + 4 blanks.
std::string namenszeile(const NAMENSFELD& name) {
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
void box_zeilen(byte max_versuche, bool max_bekannt, std::string& z1, std::string& z2) {
    if (!max_bekannt || max_versuche == 0) {
        z1 = z2 = std::string(34, ' ');
        return;
    }
    const std::string d = zahl(max_versuche), p = pad3(max_versuche);
    const bool hoechstens = X.LOESUNG_FEST && MAXFARBE > 1;
    if (SP_D) {
        z1 = hoechstens ? "   Der Code kann mit maximal " + d + "  " + p
                        : "   Der Code kann mit genau " + d + "    " + p;
        z2 = "   Versuchen geknackt werden.     ";
    } else {
        z1 = " It is possible to crack the code ";
        z2 = hoechstens ? " with " + d + " trials or less." + std::string(9, ' ') + p
                        : " with " + d + " trials." + std::string(17, ' ') + p;
    }
}

// The author line of row 2 (77 characters between the bars).
std::string autorenzeile() {
    const std::string t = SP_D ? "Zentrovalquist - Codeknacken fuer eine oder zwei Personen"
                               : "Zentrovalquist - code breaking for one or two players";
    std::string s = t.substr(0, 77);
    const std::size_t links = (77 - s.size()) / 2;
    s.insert(0, links, ' ');
    s.append(77 - s.size(), ' ');
    return s;
}

const char* const WOCHENTAG_D[7] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
const char* const WOCHENTAG_E[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const WOCHENTAG_E_KURZ[7] = {"Sunday", "Monday", "Tues.", "Weds.", "Thurs.", "Friday", "Sat."};
const char* const MONAT_E[13] = {"",      "Jan. ", "Feb. ", "March ", "April ", "May ",  "June ",
                                 "July ", "Aug. ", "Sept. ", "Oct. ", "Nov. ", "Dec. "};

}  // namespace

std::string datum_deutsch(std::uint16_t jahr, std::uint16_t monat, std::uint16_t tag, std::uint16_t wotag) {
    return std::string(WOCHENTAG_D[wotag % 7]) + ", " + zahl(tag) + "." + zahl(monat) + "." + jahr4(jahr) + ",";
}

std::string datum_englisch(std::uint16_t jahr, std::uint16_t monat, std::uint16_t tag, std::uint16_t wotag) {
    const char* suffix = "th ";
    if (tag == 1 || tag == 21 || tag == 31) suffix = "st ";
    else if (tag == 2 || tag == 22) suffix = "nd ";
    else if (tag == 3 || tag == 23) suffix = "rd ";
    const std::string rest = ", " + zahl(tag) + suffix + MONAT_E[monat >= 1 && monat <= 12 ? monat : 1] + jahr4(jahr) + ",";
    // The full weekday only where the whole date fits the 24 columns of its field.
    const std::string voll = WOCHENTAG_E[wotag % 7] + rest;
    if (voll.size() <= 24) return voll;
    return WOCHENTAG_E_KURZ[wotag % 7] + rest;
}

void write_answer(int p_col, int z_col, int row, byte p, byte z) {
    console::goto_xy(p_col, row);
    console::write_num(p);
    console::goto_xy(z_col, row);
    console::write_num(z);
    console::goto_xy(z_col, row);
}

void schreibe_spielbeginn() {
    const int sx = console::where_x(), sy = console::where_y();
    for (int row : {17, 19}) {
        if (SP_D) {
            std::string d = datum_deutsch(JAHR, MONAT, TAG, WOTAG);
            d.resize(23, ' ');
            console::write_at(16, row, d);
            console::write_at(16, row + 1, zwei(STD % 24));
            console::write_at(19, row + 1, zwei(MIN));
        } else {
            std::string d = datum_englisch(JAHR, MONAT, TAG, WOTAG);
            d.resize(24, ' ');
            console::write_at(15, row, d);
            const unsigned h = STD % 24;
            // The row's frame has no colon between hour and minutes (its colon
            // stands under those of the rows above), so it is written here, as
            // the clock writes it when the hour changes.
            console::write_at(15, row + 1, zwei(h % 12 == 0 ? 12 : h % 12) + ":" + zwei(MIN));
            console::write_at(21, row + 1, h < 12 ? "a" : "p");
        }
        console::write_at(27, row + 1, zwei(SEK));
    }
    console::goto_xy(sx, sy);
}

void zeichne_brett(byte max_versuche, bool max_bekannt, const std::string& muster) {
    const bool d = SP_D;
    const int laenge = X.CODELAENGE;
    console::text_attr(NORMALFARBE);
    console::clr_scr();

    // Row 1: the title line, emphasised as every title line of the program.
    console::text_attr(HERVORFARBE);
    console::write(std::string("_") + "__" + "  ***  Zentrovalquist  ****  macOS - " + "64" + "-Bit - Version  " +
                   "2025-06-21" + ".  ***  " + "__" + "_");
    console::text_attr(NORMALFARBE);
    console::write('\n');
    zeile("|" + autorenzeile() + "|");
    zeile("|_____________________________________________________________________________|");

    std::string b1, b2;
    box_zeilen(max_versuche, max_bekannt, b1, b2);

    std::string zeichen;
    for (int n = 1; n <= MAXFARBE && n <= 36; ++n) zeichen += static_cast<char>(FARBARRAY[n]);
    zeichen.resize(41, ' ');
    zeile("| " + zeichen + "|" + b1 + "|");

    std::string m = muster;
    m.resize(12, ' ');
    const char* wdh_text = X.WIEDERHOLUNG ? (d ? " Zeichen mit Wiederholung " : " signs with repetition    ")
                                          : (d ? " Zeichen ohne Wiederholung" : " signs without repetition ");
    zeile("| " + zahl(laenge) + wdh_text + pad3(laenge) + m + "|" + b2 + "|");
    zeile("|__________________________________________|__________________________________|");

    const bool leer = LEERZ_MERKER;
    if (d)
        zeile("| Das Leerzeichen \" \"/\"*\" darf zum    |*|Nr.|  Code   |P|Z|*|Nr.|  Code   |P|Z|");
    else if (leer)
        zeile("| The vacant sign ' '/'*' may be used |*|No.|  Code   |P|S|*|No.|  Code   |P|S|");
    else
        zeile("| The vacant sign ' '/'*' cannot be   |*|No.|  Code   |P|S|*|No.|  Code   |P|S|");
    const char* z8 = leer ? (d ? "| Raten zuhilfegenommen werden.       " : "| for guessing.                       ")
                          : (d ? "| Raten nicht zuhilfegenommen werden. " : "| used for guessing.                  ");
    zeile(std::string(z8) + "|*|___|_________|_|_|*|___|_________|_|_|");

    const char* z9 = X.LOESUNG_FEST ? (d ? " Der zu ratende Code ist fest.       " : " The answercode is fixed.            ")
                                    : (d ? " Der zu ratende Code ist nicht fest. " : " The answercode is not fixed.        ");
    zeile(std::string("|") + z9 + "|*|  1|         | | |*|   |         | | |");
    zeile(std::string(LEERZEILE) + TABELLENTEIL);
    zeile(std::string("|_____________________________________") + TABELLENTEIL);

    // Who devised the riddle (rows 12, 13) and who cracks it (rows 14, 15).
    const char* z12 = X.PC_LOESUNG ? (d ? " Das Raetsel stammt vom Computer.    " : " The riddle comes from               ")
                                   : (d ? " Das Raetsel stammt von              " : " The riddle comes from               ");
    zeile(std::string("|") + z12 + TABELLENTEIL);
    if (X.PC_LOESUNG)
        zeile(d ? std::string(LEERZEILE) + TABELLENTEIL
                : std::string("|") + " the computer.                       " + TABELLENTEIL);
    else
        zeile(namenszeile(X.NAME1) + TABELLENTEIL);
    const char* z14 = X.PC_RAET ? (d ? " Die Loesung stammt vom Computer.    " : " The solution comes from             ")
                                : (d ? " Die Loesung stammt von              " : " The solution comes from             ");
    zeile(std::string("|") + z14 + TABELLENTEIL);
    if (X.PC_RAET)
        zeile(d ? std::string(LEERZEILE) + TABELLENTEIL
                : std::string("|") + " the computer.                       " + TABELLENTEIL);
    else
        zeile(namenszeile(X.NAME2) + TABELLENTEIL);
    zeile(std::string("|_____________________________________") + TABELLENTEIL);

    const char* z18 = d ? "                .   Uhr,    Sekunden." : "           :        .m.,    seconds. ";
    zeile(std::string("|") + (d ? " Spielbeginn:                        " : " Game start:                         ") +
          TABELLENTEIL);
    zeile(std::string("|") + z18 + TABELLENTEIL);
    zeile(std::string("|") + (d ? " Datum/Zeit :                        " : " Date/time :                         ") +
          TABELLENTEIL);
    zeile(std::string("|") + z18 + TABELLENTEIL);
    zeile(std::string("|") + (d ? " Spieldauer : 00 Std. 00 Min. 00 Sek." : " Time total: 00 hours 00 min. 00 sec.") +
          TABELLENTEIL);
    zeile(std::string("|") + (d ? " Ratezeit   : 00 Std. 00 Min. 00 Sek." : " to guess  : 00 hours 00 min. 00 sec.") +
          TABELLENTEIL);
    zeile(std::string("|") + (d ? " Antwortzeit: 00 Std. 00 Min. 00 Sek." : " to answer : 00 hours 00 min. 00 sec.") +
          TABELLENTEIL);
    zeile("|_____________________________________|_|___|_________|_|_|_|___|_________|_|_|");

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
