// The opening-pattern table and the header text made from it.
#include <gtest/gtest.h>

#include <string>

#include "engine/opening_patterns.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

// The sign ring a..z, 0..9 from `first` on, as the sign tables hold it.
void zeichen_ab(char first) {
    const std::string ring = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t start = ring.find(first);
    FARBARRAY[0] = '*';
    for (int n = 1; n <= 36; ++n) FARBARRAY[n] = static_cast<byte>(ring[(start + n - 1) % 36]);
}

std::string roh(int n, int s, bool wdh, bool leer) {
    return std::string(muster_roh(static_cast<byte>(n), static_cast<byte>(s), wdh, leer));
}

}  // namespace

TEST(InitMuster, HeaderTexts) {
    // 9 - n blanks in front, so that the text is always 12 wide.
    zeichen_ab('1');
    EXPECT_EQ(INIT_MUSTER(4, 6, true, false), "     (1122) ");
    zeichen_ab('0');
    EXPECT_EQ(INIT_MUSTER(4, 10, false, false), "     (0123) ");
    EXPECT_EQ(INIT_MUSTER(9, 10, false, false), "(000011234) ");
    EXPECT_EQ(INIT_MUSTER(9, 9, false, false), "(012345678) ");
    EXPECT_EQ(INIT_MUSTER(4, 6, true, false), "     (0011) ");
    zeichen_ab('x');
    EXPECT_EQ(INIT_MUSTER(4, 6, true, false), "     (xxyy) ");
    zeichen_ab('a');
    EXPECT_EQ(INIT_MUSTER(5, 2, true, true), "    (aaab*) ");
    EXPECT_EQ(INIT_MUSTER(5, 2, true, false), "    (aaaab) ");
    for (int n = 0; n <= 12; ++n)
        for (int s = 0; s <= 36; ++s)
            for (int w = 0; w < 2; ++w)
                for (int l = 0; l < 2; ++l)
                    ASSERT_EQ(INIT_MUSTER(static_cast<byte>(n), static_cast<byte>(s), w, l).size(), 12u);
}

TEST(InitMuster, BlankCases) {
    zeichen_ab('a');
    const std::string blank(12, ' ');
    EXPECT_EQ(INIT_MUSTER(2, 2, true, false), blank);
    EXPECT_EQ(INIT_MUSTER(2, 2, true, true), blank);
    EXPECT_EQ(INIT_MUSTER(0, 6, true, false), blank);
    EXPECT_EQ(INIT_MUSTER(4, 0, true, false), blank);
    EXPECT_EQ(INIT_MUSTER(10, 6, true, false), blank);
    EXPECT_TRUE(roh(2, 2, true, false).empty());
    // Without repetition the two-sign case has a pattern.
    EXPECT_EQ(INIT_MUSTER(2, 2, false, false), "       (ab) ");
}

TEST(InitMuster, OneSignOrOnePosition) {
    EXPECT_EQ(roh(5, 1, false, true), "11111");
    EXPECT_EQ(roh(9, 1, true, false), "111111111");
    EXPECT_EQ(roh(1, 7, true, true), "1");
    EXPECT_EQ(roh(1, 2, false, false), "1");
}

TEST(InitMuster, VacantSignOnlyWithTwoSignsFromFourPositions) {
    const char* erwartet[10] = {nullptr, nullptr, nullptr, nullptr, "111*", "1112*", "11112*",
                                "111112*", "1111112*", "11111112*"};
    for (int n = 4; n <= 9; ++n) {
        EXPECT_EQ(roh(n, 2, true, true), erwartet[n]);
        EXPECT_EQ(roh(n, 2, false, true), erwartet[n]);
        // Without the vacant sign the table applies.
        EXPECT_EQ(roh(n, 2, true, false).find('*'), std::string::npos);
    }
    EXPECT_EQ(roh(3, 2, true, true), "112");
    EXPECT_EQ(roh(4, 3, true, true), "1112");
    EXPECT_EQ(roh(6, 6, true, true), roh(6, 6, true, false));
}

TEST(InitMuster, SampleCellsAcrossTheTable) {
    struct Fall {
        int n, s;
        bool wdh;
        const char* m;
    };
    const Fall faelle[] = {
        {2, 36, false, "12"},       {3, 4, false, "112"},         {3, 5, false, "123"},
        {3, 3, true, "112"},        {3, 4, true, "123"},          {4, 7, false, "1123"},
        {4, 19, false, "1123"},     {4, 20, false, "1234"},       {4, 6, true, "1122"},
        {4, 16, true, "1123"},      {4, 17, true, "1234"},        {5, 29, false, "11234"},
        {5, 30, false, "12345"},    {5, 26, true, "11234"},       {5, 27, true, "12345"},
        {6, 8, false, "111222"},    {6, 34, false, "112345"},     {6, 35, false, "123456"},
        {6, 12, true, "112234"},    {6, 31, true, "112345"},      {7, 11, false, "1111234"},
        {7, 36, true, "1234567"},   {7, 35, true, "1122345"},     {8, 5, false, "11112222"},
        {8, 27, false, "11123456"}, {8, 24, true, "11223456"},    {9, 6, false, "111222333"},
        {9, 35, false, "111234567"}, {9, 36, false, "123456789"}, {9, 36, true, "112345678"},
        {9, 13, true, "112233445"}, {9, 18, true, "123456789"},
    };
    for (const Fall& f : faelle) EXPECT_EQ(roh(f.n, f.s, f.wdh, false), f.m) << f.n << "/" << f.s << "/" << f.wdh;
}

TEST(InitMuster, EveryCellIsAWellFormedGuess) {
    // Each cell must be a guess of the code length that uses only signs of
    // the set, numbered in the order they first appear (1, then 2, ...).
    for (int n = 2; n <= 9; ++n)
        for (int s = 2; s <= 36; ++s)
            for (int w = 0; w < 2; ++w) {
                const std::string m = roh(n, s, w, false);
                if (n == 2 && s == 2 && w) continue;
                ASSERT_EQ(m.size(), static_cast<std::size_t>(n)) << n << "/" << s << "/" << w;
                int hoechstes = 0;
                for (char c : m) {
                    ASSERT_TRUE(c >= '1' && c <= '9') << m;
                    const int k = c - '0';
                    ASSERT_LE(k, hoechstes + 1) << n << "/" << s << "/" << w << ": " << m;
                    ASSERT_GE(k, hoechstes) << m;  // the table writes its signs in blocks
                    if (k > hoechstes) hoechstes = k;
                }
                ASSERT_LE(hoechstes, s) << n << "/" << s << "/" << w << ": " << m;
            }
    // Beyond the ring the last row holds.
    EXPECT_EQ(roh(4, 40, true, false), roh(4, 36, true, false));
}
