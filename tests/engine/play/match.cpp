#include "engine/play/match.h"

#include <algorithm>
#include <set>

#include "engine/play/match_support.h"

using namespace zqtest;

namespace {

struct MatchParts : ::testing::Test {
    console::ScopedVirtualConsole s{7};
    void SetUp() override { fresh_conditions(s.vc); }
    void signs(char first, char last) {
        X.ERSTES_ZEICHEN = first;
        X.LETZTES_ZEICHEN = last;
        build_sign_tables();
    }
};

TEST_F(MatchParts, SecretWithoutRepetitionHasDistinctSignsOfTheStretch) {
    signs('x', '4');  // x, y, z, 0..4: 8 signs
    X.CODELAENGE = 6;
    X.WIEDERHOLUNG = false;
    std::set<std::string> seen;
    for (int round = 0; round < 200; ++round) {
        draw_solution();
        std::set<char> distinct;
        for (int i = 1; i <= 6; ++i) {
            const char c = LOESUNG[i];
            EXPECT_TRUE(c == 'x' || c == 'y' || c == 'z' || (c >= '0' && c <= '4')) << c;
            distinct.insert(c);
        }
        EXPECT_EQ(distinct.size(), 6u);
        for (int i = 7; i <= 9; ++i) EXPECT_EQ(LOESUNG[i], ' ');
        seen.insert(code_of(LOESUNG, 6));
    }
    EXPECT_GT(seen.size(), 150u);  // drawn, not fixed
}

TEST_F(MatchParts, SecretUsingEverySignOnce) {
    signs('a', 'e');
    X.CODELAENGE = 5;
    X.WIEDERHOLUNG = false;
    for (int round = 0; round < 50; ++round) {
        draw_solution();
        std::string c = code_of(LOESUNG, 5);
        std::sort(c.begin(), c.end());
        EXPECT_EQ(c, "abcde");
    }
}

TEST_F(MatchParts, SecretWithRepetitionSometimesRepeats) {
    X.WIEDERHOLUNG = true;
    int with_repeat = 0, without = 0;
    for (int round = 0; round < 400; ++round) {
        draw_solution();
        const std::string c = code_of(LOESUNG, 4);
        const std::set<char> distinct(c.begin(), c.end());
        (distinct.size() < 4 ? with_repeat : without)++;
        for (char ch : c) EXPECT_TRUE(ch >= '0' && ch <= '9');
    }
    // Half of the draws go without repetition; of the free ones about half repeat.
    EXPECT_GT(with_repeat, 50);
    EXPECT_GT(without, 200);
}

TEST_F(MatchParts, SecretLongerThanTheSetRepeats) {
    signs('0', '2');
    X.CODELAENGE = 7;
    X.WIEDERHOLUNG = true;
    draw_solution();
    const std::string c = code_of(LOESUNG, 7);
    for (char ch : c) EXPECT_TRUE(ch >= '0' && ch <= '2');
    EXPECT_EQ(LOESUNG[8], ' ');
}

// Conditions that slipped through with repetition off and more positions than
// signs: the draw still takes every position freshly from the whole set
// instead of reading past the end of its list of unused signs.
TEST_F(MatchParts, SecretLongerThanTheSetWithoutRepetitionFlagStillDrawsFreely) {
    signs('0', '2');
    X.CODELAENGE = 4;
    X.WIEDERHOLUNG = false;
    int last_two_differ = 0;
    for (int round = 0; round < 300; ++round) {
        draw_solution();
        const std::string c = code_of(LOESUNG, 4);
        for (char ch : c) EXPECT_TRUE(ch >= '0' && ch <= '2') << c;
        EXPECT_EQ(LOESUNG[5], ' ');
        if (c[2] != c[3]) ++last_two_differ;
    }
    EXPECT_GT(last_two_differ, 150);  // two in three when drawn freely
}

TEST_F(MatchParts, SignCountsOfTheSecret) {
    signs('y', 'b');  // y z 0..9 a b
    X.CODELAENGE = 5;
    LOESUNGSFARBEN.fill(9);
    const char* code = "y0y9b";
    for (int i = 0; i < 5; ++i) LOESUNG[i + 1] = code[i];
    count_solution_signs();
    EXPECT_EQ(LOESUNGSFARBEN[1], 2);   // y
    EXPECT_EQ(LOESUNGSFARBEN[3], 1);   // 0
    EXPECT_EQ(LOESUNGSFARBEN[12], 1);  // 9
    EXPECT_EQ(LOESUNGSFARBEN[14], 1);  // b
    EXPECT_EQ(LOESUNGSFARBEN[2], 0);
    EXPECT_EQ(LOESUNGSFARBEN[13], 0);

    signs('0', '3');
    X.CODELAENGE = 4;
    X.WIEDERHOLUNG = false;
    LOESUNGSFARBEN.fill(0);
    count_solution_signs();
    for (int sn = 1; sn <= 4; ++sn) EXPECT_EQ(LOESUNGSFARBEN[sn], 1);
}

TEST(TrialNumbers, ShownInThreeColumns) {
    EXPECT_EQ(trial_number_text(1, false), "  1");
    EXPECT_EQ(trial_number_text(30, false), " 30");
    EXPECT_EQ(trial_number_text(999, false), "999");
    EXPECT_EQ(trial_number_text(0, true), "000");
    EXPECT_EQ(trial_number_text(7, true), "007");
    EXPECT_EQ(trial_number_text(971, true), "971");
}

TEST(TrialNumbers, CounterDoesNotOverflow) {
    EXPECT_EQ(next_number(1), 2);
    EXPECT_EQ(next_number(2147483646), 2147483647);
    EXPECT_EQ(next_number(2147483647), 2147482648);
    EXPECT_EQ(next_number(2147482648), 2147482649);
    EXPECT_EQ(next_number(2147483647) % 1000, 648);
}

}  // namespace
