#include <string>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "engine/play/match.h"
#include "engine/play/scoring.h"
#include "engine/play/match_support.h"

using namespace zqtest;

namespace {

struct Scenario : ::testing::Test {
    console::ScopedVirtualConsole s{2024};
    void SetUp() override {
        fresh_conditions(s.vc);
        s.vc.idle_limit_ms = 2000;  // a screen left waiting ends the script soon
    }
    // The secret the computer will draw at the next match start: the draw is
    // made on a copy of the random source, which is then put back.
    std::string next_secret() {
        const console::Random saved = s.vc.rng;
        const CODE kept = LOESUNG;
        draw_solution();
        const std::string code = code_of(LOESUNG, X.CODELAENGE);
        LOESUNG = kept;
        s.vc.rng = saved;
        return code;
    }
    // A guess of the stretch 0..9 that is not the secret.
    static std::string wrong_guess(const std::string& secret) {
        std::string g = secret;
        g[0] = g[0] == '0' ? '1' : '0';
        return g;
    }
};


TEST_F(Scenario, PersonCracksTheComputersCodeOnTheThirdGuess) {
    const std::string secret = next_secret();
    s.vc.keys("1").keys(wrong_guess(secret)).keys(wrong_guess(secret)).keys(secret).keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(code_of(LOESUNG, 4), secret);
    EXPECT_EQ(at(10, 25, 4), secret);
    EXPECT_EQ(at(45, 25, 2), "3 ");
    EXPECT_EQ(at(3, 19, 10), "Spielende ");
    EXPECT_EQ(at(42, 11, 3), "  3");
    EXPECT_EQ(at(48, 11, 4), secret);
    EXPECT_EQ(at(56, 11, 3), "4|0");
    EXPECT_EQ(NUMMER, 3);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_TRUE(NAMEN_UEBERSPRINGEN);
    EXPECT_EQ(A, 'n');
}

TEST_F(Scenario, AnswersOfTheTrialsStandInTheTable) {
    const std::string secret = next_secret();  // no repetition: four distinct digits
    std::string rotated = secret.substr(1) + secret[0];
    s.vc.keys("1").keys(rotated).key(27).keys("N");
    run_matches();
    EXPECT_EQ(at(48, 9, 4), rotated);
    EXPECT_EQ(at(56, 9, 3), "0|4");
    EXPECT_EQ(at(48, 10, 5), ".... ");  // the second trial was waiting
    EXPECT_EQ(at(42, 10, 3), "  2");
    EXPECT_EQ(at(32, 5, 11), std::string(11, ' '));  // the opening pattern has gone
}

TEST_F(Scenario, EscDuringTheFirstGuessEndsTheMatchWithoutCount) {
    const std::string secret = next_secret();
    s.vc.keys("1").keys("12").key(27).keys("x").keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(at(3, 19, 10), "Spielende ");
    EXPECT_EQ(at(45, 25, 3), "   ");
    EXPECT_EQ(at(10, 25, 4), secret);  // the computer's code is shown
    EXPECT_FALSE(ZEITEIN);
}

TEST_F(Scenario, CtrlCDuringAGuessAlsoEnds) {
    s.vc.keys("1").key(3).key(3);
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(at(3, 19, 10), "Spielende ");
}

TEST_F(Scenario, NewGameReturnsToTheConditionsScreen) {
    s.vc.keys("1").key(27).keys("y");
    s.vc.key(27);  // the conditions menu: Esc counts as 4, the main menu
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(at(33, 2, 14), "Zentrovalquist");
    EXPECT_EQ(at(2, 21, 4), " 1.:");
}

TEST_F(Scenario, MenuIgnoresOtherKeys) {
    s.vc.keys("x5").ext(59).keys("0").key(3);
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(at(2, 21, 4), " 1.:");  // no match was started
}

TEST_F(Scenario, EnterStartsTheMatchAndEnglishEndLine) {
    SP_D = false;
    const std::string secret = next_secret();
    s.vc.key(13).keys(secret).key(27);
    run_matches();
    EXPECT_EQ(at(1, 25, 8), "Answer: ");
    EXPECT_EQ(at(10, 25, 4), secret);
    EXPECT_EQ(at(45, 25, 2), "1 ");
    EXPECT_EQ(at(3, 19, 9), "Game end ");
}

TEST_F(Scenario, ChangeConditionsThenPlay) {
    // '3': time limit 0, sound on, then Enter through to the end of the walk
    s.vc.keys("3").keys("0").keys("j").keys(std::string(7, '\r')).keys("eva").key(13).keys("j").key(13);
    s.vc.keys("1").key(27).keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(X.ZEITSTUFE, 0);
    EXPECT_TRUE(X.TON);
    EXPECT_EQ(name_of(X.NAME2), "Eva");
    ASSERT_FALSE(s.vc.tones.empty());  // the person is called to guess
    EXPECT_EQ(s.vc.tones.back().hz, 440u);
    EXPECT_EQ(s.vc.tones.back().end_ms - s.vc.tones.back().start_ms, 500);
}

TEST_F(Scenario, NoBeepWithoutSound) {
    s.vc.keys("1").key(27).keys("n");
    run_matches();
    EXPECT_TRUE(s.vc.tones.empty());
}

TEST_F(Scenario, CtrlCInTheDialogLeavesToTheMainMenu) {
    s.vc.keys("3").key(13).key(3);
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
}

TEST_F(Scenario, BackspaceAtTheMenuGoesToTheEncoderField) {
    // Backspace: the encoder field; 'n' makes a person the encoder, whose name
    // is asked; then (fixed code, two persons) the secret
    s.vc.key(8).keys("n").keys("lea").key(13).keys("j").keys("1357");
    s.vc.keys("1").keys("1357").keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_FALSE(X.PC_LOESUNG);
    EXPECT_EQ(name_of(X.NAME1), "Lea");
    EXPECT_EQ(at(10, 25, 4), "1357");
    EXPECT_EQ(at(45, 25, 2), "1 ");
}

TEST_F(Scenario, TwoPersonsWithATypedSecretAndARematch) {
    X.PC_LOESUNG = false;
    set_name(X.NAME1, "Ann");
    set_name(X.NAME2, "Ben");
    // straight into the encoder field; the first name is skipped once
    s.vc.key(13).keys("2468");
    s.vc.keys("1").keys("2486").keys("2468");
    s.vc.keys("j");  // new game: the encoder field again, then the first name
    s.vc.key(13).keys("j").keys("9753");
    s.vc.keys("2");  // rematch: the names change places, the new encoder types a code
    s.vc.keys("1087");
    s.vc.keys("1").keys("1087").keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(name_of(X.NAME1), "Ben");
    EXPECT_EQ(name_of(X.NAME2), "Ann");
    EXPECT_EQ(code_of(LOESUNG, 4), "1087");
    EXPECT_EQ(at(10, 25, 4), "1087");
    EXPECT_EQ(at(45, 25, 2), "1 ");
}

TEST_F(Scenario, FirstMatchOfTwoPersonsShowsTheAnswers) {
    X.PC_LOESUNG = false;
    s.vc.key(13).keys("2468");
    s.vc.keys("1").keys("2486").keys("8642").keys("2468").keys("n");
    run_matches();
    EXPECT_EQ(at(56, 9, 3), "2|2");
    EXPECT_EQ(at(56, 10, 3), "0|4");
    EXPECT_EQ(at(56, 11, 3), "4|0");
    EXPECT_EQ(at(45, 25, 2), "3 ");
}

// Four positions over the three signs 0, 1, 2 with repetition off, as a walk
// left early used to leave them: the match runs with repetition, so the
// first person can type a secret that repeats a sign, and that is what is
// shown and kept.
TEST_F(Scenario, CodeLongerThanTheSetIsPlayedWithRepetition) {
    X.PC_LOESUNG = false;
    X.PC_RAET = false;
    X.LOESUNG_FEST = true;
    set_name(X.NAME1, "Ann");
    set_name(X.NAME2, "Ben");
    X.LETZTES_ZEICHEN = '2';
    build_sign_tables();
    X.CODELAENGE = 4;
    X.WIEDERHOLUNG = false;
    s.vc.key(13).keys("0122");  // the encoder field, then the secret
    s.vc.keys("1").keys("0122").keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_TRUE(X.WIEDERHOLUNG);
    EXPECT_EQ(at(10, 25, 4), "0122");
    EXPECT_EQ(at(45, 25, 2), "1 ");
    bool told = false;
    for (int r = 1; r <= 8; ++r) told = told || row(r).find(" 4 Zeichen mit Wiederholung") != std::string::npos;
    EXPECT_TRUE(told);
    std::ifstream f(conditions_file(), std::ios::binary);
    std::string rec((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_EQ(rec.size(), sizeof(BEDINGUNG));
    EXPECT_EQ(rec[9], 1);  // saved with repetition
}

TEST_F(Scenario, RematchNeedsTheComputerAsCodebreaker) {
    // 36 signs, length 5: the computer cannot guess, so '2' does nothing
    X.LETZTES_ZEICHEN = 'z';
    X.CODELAENGE = 5;
    build_sign_tables();
    s.vc.keys("2").keys("4");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_FALSE(KANN_RATEN);
    EXPECT_TRUE(X.PC_LOESUNG);
    EXPECT_FALSE(X.PC_RAET);
    EXPECT_EQ(at(2, 21, 4), " 1.:");
}

TEST_F(Scenario, RematchSwapsRolesWithTheComputer) {
    set_name(X.NAME1, "Rita");
    set_name(X.NAME2, "Max");
    s.vc.keys("2").key(27).keys("n");
    run_matches();
    EXPECT_FALSE(X.PC_LOESUNG);
    EXPECT_TRUE(X.PC_RAET);
    EXPECT_EQ(name_of(X.NAME1), "Max");
    EXPECT_EQ(name_of(X.NAME2), "Rita");
}

TEST_F(Scenario, ThirtyFirstGuessScrollsTheTable) {
    const std::string secret = next_secret();
    const std::string wrong = wrong_guess(secret);
    s.vc.keys("1");
    for (int i = 0; i < 30; ++i) s.vc.keys(wrong);
    s.vc.keys("9");
    EXPECT_THROW(run_matches(), console::ScriptEnd);
    EXPECT_EQ(NUMMER, 31);
    EXPECT_EQ(L, 1);
    EXPECT_EQ(at(42, 9, 3), "  2");   // trial 1 has gone, 2 is at the top of the left half
    EXPECT_EQ(at(42, 23, 3), " 16");
    EXPECT_EQ(at(62, 9, 3), " 17");
    EXPECT_EQ(at(62, 22, 3), " 30");
    EXPECT_EQ(at(62, 23, 3), " 31");  // the new trial, typed in the bottom row of the right half
    EXPECT_EQ(at(68, 23, 4), "9...");
    EXPECT_EQ(at(76, 23, 3), " | ");
    EXPECT_EQ(at(68, 22, 4), wrong);
    EXPECT_EQ(at(48, 9, 4), wrong);
    EXPECT_EQ(V30[1].NR, 31);
}

TEST_F(Scenario, FromTrialThousandTheNumbersShowModuloThousand) {
    const std::string secret = next_secret();
    const std::string wrong = wrong_guess(secret);
    s.vc.keys("1");
    for (int i = 0; i < 999; ++i) s.vc.keys(wrong);
    s.vc.keys("1");
    EXPECT_THROW(run_matches(), console::ScriptEnd);
    EXPECT_EQ(NUMMER, 1000);
    EXPECT_EQ(at(62, 23, 3), "000");
    EXPECT_EQ(at(62, 22, 3), "999");
    EXPECT_EQ(at(42, 9, 3), "971");
    EXPECT_EQ(at(42, 10, 3), "972");
    EXPECT_EQ(at(68, 23, 4), "1...");
}

TEST_F(Scenario, TrialThousandAndOneAndTheEndCount) {
    const std::string secret = next_secret();
    const std::string wrong = wrong_guess(secret);
    s.vc.keys("1");
    for (int i = 0; i < 1000; ++i) s.vc.keys(wrong);
    s.vc.keys(secret).keys("n");
    run_matches();
    EXPECT_EQ(NUMMER, 1001);
    EXPECT_EQ(at(62, 23, 3), "001");
    EXPECT_EQ(at(62, 22, 3), "000");
    EXPECT_EQ(at(42, 9, 3), "972");
    EXPECT_EQ(at(45, 25, 5), "1001 ");
    EXPECT_EQ(at(76, 23, 3), "4|0");
}

TEST_F(Scenario, ComputerAgainstItselfWithoutTheVacantSign) {
    X.PC_RAET = true;
    X.LEERZEICHEN_ERLAUBT = true;
    LEERZ_MERKER = true;
    // the searches test for keys, so the answer to "new game?" comes late
    s.vc.keys("1").wait(3600000).keys("n");
    s.vc.idle_limit_ms = 7200000;
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_FALSE(LEERZEICHEN);  // off during the match
    EXPECT_TRUE(X.LEERZEICHEN_ERLAUBT);  // and on again afterwards
    EXPECT_EQ(at(1, 25, 9), "Loesung: ");
    EXPECT_EQ(at(10, 25, 4), code_of(LOESUNG, 4));
    EXPECT_EQ(at(24, 25, 21), "Benoetigte Versuche: ");
    EXPECT_EQ(at(45, 25, 1), std::to_string(NUMMER));
    EXPECT_EQ(at(57, 25, 24), "Neues Spiel? Ja.        ");
    const VERSUCH& last = V30[NUMMER];
    EXPECT_EQ(last.P, 4);
    EXPECT_EQ(code_of(last.ZUG, 4), code_of(LOESUNG, 4));
}

TEST_F(Scenario, PersonAgainstTheComputersCodeThatIsNotFixed) {
    X.LETZTES_ZEICHEN = '3';
    build_sign_tables();
    X.LOESUNG_FEST = false;
    // every order of 0..3 in turn; the code gives way as long as it can
    std::string order = "0123";
    s.vc.keys("1").wait(100000);
    do s.vc.keys(order);
    while (std::next_permutation(order.begin(), order.end()));
    s.vc.keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    ASSERT_GE(NUMMER, 1);
    ASSERT_LE(NUMMER, 24);
    const std::string solved = code_of(LOESUNG, 4);
    EXPECT_EQ(at(10, 25, 4), solved);
    EXPECT_EQ(at(45, 25, std::to_string(NUMMER).size()), std::to_string(NUMMER));
    // every answer given agrees with the code found at the end
    for (int t = 1; t <= NUMMER; ++t) {
        SCOPED_TRACE(t);
        byte p = 0, z = 0;
        BEWERTE(V30[t].ZUG, LOESUNG, p, z);
        EXPECT_EQ(V30[t].P, p);
        EXPECT_EQ(V30[t].Z, z);
        EXPECT_EQ(V30[t].P == 4, t == NUMMER);
        const int h = t <= 15 ? 1 : 2, r = (t - 1) % 15 + 9;
        EXPECT_EQ(at(X3[h], r, 3), std::to_string(p) + "|" + std::to_string(z));
    }
}

TEST_F(Scenario, TwoPersonsWithACodeThatIsNotFixed) {
    X.PC_LOESUNG = false;
    X.LOESUNG_FEST = false;
    // the encoder answers each guess; a guess made before is answered alone
    s.vc.keys("1").wait(100000);
    // (the encoder's list is narrowed after a last test for Esc: the next
    // guess comes a moment later)
    s.vc.keys("1234").keys("12").wait(100);
    s.vc.keys("5678").keys("2").keys("0").keys("2").keys("1").wait(100);  // P 2 and Z 2 are not possible
    s.vc.keys("1234");
    s.vc.key(27).keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(at(56, 9, 3), "1|2");
    EXPECT_EQ(at(48, 10, 4), "5678");
    EXPECT_EQ(at(56, 10, 3), "0|1");
    EXPECT_EQ(at(56, 11, 3), "1|2");
    EXPECT_EQ(V30[3].P, 1);
    EXPECT_EQ(V30[3].Z, 2);
    EXPECT_EQ(at(45, 25, 3), "   ");  // broken off: no count
}

TEST_F(Scenario, VacantSignStaysForTheComputerWithTwoSigns) {
    // two signs and four positions: the vacant sign is a third value
    X.LETZTES_ZEICHEN = '1';
    build_sign_tables();
    X.WIEDERHOLUNG = true;
    X.PC_RAET = true;
    X.LEERZEICHEN_ERLAUBT = true;
    LEERZ_MERKER = true;
    s.vc.keys("1").wait(3600000).keys("n");
    s.vc.idle_limit_ms = 7200000;
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_TRUE(LEERZEICHEN);
    EXPECT_TRUE(X.LEERZEICHEN_ERLAUBT);
    EXPECT_EQ(V30[NUMMER].P, 4);
}

TEST_F(Scenario, BackspaceAtTheMenuReopensTheSecretFromItsEnd) {
    X.PC_LOESUNG = false;
    s.vc.key(13).keys("2468");  // encoder field, the secret
    s.vc.key(8).keys("0");      // back into the secret: its last sign anew
    s.vc.keys("1").keys("2460").keys("n");
    run_matches();
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(code_of(LOESUNG, 4), "2460");
    EXPECT_EQ(at(45, 25, 2), "1 ");
}

}  // namespace
