// The board of a match in both languages and the match-start date and time.
#include <gtest/gtest.h>

#include <string>

#include "console/virtual_console.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/opening_patterns.h"
#include "engine/play/board.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

void signs_from(char first, char last) {
    const std::string ring = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t start = ring.find(first);
    FARBARRAY[0] = '*';
    for (int n = 1; n <= 36; ++n) FARBARRAY[n] = static_cast<byte>(ring[(start + n - 1) % 36]);
    MAXFARBE = static_cast<byte>((ring.find(last) + 36 - start) % 36 + 1);
    X.ERSTES_ZEICHEN = first;
    X.LETZTES_ZEICHEN = last;
}

void set_name(NAMENSFELD& f, const std::string& s) {
    f.fill(' ');
    for (std::size_t i = 0; i < s.size() && i < 31; ++i) f[i + 1] = s[i];
}

class Board : public ::testing::Test {
protected:
    void SetUp() override {
        X = BEDINGUNG{};
        X.CODELAENGE = 4;
        X.WIEDERHOLUNG = false;
        X.LOESUNG_FEST = true;
        X.PC_LOESUNG = true;
        X.PC_RAET = false;
        set_name(X.NAME1, "");
        set_name(X.NAME2, "Erika");
        signs_from('0', '9');
        LEERZ_MERKER = false;
        SP_D = true;
        NORMALFARBE = 31;
        HERVORFARBE = 30;
    }
    std::string row(int r) { return console::screen().row_text(r); }
    std::string at(int col, int r, int len) { return console::screen().text(col, r, len); }
    void draw(byte max = 4, bool known = true) {
        draw_board(max, known, INIT_MUSTER(X.CODELAENGE, MAXFARBE, X.WIEDERHOLUNG, LEERZ_MERKER));
    }
    console::ScopedVirtualConsole s;
};

// A line of the maximum-trials box: 34 characters between its bars.
std::string box(const std::string& text) {
    std::string t = text;
    t.resize(34, ' ');
    return "|" + t + "|";
}

const std::string TABLE = "|*|   |         | | |*|   |         | | |";

}  // namespace

// Two-digit figures stand at their columns and the cursor waits on Z.
TEST_F(Board, AnswerIsWrittenIntoTheTrialRow) {
    write_answer(34, 37, 9, 10, 2);
    EXPECT_EQ(at(34, 9, 5), "10 2 ");
    EXPECT_EQ(console::where_x(), 37);
    EXPECT_EQ(console::where_y(), 9);
}

TEST_F(Board, GeometryHoldsForEveryLanguageAndRole) {
    for (int language = 0; language < 2; ++language)
        for (int roles = 0; roles < 4; ++roles)
            for (int fixed = 0; fixed < 2; ++fixed) {
                SP_D = language == 0;
                X.PC_LOESUNG = roles & 1;
                X.PC_RAET = roles & 2;
                X.LOESUNG_FEST = fixed;
                LEERZ_MERKER = roles == 1;
                draw(5, true);
                SCOPED_TRACE("lang " + std::to_string(language) + " roles " + std::to_string(roles) + " fest " +
                             std::to_string(fixed));
                for (int r = 1; r <= 24; ++r) {
                    EXPECT_NE(row(r)[78], ' ') << "row " << r << ": " << row(r);
                    EXPECT_EQ(row(r)[79], ' ') << "row " << r << ": " << row(r);
                }
                for (int r = 2; r <= 24; ++r) EXPECT_EQ(row(r)[0], '|') << r;
                for (int r = 10; r <= 23; ++r) {
                    if (r != 16) {
                        EXPECT_EQ(at(39, r, 41), TABLE) << "row " << r;
                    }
                }
                EXPECT_EQ(at(39, 9, 41), "|*|  1|         | | |*|   |         | | |");
                EXPECT_EQ(at(39, 24, 41), "|_|___|_________|_|_|_|___|_________|_|_|");
                // Box frame at columns 44 and 79 of rows 4 and 5.
                EXPECT_EQ(row(4)[43], '|');
                EXPECT_EQ(row(5)[43], '|');
                EXPECT_EQ(row(6), "|__________________________________________|__________________________________| ");
                // Row 25 ends in column 79 and the screen did not scroll.
                EXPECT_NE(row(25)[71], ' ');
                EXPECT_EQ(row(1).substr(0, 3), "___");
            }
}

TEST_F(Board, TitleSignsAndCodeLength) {
    draw();
    EXPECT_EQ(row(1).substr(0, 79),
              "___  ***  Zentrovalquist  ****  macOS - 64-Bit - Version  2025-06-21.  ***  ___");
    EXPECT_EQ(console::screen().attr_at(10, 1), HERVORFARBE);
    EXPECT_EQ(console::screen().attr_at(10, 4), NORMALFARBE);
    EXPECT_EQ(at(1, 4, 44), "| 0123456789                               |");
    EXPECT_EQ(at(1, 5, 31), "| 4 Zeichen ohne Wiederholung  ");
    EXPECT_EQ(at(32, 5, 12), "     (0123) ");

    X.CODELAENGE = 9;
    X.WIEDERHOLUNG = true;
    signs_from('x', 'b');  // x, y, z, 0..9, a, b: 15 signs
    SP_D = false;
    draw();
    EXPECT_EQ(at(1, 4, 18), "| xyz0123456789ab ");
    EXPECT_EQ(at(1, 5, 31), "| 9 signs with repetition      ");
    EXPECT_EQ(at(32, 5, 12), "(xxyyzz001) ");
    EXPECT_EQ(at(32, 5, 1), "(");
}

TEST_F(Board, MaximumTrialsBox) {
    draw(6, true);
    EXPECT_EQ(at(44, 4, 36), box("   Der Code kann mit maximal 6"));
    EXPECT_EQ(at(44, 5, 36), "|   Versuchen geknackt werden.     |");
    draw(12, true);
    EXPECT_EQ(at(44, 4, 36), box("   Der Code kann mit maximal 12"));

    // Two signs and a fixed answer still say "maximal".
    signs_from('a', 'b');
    draw(4, true);
    EXPECT_EQ(at(44, 4, 36), box("   Der Code kann mit maximal 4"));
    // One sign, or an answer that may change, say "genau".
    signs_from('a', 'a');
    draw(1, true);
    EXPECT_EQ(at(44, 4, 36), box("   Der Code kann mit genau 1"));
    signs_from('0', '9');
    X.LOESUNG_FEST = false;
    draw(6, true);
    EXPECT_EQ(at(44, 4, 36), box("   Der Code kann mit genau 6"));

    SP_D = false;
    draw(6, true);
    EXPECT_EQ(at(44, 4, 36), "| It is possible to crack the code |");
    EXPECT_EQ(at(44, 5, 36), box(" with 6 trials."));
    X.LOESUNG_FEST = true;
    draw(16, true);
    EXPECT_EQ(at(44, 5, 36), box(" with 16 trials or less."));

    // No number known: both lines blank, in either language.
    draw(0, true);
    EXPECT_EQ(at(44, 4, 36), "|" + std::string(34, ' ') + "|");
    EXPECT_EQ(at(44, 5, 36), "|" + std::string(34, ' ') + "|");
    SP_D = true;
    draw(7, false);
    EXPECT_EQ(at(44, 4, 36), "|" + std::string(34, ' ') + "|");
}

TEST_F(Board, ConditionsInWordsFollowTheUsersVacantSetting) {
    X.LEERZEICHEN_ERLAUBT = false;  // switched off for the match ...
    LEERZ_MERKER = true;            // ... but the user allowed it
    draw();
    EXPECT_EQ(row(7).substr(0, 79), "| Das Leerzeichen \" \"/\"*\" darf zum    |*|Nr.|  Code   |P|Z|*|Nr.|  Code   |P|Z|");
    EXPECT_EQ(at(1, 8, 38), "| Raten zuhilfegenommen werden.       ");
    EXPECT_EQ(at(1, 9, 38), "| Der zu ratende Code ist fest.       ");
    SP_D = false;
    draw();
    EXPECT_EQ(at(1, 7, 38), "| The vacant sign ' '/'*' may be used ");
    EXPECT_EQ(at(39, 7, 41), "|*|No.|  Code   |P|S|*|No.|  Code   |P|S|");
    EXPECT_EQ(at(1, 8, 38), "| for guessing.                       ");
    LEERZ_MERKER = false;
    X.LOESUNG_FEST = false;
    draw();
    EXPECT_EQ(at(1, 7, 38), "| The vacant sign ' '/'*' cannot be   ");
    EXPECT_EQ(at(1, 8, 38), "| used for guessing.                  ");
    EXPECT_EQ(at(1, 9, 38), "| The answercode is not fixed.        ");
    SP_D = true;
    draw();
    EXPECT_EQ(at(1, 8, 38), "| Raten nicht zuhilfegenommen werden. ");
    EXPECT_EQ(at(1, 9, 38), "| Der zu ratende Code ist nicht fest. ");
}

TEST_F(Board, WhoPlays) {
    // Computer devises, Erika guesses.
    draw();
    EXPECT_EQ(at(1, 12, 38), "| Das Raetsel stammt vom Computer.    ");
    EXPECT_EQ(at(1, 13, 38), "|                                     ");
    EXPECT_EQ(at(1, 14, 38), "| Die Loesung stammt von              ");
    EXPECT_EQ(at(1, 15, 39), "| Erika." + std::string(30, ' ') + "|");
    SP_D = false;
    draw();
    EXPECT_EQ(at(1, 12, 38), "| The riddle comes from               ");
    EXPECT_EQ(at(1, 13, 38), "| the computer.                       ");
    EXPECT_EQ(at(1, 14, 38), "| The solution comes from             ");
    EXPECT_EQ(at(1, 15, 8), "| Erika.");

    // Two persons; a name of 31 letters fills columns 3..33.
    const std::string long_name(31, 'q');
    set_name(X.NAME1, long_name);
    X.PC_LOESUNG = false;
    X.PC_RAET = true;
    SP_D = true;
    draw();
    EXPECT_EQ(at(1, 12, 38), "| Das Raetsel stammt von              ");
    EXPECT_EQ(at(3, 13, 31), long_name);
    EXPECT_EQ(at(34, 13, 6), ".    |");
    EXPECT_EQ(at(39, 13, 41), TABLE);
    EXPECT_EQ(at(1, 14, 38), "| Die Loesung stammt vom Computer.    ");
    EXPECT_EQ(at(1, 15, 38), "|                                     ");
    SP_D = false;
    draw();
    EXPECT_EQ(at(1, 15, 38), "| the computer.                       ");

    // Inner blanks of a name stay, trailing ones do not.
    set_name(X.NAME1, "Anna Lena");
    draw();
    EXPECT_EQ(at(1, 13, 13), "| Anna Lena. ");
}

TEST_F(Board, ClockRowsAndStatusLineByRole) {
    draw();
    EXPECT_EQ(at(1, 17, 38), "| Spielbeginn:                        ");
    EXPECT_EQ(at(1, 18, 38), "|                .   Uhr,    Sekunden.");
    EXPECT_EQ(at(1, 19, 38), "| Datum/Zeit :                        ");
    EXPECT_EQ(at(1, 21, 38), "| Spieldauer : 00 Std. 00 Min. 00 Sek.");
    EXPECT_EQ(at(1, 22, 38), "| Ratezeit   : 00 Std. 00 Min. 00 Sek.");
    EXPECT_EQ(at(1, 23, 38), "| Antwortzeit: 00 Std. 00 Min. 00 Sek.");
    EXPECT_EQ(row(25), "Loesung:               Benoetigte Versuche:             Neues Spiel? Ja.        ");
    X.LOESUNG_FEST = false;
    draw();
    EXPECT_EQ(row(25).substr(0, 79), "       Bereits verstrichene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00");
    X.PC_RAET = true;
    draw();
    EXPECT_EQ(row(25).substr(0, 79), "Aktueller Versuch: geratene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00");

    SP_D = false;
    draw();
    EXPECT_EQ(row(25).substr(0, 79), "This trial: time already guessed: 00.00.00 .......... time yet needed: 00.00.00");
    EXPECT_EQ(at(1, 17, 38), "| Game start:                         ");
    EXPECT_EQ(at(1, 18, 38), "|           :        .m.,    seconds. ");
    EXPECT_EQ(at(1, 19, 38), "| Date/time :                         ");
    EXPECT_EQ(at(1, 21, 38), "| Time total: 00 hours 00 min. 00 sec.");
    EXPECT_EQ(at(1, 22, 38), "| to guess  : 00 hours 00 min. 00 sec.");
    EXPECT_EQ(at(1, 23, 38), "| to answer : 00 hours 00 min. 00 sec.");
    X.PC_RAET = false;
    draw();
    EXPECT_EQ(row(25).substr(0, 79), "Initialisation:     time elapsed: 00.00.00 .......... time yet needed: 00.00.00");
    X.LOESUNG_FEST = true;
    draw();
    EXPECT_EQ(row(25).substr(0, 73), "Answer:                       Trials made:                 New Game? Yes.");
}

TEST_F(Board, MatchStartDateAndTime) {
    draw();
    JAHR = 2026;
    MONAT = 12;
    TAG = 7;
    WOTAG = 1;
    STD = 0;
    MIN = 5;
    SEK = 7;
    console::goto_xy(47, 9);
    write_match_start();
    EXPECT_EQ(console::where_x(), 47);
    EXPECT_EQ(console::where_y(), 9);
    for (int r : {17, 19}) {
        EXPECT_EQ(at(1, r, 39), "| " + std::string(r == 17 ? "Spielbeginn:" : "Datum/Zeit :") +
                                    " Montag, 7.12.2026,     |");
        EXPECT_EQ(at(1, r + 1, 38), "|              00.05 Uhr, 07 Sekunden.");
    }
    SP_D = false;
    draw();
    STD = 13;
    MIN = 0;
    SEK = 59;
    JAHR = 2026;
    MONAT = 5;
    TAG = 6;
    WOTAG = 3;
    write_match_start();
    EXPECT_EQ(at(1, 17, 39), "| Game start: Wednesday, 6th May 2026,|");
    // The colon between hour and minutes is written with the time, as the
    // clock writes it later when the hour changes.
    EXPECT_EQ(at(1, 18, 38), "|           : 01:00 p.m., 59 seconds. ");
    EXPECT_EQ(at(1, 20, 38), "|           : 01:00 p.m., 59 seconds. ");
    STD = 12;
    write_match_start();
    EXPECT_EQ(at(14, 18, 12), " 12:00 p.m.,");
    STD = 0;
    write_match_start();
    EXPECT_EQ(at(14, 18, 12), " 12:00 a.m.,");
    STD = 11;
    write_match_start();
    EXPECT_EQ(at(14, 18, 12), " 11:00 a.m.,");
}
