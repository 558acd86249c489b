#include "engine/setup/dialog.h"

#include "engine/setup/names.h"
#include "engine/play/match_support.h"

using namespace zqtest;

namespace {

struct ConditionsScreen : ::testing::Test {
    console::ScopedVirtualConsole s;
    void SetUp() override { fresh_conditions(s.vc); }
};

void expect_framed(int first_row) {
    for (int r = first_row; r <= 25; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(at(1, r, 1), "|");
        EXPECT_EQ(at(79, r, 2), "| ");
    }
}

TEST_F(ConditionsScreen, GermanLayoutToTheColumn) {
    set_name(X.NAME2, "Paula");
    BILDSCHIRM();
    EXPECT_EQ(row(1), std::string(79, '_') + " ");
    expect_framed(2);
    EXPECT_EQ(at(69, 2, 11), "|   8 GiB |");
    EXPECT_EQ(console::screen().attr_at(71, 2), HERVORFARBE);
    EXPECT_EQ(console::screen().attr_at(77, 2), HERVORFARBE);
    EXPECT_EQ(console::screen().attr_at(70, 2), NORMALFARBE);
    EXPECT_EQ(console::screen().attr_at(78, 2), NORMALFARBE);
    EXPECT_EQ(at(33, 2, 14), "Zentrovalquist");
    EXPECT_EQ(at(2, 7, 27), " Laenge des Codes         :");
    EXPECT_EQ(at(36, 7, 1), "2");
    EXPECT_EQ(at(71, 7, 1), "9");
    EXPECT_EQ(at(71, 10, 9), "10 Sek. |");
    EXPECT_EQ(at(36, 10, 1), "|");
    EXPECT_EQ(at(30, 12, 5), "Nein.");
    EXPECT_EQ(at(30, 13, 1), "0");
    EXPECT_EQ(at(37, 13, 25), " Soll der PC raten? Nein.");
    EXPECT_EQ(at(30, 14, 1), "9");
    EXPECT_EQ(at(30, 15, 11), "0123456789 ");
    EXPECT_EQ(at(30, 16, 7), "4     _");
    EXPECT_EQ(at(30, 17, 5), "Nein.");
    EXPECT_EQ(at(73, 17, 7), "Ja.   |");
    EXPECT_EQ(at(37, 18, 14), " Loesung .... ");
    EXPECT_EQ(at(30, 19, 5), "Ja.  ");
    EXPECT_EQ(at(74, 20, 2), "1.");
    EXPECT_EQ(at(2, 21, 5), " 1.: ");
    EXPECT_EQ(at(38, 23, 31), "*** Der Computer ***           ");
    EXPECT_EQ(at(38, 24, 31), "Paula" + std::string(26, ' '));
    EXPECT_EQ(at(69, 23, 11), " O.K.? Ja.|");
    EXPECT_EQ(at(76, 24, 1), "J");
    EXPECT_EQ(row(25), "|" + std::string(77, '_') + "| ");
}

TEST_F(ConditionsScreen, EnglishLayoutToTheColumn) {
    SP_D = false;
    X.PC_RAET = true;
    X.PC_LOESUNG = false;
    set_name(X.NAME1, "Ed");
    X.TON = true;
    BILDSCHIRM();
    expect_framed(2);
    EXPECT_EQ(at(2, 7, 30), " Length of the code          :");
    EXPECT_EQ(at(2, 8, 33), " Max. number of allowed signs:   ");
    EXPECT_EQ(at(69, 10, 11), "10 sec.   |");
    EXPECT_EQ(at(30, 12, 5), "Yes. ");
    EXPECT_EQ(at(37, 13, 32), " Shall the computer guess? Yes. ");
    EXPECT_EQ(at(2, 14, 20), " Last  sign        :");
    EXPECT_EQ(at(71, 17, 5), "No.  ");
    EXPECT_EQ(at(37, 18, 9), " Answer: ");
    EXPECT_EQ(at(73, 20, 2), "1.");
    EXPECT_EQ(at(2, 21, 77), " 1: Game on these conditions -  2: Rematch -  3: Change conditons -  4: End. ");
    EXPECT_EQ(at(38, 23, 3), "Ed ");
    EXPECT_EQ(at(38, 24, 31), "*** The computer ***           ");
    EXPECT_EQ(at(69, 24, 10), " O.K.? Yes");
}

TEST_F(ConditionsScreen, CapacityCells) {
    BILDSCHIRM();
    ZAEHLEFARBEN[2] = 36;
    ZAEHLEFARBEN[3] = 9;
    ZAEHLEFARBEN[4] = 1;
    ZAEHLEFARBEN[5] = 0;
    ZAEHLEFARBEN[6] = 2;
    ZAEHLEFARBEN[7] = 10;
    BILDSCHIRM();
    EXPECT_EQ(at(35, 8, 30), "36    9    -    -    2   10   ");
}

TEST_F(ConditionsScreen, SignSetAndCodeDots) {
    X.ERSTES_ZEICHEN = 'x';
    X.LETZTES_ZEICHEN = '2';
    X.CODELAENGE = 7;
    build_sign_tables();
    BILDSCHIRM();
    EXPECT_EQ(at(30, 13, 1), "x");
    EXPECT_EQ(at(30, 14, 1), "2");
    EXPECT_EQ(at(30, 15, 7), "xyz012 ");
    EXPECT_EQ(at(46, 18, 10), ".......   ");
    EXPECT_EQ(at(30, 16, 1), "7");
}

struct SignField : ConditionsScreen {
    void SetUp() override {
        ConditionsScreen::SetUp();
        BILDSCHIRM();
    }
};

TEST_F(SignField, FirstSignMovesTheSetAndKeepsItsSize) {
    s.vc.keys("X");
    LESE_ZEICHEN('*');
    EXPECT_EQ(A, 'x');
    EXPECT_EQ(X.ERSTES_ZEICHEN, 'x');
    EXPECT_EQ(X.LETZTES_ZEICHEN, '6');
    EXPECT_EQ(MAXFARBE, 10);
    EXPECT_EQ(at(30, 13, 1), "x");
    EXPECT_EQ(at(30, 14, 1), "6");
    EXPECT_EQ(at(30, 15, 11), "xyz0123456 ");
    EXPECT_EQ(NRARRAY['0' - '0'], 4);
}

TEST_F(SignField, FirstSignOnTheOldLastSign) {
    s.vc.keys("9");
    LESE_ZEICHEN('*');
    EXPECT_EQ(X.LETZTES_ZEICHEN, 'i');
    EXPECT_EQ(MAXFARBE, 10);
    EXPECT_EQ(at(30, 15, 10), "9abcdefghi");
}

TEST_F(SignField, LastSignRefusesTheFirstAndShrinksTheSet) {
    s.vc.keys("0#").ext(72).keys("5");
    LESE_ZEICHEN(X.ERSTES_ZEICHEN);
    EXPECT_EQ(A, '5');
    EXPECT_EQ(X.LETZTES_ZEICHEN, '5');
    EXPECT_EQ(MAXFARBE, 6);
    EXPECT_EQ(at(30, 14, 1), "5");
    EXPECT_EQ(at(30, 15, 11), "012345     ");
    EXPECT_EQ(s.vc.pending(), 0u);
}

TEST_F(SignField, LastSignGrowsTheSet) {
    s.vc.keys("C");
    LESE_ZEICHEN('0');
    EXPECT_EQ(MAXFARBE, 13);
    EXPECT_EQ(at(30, 15, 14), "0123456789abc ");
}

TEST_F(SignField, ControlKeysAndTheSameSignChangeNothing) {
    for (unsigned char k : {8, 13, 27, 3}) {
        s.vc.key(k);
        LESE_ZEICHEN('*');
        EXPECT_EQ(A, k);
    }
    s.vc.keys("0");
    LESE_ZEICHEN('*');
    s.vc.keys("9");
    LESE_ZEICHEN('0');
    EXPECT_EQ(X.ERSTES_ZEICHEN, '0');
    EXPECT_EQ(X.LETZTES_ZEICHEN, '9');
    EXPECT_EQ(at(30, 15, 11), "0123456789 ");
}

// The field walk from the time limit.
struct FieldWalk : SignField {
    DialogEnd walk(int from = FIELD_ZEITLIMIT) { return change_conditions(from); }
};

TEST_F(FieldWalk, EnterThroughEveryFieldKeepsTheValues) {
    const BEDINGUNG before = X;
    s.vc.keys(std::string(9, '\r'));  // fields 1..9
    s.vc.keys("bob").key(13).keys("j");  // the second player's name
    s.vc.key(13);                        // the computer devises the riddle: yes
    EXPECT_EQ(walk(), DialogEnd::menu);
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(name_of(X.NAME2), "Bob");
    EXPECT_EQ(X.ZEITSTUFE, before.ZEITSTUFE);
    EXPECT_EQ(X.CODELAENGE, before.CODELAENGE);
    EXPECT_EQ(X.PC_LOESUNG, before.PC_LOESUNG);
    EXPECT_EQ(X.PC_RAET, before.PC_RAET);
    EXPECT_FALSE(NAMEN_UEBERSPRINGEN);
    EXPECT_FALSE(WEITER);
}

TEST_F(FieldWalk, TimeLimitDigit) {
    s.vc.keys("a").ext(59).keys("3").key(27).key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_EQ(X.ZEITSTUFE, 3);
    EXPECT_EQ(ZEITLIMIT, 3000);
    EXPECT_EQ(ZEITLIMIT99, 3099);
    EXPECT_EQ(ZEITLIMIT_DIV_10, 300);
    EXPECT_EQ(at(71, 10, 2), "30");
}

TEST_F(FieldWalk, EscInSoundFieldGoesToTimeLimitCtrlCToMainMenu) {
    s.vc.key(13).key(27).keys("5").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_EQ(X.ZEITSTUFE, 5);
    EXPECT_EQ(s.vc.pending(), 0u);
}

TEST_F(FieldWalk, EscAndCtrlCAtTheTimeLimitLeave) {
    s.vc.key(27);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    s.vc.key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
}

TEST_F(FieldWalk, BackspaceAtTheTimeLimitReturnsToTheMenu) {
    s.vc.key(8);
    EXPECT_EQ(walk(), DialogEnd::menu);
}

TEST_F(FieldWalk, BackspaceStepsBackOneFieldAtATime) {
    // 1 -> 2 -> 3 -> 4, then back to 3 and 2; 'j' in the sound field
    s.vc.key(13).key(13).key(13).key(8).key(8).keys("j").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_TRUE(X.TON);
    EXPECT_EQ(at(30, 12, 5), "Ja.  ");
}

TEST_F(FieldWalk, EscInALaterFieldRestartsAtTheTimeLimit) {
    s.vc.keys("\r\r\r\r").key(27).keys("7").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_EQ(X.ZEITSTUFE, 7);
}

TEST_F(FieldWalk, ShorteningAndLengtheningTheCodeMovesTheDots) {
    X.CODELAENGE = 6;
    BILDSCHIRM();
    EXPECT_EQ(at(46, 18, 7), "...... ");
    s.vc.keys("\r\r\r\r").keys("4").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_EQ(X.CODELAENGE, 4);
    EXPECT_EQ(at(46, 18, 7), "....   ");
    EXPECT_EQ(at(30, 16, 1), "4");
    s.vc.keys("\r\r\r\r").keys("1x6").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_EQ(X.CODELAENGE, 6);
    EXPECT_EQ(at(46, 18, 7), "...... ");
}

TEST_F(FieldWalk, CodeLongerThanTheSetForcesRepetitionAndIsSkippedBack) {
    // last sign '2': three signs; length 4 forces repetition; Backspace in the
    // vacant-sign field goes to the code length, where '5' is taken
    s.vc.keys("\r\r\r").keys("2").keys("4").key(8).keys("5").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_EQ(MAXFARBE, 3);
    EXPECT_EQ(X.CODELAENGE, 5);
    EXPECT_TRUE(X.WIEDERHOLUNG);
    EXPECT_EQ(at(30, 17, 5), "Ja.  ");
    EXPECT_EQ(s.vc.pending(), 0u);
}

// The set shrinks to 0, 1, 2 under a code of four, and the walk is left
// before it reaches the repetition field: repetition must be on all the same.
TEST_F(FieldWalk, LeavingTheWalkEarlyStillForcesRepetition) {
    struct Way {
        const char* what;
        std::string keys;
        DialogEnd end;
    };
    const Way ways[] = {
        {"Esc back to the time limit, Esc out", std::string("\r\r\r2") + char(27) + char(27), DialogEnd::main_menu},
        {"Ctrl-C in the code length", std::string("\r\r\r2") + char(3), DialogEnd::main_menu},
        {"back to the first sign, Ctrl-C", std::string("\r\r\r2") + char(8) + char(8) + char(3),
         DialogEnd::main_menu},
        {"Esc back to the time limit, Backspace to the menu", std::string("\r\r\r2") + char(27) + char(8),
         DialogEnd::menu},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.what);
        fresh_conditions(s.vc);
        BILDSCHIRM();
        s.vc.keys(w.keys);
        EXPECT_EQ(walk(), w.end);
        EXPECT_EQ(s.vc.pending(), 0u);
        EXPECT_EQ(X.LETZTES_ZEICHEN, '2');
        EXPECT_EQ(X.CODELAENGE, 4);
        EXPECT_TRUE(X.WIEDERHOLUNG);
        EXPECT_EQ(at(30, 17, 5), "Ja.  ");
    }
}

// Back at the time limit the screen already tells the truth about repetition.
TEST_F(FieldWalk, TimeLimitFieldShowsForcedRepetition) {
    s.vc.keys("\r\r\r2").key(27);  // then the script runs dry at the time limit
    EXPECT_THROW(walk(), console::ScriptEnd);
    EXPECT_TRUE(X.WIEDERHOLUNG);
    EXPECT_EQ(at(30, 17, 5), "Ja.  ");
}

TEST_F(FieldWalk, RepetitionAndVacantSignFields) {
    s.vc.keys("\r\r\r\r\r").keys("j").keys("z").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_TRUE(X.WIEDERHOLUNG);
    EXPECT_TRUE(X.LEERZEICHEN_ERLAUBT);
    EXPECT_TRUE(LEERZ_MERKER);
    EXPECT_EQ(at(30, 17, 5), "Ja.  ");
    EXPECT_EQ(at(30, 18, 5), "Ja.  ");
}

TEST_F(FieldWalk, AnswerFixedSkippedWhenNoListFits) {
    // 36 signs and length 9: neither computer role fits; fields 8 and 9 are
    // skipped, so the 'n' is the first letter of the second name
    X.LETZTES_ZEICHEN = 'z';
    X.CODELAENGE = 9;
    build_sign_tables();
    BILDSCHIRM();
    s.vc.keys(std::string(7, '\r')).keys("n").key(13).keys("j").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_FALSE(KANN_MOGELN);
    EXPECT_FALSE(KANN_RATEN);
    EXPECT_TRUE(X.LOESUNG_FEST);
    EXPECT_EQ(name_of(X.NAME2), "N.");
}

TEST_F(FieldWalk, ComputerGuessesSkippedWhenItsStoreDoesNotFit) {
    // 36 signs, length 5: the candidate store exceeds the budget, the list of
    // the not-fixed code does not
    X.LETZTES_ZEICHEN = 'z';
    X.CODELAENGE = 5;
    build_sign_tables();
    BILDSCHIRM();
    s.vc.keys(std::string(8, '\r')).keys("j").key(13).keys("j").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_TRUE(KANN_MOGELN);
    EXPECT_FALSE(KANN_RATEN);
    EXPECT_FALSE(X.PC_RAET);
    EXPECT_EQ(name_of(X.NAME2), "J.");
}

TEST_F(FieldWalk, ComputerAsCodebreakerRewritesItsRowAndSkipsTheName) {
    s.vc.keys(std::string(8, '\r')).keys("j").key(13);
    EXPECT_EQ(walk(), DialogEnd::menu);
    EXPECT_TRUE(X.PC_RAET);
    EXPECT_EQ(at(57, 13, 5), "Ja.  ");
    EXPECT_EQ(at(38, 24, 20), "*** Der Computer ***");
    EXPECT_EQ(s.vc.pending(), 0u);
}

TEST_F(FieldWalk, PersonAsEncoderRewritesRowAndAsksForTheName) {
    set_name(X.NAME2, "Bea");
    NAMEN_UEBERSPRINGEN = false;
    s.vc.keys(std::string(9, '\r')).keys("j");  // name 2 only confirmed
    s.vc.keys("n");                              // a person devises the riddle
    s.vc.keys("kai").key(13).keys("j");          // name 1
    s.vc.keys("9876");                           // two persons, fixed code: the secret
    EXPECT_EQ(walk(), DialogEnd::menu);
    EXPECT_EQ(code_of(LOESUNG, 4), "9876");
    EXPECT_FALSE(X.PC_LOESUNG);
    EXPECT_EQ(at(73, 17, 5), "Nein.");
    EXPECT_EQ(name_of(X.NAME1), "Kai");
}

TEST_F(FieldWalk, TwoPersonsTypeTheSecretLast) {
    X.PC_LOESUNG = false;
    NAMEN_UEBERSPRINGEN = true;
    BILDSCHIRM();
    // from the encoder field: the first name is skipped once, then the secret;
    // Backspace from its first position goes back to the encoder field, and
    // now the first player's name is asked
    s.vc.key(13).keys("12").key(8).key(8).key(8);
    s.vc.key(13).keys("ann").key(13).keys("j").keys("5678");
    EXPECT_EQ(walk(FIELD_ENCODER), DialogEnd::menu);
    EXPECT_EQ(code_of(LOESUNG, 4), "5678");
    EXPECT_EQ(at(46, 18, 4), "5678");
    EXPECT_EQ(name_of(X.NAME1), "Ann");
    EXPECT_FALSE(NAMEN_UEBERSPRINGEN);
}

TEST_F(FieldWalk, BreakKeysInTheSecretField) {
    X.PC_LOESUNG = false;
    NAMEN_UEBERSPRINGEN = true;
    BILDSCHIRM();
    // Esc: back to the encoder field with the dots again; Ctrl-C: the time limit
    s.vc.keys("12").key(27).key(13).keys("3").key(3).key(27);
    EXPECT_EQ(walk(FIELD_SECRET_CODE), DialogEnd::main_menu);
    EXPECT_EQ(at(46, 18, 4), "....");
    EXPECT_EQ(s.vc.pending(), 0u);
}

TEST_F(FieldWalk, BackspaceFromTimeLimitGoesToEncoderForTwoPersons) {
    X.PC_LOESUNG = false;
    NAMEN_UEBERSPRINGEN = false;
    BILDSCHIRM();
    set_name(X.NAME1, "Ida");
    s.vc.key(8).keys("n").keys("j").keys("4321");
    EXPECT_EQ(walk(), DialogEnd::menu);
    EXPECT_EQ(code_of(LOESUNG, 4), "4321");
}

TEST_F(FieldWalk, EnglishPositions) {
    SP_D = false;
    BILDSCHIRM();
    s.vc.keys("2").keys(std::string(7, '\r')).keys("y").key(13);
    EXPECT_EQ(walk(), DialogEnd::menu);
    EXPECT_EQ(at(69, 10, 1), "2");
    EXPECT_EQ(at(64, 13, 4), "Yes.");
    EXPECT_TRUE(X.PC_RAET);
}

TEST_F(FieldWalk, BackspaceFromTheSecondNameGoesToTheLatestOfferedField) {
    // neither computer role fits: from the name field back to the vacant sign
    X.LETZTES_ZEICHEN = 'z';
    X.CODELAENGE = 9;
    build_sign_tables();
    BILDSCHIRM();
    s.vc.keys(std::string(7, '\r')).key(8).keys("j").key(3).key(27);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_TRUE(X.LEERZEICHEN_ERLAUBT);
    EXPECT_EQ(at(30, 18, 5), "Ja.  ");
    EXPECT_EQ(s.vc.pending(), 0u);
}

TEST_F(FieldWalk, BackspaceFromTheComputerGuessesFieldGoesToAnswerFixed) {
    s.vc.keys(std::string(8, '\r')).key(8).keys("n").key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_FALSE(X.LOESUNG_FEST);
    EXPECT_EQ(at(30, 19, 5), "Nein.");
}

// Keys outside a field's table change nothing on the screen.
TEST_F(FieldWalk, OtherKeysAreIgnoredWithoutOutput) {
    const auto snapshot = [] {
        std::string all;
        for (int r = 1; r <= 25; ++r) all += row(r);
        return all;
    };
    const std::string before = snapshot();
    s.vc.keys("a*-").ext(72).ext(83).keys(" ");            // time limit
    s.vc.key(13).keys("x7 ").ext(75);                      // sound
    s.vc.key(13).keys("#:!").ext(80);                      // first sign
    s.vc.key(13).keys("0").keys("@[").ext(77);             // last sign: its own first sign too
    s.vc.key(13).keys("01a ").ext(59);                     // code length
    s.vc.key(3);
    EXPECT_EQ(walk(), DialogEnd::main_menu);
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(snapshot(), before);
}

}  // namespace
