// The opening-pattern table and the header text made from it.
#include <gtest/gtest.h>

#include <string>

#include "engine/codebreaker/opening_patterns.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

// The sign ring a..z, 0..9 from `first` on, as the sign tables hold it.
void signs_from(char first) {
    const std::string ring = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t start = ring.find(first);
    FARBARRAY[0] = '*';
    for (int n = 1; n <= 36; ++n) FARBARRAY[n] = static_cast<byte>(ring[(start + n - 1) % 36]);
}

std::string raw(int n, int s, bool repeat, bool vacant) {
    return std::string(raw_pattern(static_cast<byte>(n), static_cast<byte>(s), repeat, vacant));
}

}  // namespace

TEST(OpeningPattern, HeaderTexts) {
    // 9 - n blanks in front, so that the text is always 12 wide.
    signs_from('1');
    EXPECT_EQ(INIT_MUSTER(4, 6, true, false), "     (1122) ");
    signs_from('0');
    EXPECT_EQ(INIT_MUSTER(4, 10, false, false), "     (0123) ");
    EXPECT_EQ(INIT_MUSTER(9, 10, false, false), "(000011234) ");
    EXPECT_EQ(INIT_MUSTER(9, 9, false, false), "(012345678) ");
    EXPECT_EQ(INIT_MUSTER(4, 6, true, false), "     (0011) ");
    signs_from('x');
    EXPECT_EQ(INIT_MUSTER(4, 6, true, false), "     (xxyy) ");
    signs_from('a');
    EXPECT_EQ(INIT_MUSTER(5, 2, true, true), "    (aaab*) ");
    EXPECT_EQ(INIT_MUSTER(5, 2, true, false), "    (aaaab) ");
    for (int n = 0; n <= 12; ++n)
        for (int s = 0; s <= 36; ++s)
            for (int w = 0; w < 2; ++w)
                for (int l = 0; l < 2; ++l)
                    ASSERT_EQ(INIT_MUSTER(static_cast<byte>(n), static_cast<byte>(s), w, l).size(), 12u);
}

TEST(OpeningPattern, BlankCases) {
    signs_from('a');
    const std::string blank(12, ' ');
    EXPECT_EQ(INIT_MUSTER(2, 2, true, false), blank);
    EXPECT_EQ(INIT_MUSTER(2, 2, true, true), blank);
    EXPECT_EQ(INIT_MUSTER(0, 6, true, false), blank);
    EXPECT_EQ(INIT_MUSTER(4, 0, true, false), blank);
    EXPECT_EQ(INIT_MUSTER(10, 6, true, false), blank);
    EXPECT_TRUE(raw(2, 2, true, false).empty());
    // Without repetition the two-sign case has a pattern.
    EXPECT_EQ(INIT_MUSTER(2, 2, false, false), "       (ab) ");
}

TEST(OpeningPattern, OneSignOrOnePosition) {
    EXPECT_EQ(raw(5, 1, false, true), "11111");
    EXPECT_EQ(raw(9, 1, true, false), "111111111");
    EXPECT_EQ(raw(1, 7, true, true), "1");
    EXPECT_EQ(raw(1, 2, false, false), "1");
}

TEST(OpeningPattern, VacantSignOnlyWithTwoSignsFromFourPositions) {
    const char* expected[10] = {nullptr, nullptr, nullptr, nullptr, "111*", "1112*", "11112*",
                                "111112*", "1111112*", "11111112*"};
    for (int n = 4; n <= 9; ++n) {
        EXPECT_EQ(raw(n, 2, true, true), expected[n]);
        EXPECT_EQ(raw(n, 2, false, true), expected[n]);
        // Without the vacant sign the table applies.
        EXPECT_EQ(raw(n, 2, true, false).find('*'), std::string::npos);
    }
    EXPECT_EQ(raw(3, 2, true, true), "112");
    EXPECT_EQ(raw(4, 3, true, true), "1112");
    EXPECT_EQ(raw(6, 6, true, true), raw(6, 6, true, false));
}

TEST(OpeningPattern, SampleCellsAcrossTheTable) {
    struct Case {
        int n, s;
        bool repeat;
        const char* m;
    };
    const Case cases[] = {
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
    for (const Case& f : cases) EXPECT_EQ(raw(f.n, f.s, f.repeat, false), f.m) << f.n << "/" << f.s << "/" << f.repeat;
}

TEST(OpeningPattern, EveryCellIsAWellFormedGuess) {
    // Each cell must be a guess of the code length that uses only signs of
    // the set, numbered in the order they first appear (1, then 2, ...).
    for (int n = 2; n <= 9; ++n)
        for (int s = 2; s <= 36; ++s)
            for (int w = 0; w < 2; ++w) {
                const std::string m = raw(n, s, w, false);
                if (n == 2 && s == 2 && w) continue;
                ASSERT_EQ(m.size(), static_cast<std::size_t>(n)) << n << "/" << s << "/" << w;
                int highest = 0;
                for (char c : m) {
                    ASSERT_TRUE(c >= '1' && c <= '9') << m;
                    const int k = c - '0';
                    ASSERT_LE(k, highest + 1) << n << "/" << s << "/" << w << ": " << m;
                    ASSERT_GE(k, highest) << m;  // the table writes its signs in blocks
                    if (k > highest) highest = k;
                }
                ASSERT_LE(highest, s) << n << "/" << s << "/" << w << ": " << m;
            }
    // Beyond the ring the last row holds.
    EXPECT_EQ(raw(4, 40, true, false), raw(4, 36, true, false));
}
