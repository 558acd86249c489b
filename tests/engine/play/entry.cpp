#include "engine/play/entry.h"

#include "engine/play/match.h"
#include "engine/play/match_support.h"

using namespace zqtest;

namespace {

// A person guesses in the first trial row of the left half.
struct GuessEntry : ::testing::Test {
    console::ScopedVirtualConsole s;
    CODE move{};
    byte p = 99, z = 99;
    unsigned char key = 0;

    void SetUp() override {
        fresh_conditions(s.vc);
        console::clr_scr();
        X2[1] = static_cast<std::uint16_t>((101 - X.CODELAENGE) / 2);
        X2[2] = static_cast<std::uint16_t>((141 - X.CODELAENGE) / 2);
        secret("2473");
        NUMMER = 1;
        place(1, 9);
    }
    void secret(const char* code) {
        LOESUNG.blank();
        for (int i = 0; code[i] != 0; ++i) LOESUNG[i + 1] = code[i];
    }
    void place(int h, int row) {
        WX = static_cast<byte>(X2[h]);
        WY = static_cast<byte>(row);
        K = static_cast<byte>(row);
        console::write_at(WX, WY, std::string(X.CODELAENGE, '.'));
        console::goto_xy(WX, WY);
    }
    void guess(byte column = 1) {
        move.blank();
        LESE_CODE(column, move, p, z, key);
    }
    std::string field() { return at(WX, WY, X.CODELAENGE); }
};

TEST_F(GuessEntry, CompleteGuessIsAnsweredWithoutEnter) {
    s.vc.keys("2934");
    guess();
    EXPECT_EQ(code_of(move, 4), "2934");
    EXPECT_EQ(move[5], ' ');
    EXPECT_EQ(p, 1);
    EXPECT_EQ(z, 2);
    EXPECT_EQ(field(), "2934");
    EXPECT_EQ(at(56, 9, 3), "1 2");
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_FALSE(RATENDRAN);
    EXPECT_EQ(LOESUNG[1], '2');  // not solved: the secret stays
}

TEST_F(GuessEntry, AnswerInTheRightHalf) {
    place(2, 23);
    s.vc.keys("2473");
    guess(2);
    EXPECT_EQ(p, 4);
    EXPECT_EQ(z, 0);
    EXPECT_EQ(at(76, 23, 3), "4 0");
    EXPECT_EQ(at(68, 23, 4), "2473");
}

TEST_F(GuessEntry, SolvingStopsTheClock) {
    ZEITEIN = true;
    X.LOESUNG_FEST = true;
    s.vc.keys("2473");
    guess();
    EXPECT_EQ(p, 4);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_EQ(code_of(LOESUNG, 4), "2473");
}

TEST_F(GuessEntry, CursorWrapsBothWays) {
    // left from position 1 is position 4; right from 4 is 1; Enter moves right
    s.vc.ext(75).keys("9").keys("1").key(13).key(13).key(13).ext(77).keys("2");
    EXPECT_THROW(guess(), console::ScriptEnd);
    EXPECT_EQ(field(), "12.9");
    EXPECT_EQ(console::where_x(), WX + 2);
    NUMMER = 1;
    place(1, 9);
    s.vc.ext(75).keys("9").keys("1").key(13).key(13).key(13).ext(77).keys("23");
    guess();
    EXPECT_EQ(code_of(move, 4), "1239");
}

TEST_F(GuessEntry, MovingAloneNeverCompletes) {
    s.vc.keys("12").ext(77).ext(77).ext(77).ext(77).key(13).key(13);
    EXPECT_THROW(guess(), console::ScriptEnd);
    EXPECT_EQ(field(), "12..");
    EXPECT_TRUE(RATENDRAN);
}

TEST_F(GuessEntry, BackspaceOnFirstPositionEmptiesItAndGoesToTheLast) {
    s.vc.keys("1").ext(75).key(8).keys("4");
    s.vc.keys("567");
    guess();
    EXPECT_EQ(code_of(move, 4), "5674");
}

TEST_F(GuessEntry, ClearKeysEmptyAndMoveRight) {
    // Del (83), ',' and DEL (127) empty the position and move on
    s.vc.keys("12").ext(75).ext(83).keys("34");  // position 2 empty again, cursor back on 1
    s.vc.keys("9").key(',').ext(75).key(127);    // 1 = 9, 2 emptied by ',', then DEL on 2
    s.vc.ext(75).keys("8");
    guess();
    EXPECT_EQ(code_of(move, 4), "9834");
    // the other extended clear keys: Alt-Del, 6 and 7
    NUMMER = 2;
    place(1, 10);
    s.vc.keys("12").ext(75).ext(163).ext(6).keys("5").ext(7).keys("67");
    EXPECT_THROW(guess(), console::ScriptEnd);
    EXPECT_EQ(field(), ".675");
    s.vc.keys("12").ext(75).ext(163).ext(6).keys("5").ext(7).keys("6789");
    place(1, 11);
    guess();
    EXPECT_EQ(code_of(move, 4), "9678");
}

TEST_F(GuessEntry, DotIsShownWhereAPositionIsEmptied) {
    s.vc.keys("123").ext(75).ext(75).key(8);
    EXPECT_THROW(guess(), console::ScriptEnd);
    EXPECT_EQ(field(), "1.3.");
}

TEST_F(GuessEntry, FoldsUpperCaseAndIgnoresSignsOutsideTheStretch) {
    X.ERSTES_ZEICHEN = 'a';
    X.LETZTES_ZEICHEN = 'f';
    build_sign_tables();
    secret("abcd");
    s.vc.keys("kB").keys("0g?").ext(72).ext(59).keys("AcD");
    guess();
    EXPECT_EQ(code_of(move, 4), "bacd");
    EXPECT_EQ(p, 2);
    EXPECT_EQ(z, 2);
}

TEST_F(GuessEntry, IgnoredKeysWriteNothing) {
    s.vc.keys("k ").keys("*+~").ext(72).keys("x!");
    EXPECT_THROW(guess(), console::ScriptEnd);
    EXPECT_EQ(field(), "....");
    EXPECT_EQ(console::where_x(), WX);
    EXPECT_EQ(console::where_y(), WY);
}

TEST_F(GuessEntry, VacantSignWhenAllowed) {
    X.LEERZEICHEN_ERLAUBT = true;
    s.vc.keys(" 4*+");
    guess();
    EXPECT_EQ(code_of(move, 4), "*4**");
    EXPECT_EQ(field(), "*4**");
    EXPECT_EQ(p, 1);
    EXPECT_EQ(z, 0);
    s.vc.keys("~7~3");
    place(1, 10);
    NUMMER = 2;
    guess();
    EXPECT_EQ(p, 1);
    EXPECT_EQ(z, 1);
}

TEST_F(GuessEntry, EscOrCtrlCBreaksOff) {
    ZEITEIN = true;
    s.vc.keys("12").key(27);
    guess();
    EXPECT_EQ(key, 27);
    EXPECT_FALSE(RATENDRAN);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_EQ(s.vc.pending(), 0u);

    ZEITEIN = true;
    s.vc.key(3);
    guess();
    EXPECT_EQ(key, 27);
    EXPECT_FALSE(ZEITEIN);
}

TEST_F(GuessEntry, LaterTrialsWriteTheirDots) {
    NUMMER = 2;
    WX = static_cast<byte>(X2[1]);
    WY = 10;
    K = 10;
    console::goto_xy(WX, WY);
    s.vc.keys("1");
    EXPECT_THROW(guess(), console::ScriptEnd);
    EXPECT_EQ(at(WX, 10, 5), "1... ");
}

TEST_F(GuessEntry, FiveSignCodeWithRepeatedSigns) {
    X.CODELAENGE = 5;
    X2[1] = static_cast<std::uint16_t>((101 - 5) / 2);
    secret("11223");
    place(1, 9);
    s.vc.keys("12121");
    guess();
    EXPECT_EQ(p, 2);  // positions 1 and 3
    EXPECT_EQ(z, 2);  // common 4: two 1s, two 2s
}

// The secret a person types for another person.
struct SecretEntry : ::testing::Test {
    console::ScopedVirtualConsole s;
    CODE code{};
    unsigned char key = 0;
    void SetUp() override {
        fresh_conditions(s.vc);
        console::clr_scr();
        code.blank();
        console::write_at(46, 18, std::string(X.CODELAENGE, '.'));
        console::goto_xy(46, 18);
    }
    void signs(char first, char last) {
        X.ERSTES_ZEICHEN = first;
        X.LETZTES_ZEICHEN = last;
        build_sign_tables();
    }
};

TEST_F(SecretEntry, LastSignIsFilledInWhenItIsDetermined) {
    signs('0', '3');
    s.vc.keys("201");
    LESE_LSG(code, key);
    EXPECT_EQ(code_of(code, 4), "2013");
    EXPECT_EQ(key, '3');
    EXPECT_EQ(at(46, 18, 4), "2013");
    EXPECT_EQ(s.vc.pending(), 0u);
    for (int i = 5; i <= 9; ++i) EXPECT_EQ(code[i], ' ');
}

TEST_F(SecretEntry, RepeatedSignIgnoredWithoutRepetition) {
    s.vc.keys("11223x34");
    LESE_LSG(code, key);
    EXPECT_EQ(code_of(code, 4), "1234");
    EXPECT_EQ(key, '4');
}

TEST_F(SecretEntry, RepetitionAllowsRepeats) {
    X.WIEDERHOLUNG = true;
    s.vc.keys("1111");
    LESE_LSG(code, key);
    EXPECT_EQ(code_of(code, 4), "1111");
}

TEST_F(SecretEntry, BackspaceStepsBackAndLeavesAtTheFirstPosition) {
    s.vc.keys("12").key(8).keys("345");
    LESE_LSG(code, key);
    EXPECT_EQ(code_of(code, 4), "1345");
    EXPECT_EQ(at(46, 18, 4), "1345");

    console::goto_xy(46, 18);
    s.vc.keys("7").key(8).key(8).keys("9");
    LESE_LSG(code, key);
    EXPECT_EQ(key, 8);
    EXPECT_EQ(at(46, 18, 4), ".345");
    EXPECT_EQ(s.vc.pending(), 1u);
}

TEST_F(SecretEntry, BackspaceDotShowsOnScreen) {
    s.vc.keys("12").key(8);
    EXPECT_THROW(LESE_LSG(code, key), console::ScriptEnd);
    EXPECT_EQ(at(46, 18, 4), "1...");
}

TEST_F(SecretEntry, BreakKeysReturnAtOnce) {
    s.vc.keys("12").key(27).keys("3");
    LESE_LSG(code, key);
    EXPECT_EQ(key, 27);
    EXPECT_EQ(s.vc.pending(), 1u);
    s.vc.key(3);
    LESE_LSG(code, key);  // the '3' is typed, then Ctrl-C
    EXPECT_EQ(key, 3);
}

TEST_F(SecretEntry, FoldsUpperCaseAndIgnoresOtherKeys) {
    signs('a', 'h');
    s.vc.keys("Zk1").ext(75).keys("CaFe").keys("b");
    LESE_LSG(code, key);
    EXPECT_EQ(code_of(code, 4), "cafe");  // 'e' after "caf": no repetition asked for
    EXPECT_EQ(s.vc.pending(), 1u);
}

TEST_F(SecretEntry, BackIntoTheFieldFromTheNextOne) {
    code[1] = '5';
    code[2] = '6';
    code[3] = '7';
    code[4] = '8';
    console::write_at(46, 18, "5678");
    ZURUECK = true;
    s.vc.keys("9");
    LESE_LSG(code, key);
    EXPECT_EQ(code_of(code, 4), "5679");
    EXPECT_EQ(at(46, 18, 4), "5679");
}

TEST_F(SecretEntry, BackIntoTheFieldWithTheAutomaticLastSign) {
    signs('0', '3');
    code[1] = '0';
    code[2] = '1';
    code[3] = '2';
    code[4] = '3';
    console::write_at(46, 18, "0123");
    ZURUECK = true;
    s.vc.key(8);
    EXPECT_THROW(LESE_LSG(code, key), console::ScriptEnd);
    EXPECT_EQ(at(46, 18, 4), "0...");  // "..", then one back from position 3
    s.vc.keys("3");
    ZURUECK = true;
    console::write_at(46, 18, "0123");
    LESE_LSG(code, key);
    EXPECT_EQ(code_of(code, 4), "0132");
}

}  // namespace
