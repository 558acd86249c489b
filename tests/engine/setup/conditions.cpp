#include "engine/setup/conditions.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

std::string sign_set() {
    std::string s;
    for (int n = 1; n <= MAXFARBE; ++n) s += static_cast<char>(FARBARRAY[n]);
    return s;
}

void set_signs(char first, char last) {
    INITIALISIERE();
    X.ERSTES_ZEICHEN = first;
    X.LETZTES_ZEICHEN = last;
    check_conditions();
}

}  // namespace

TEST(SignRing, StretchWrapsFromLettersIntoDigits) {
    set_signs('y', 'b');
    EXPECT_EQ(MAXFARBE, 14);
    EXPECT_EQ(sign_set(), "yz0123456789ab");
    EXPECT_EQ(NRFUNKTION('a'), 13);
    EXPECT_EQ(NRFUNKTION('0'), 3);
    EXPECT_EQ(NRFUNKTION('y'), 1);
    EXPECT_EQ(NRFUNKTION('x'), 36);  // the sign before the first is the last of the ring
    EXPECT_EQ(FARBFUNKTION(0), '*');
    EXPECT_EQ(FARBARRAY[0], '*');
}

TEST(SignRing, DigitsThenLetters) {
    set_signs('0', 'z');
    EXPECT_EQ(MAXFARBE, 36);
    EXPECT_EQ(FARBFUNKTION(11), 'a');
    EXPECT_EQ(FARBFUNKTION(36), 'z');
    EXPECT_EQ(sign_set(), "0123456789abcdefghijklmnopqrstuvwxyz");
}

TEST(SignRing, TablesAgreeForEveryFirstSign) {
    const std::string ring = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (char first : ring) {
        X.ERSTES_ZEICHEN = first;
        X.LETZTES_ZEICHEN = first;  // the table builder itself takes the pair as it is
        build_sign_tables();
        EXPECT_EQ(MAXFARBE, 1) << first;
        for (char c : ring) {
            const byte n = NRFUNKTION(c);
            ASSERT_GE(n, 1);
            ASSERT_LE(n, 36);
            EXPECT_EQ(FARBFUNKTION(n), c) << first << c;
            EXPECT_EQ(NRARRAY[c - '0'], n);
            EXPECT_EQ(FARBARRAY[n], c);
        }
        for (char c = ':'; c <= '`'; ++c) EXPECT_EQ(NRARRAY[c - '0'], 255) << c;
    }
}

TEST(Conditions, SignSetFoldedAndRepaired) {
    set_signs('Q', '#');
    EXPECT_EQ(X.ERSTES_ZEICHEN, 'a');
    EXPECT_EQ(X.LETZTES_ZEICHEN, 'f');
    EXPECT_EQ(MAXFARBE, 6);

    set_signs('X', 'B');
    EXPECT_EQ(X.ERSTES_ZEICHEN, 'x');
    EXPECT_EQ(X.LETZTES_ZEICHEN, 'b');
    EXPECT_EQ(sign_set(), "xyz0123456789ab");

    set_signs('7', '7');
    EXPECT_EQ(X.ERSTES_ZEICHEN, '0');
    EXPECT_EQ(X.LETZTES_ZEICHEN, '5');

    set_signs('\0', '\xff');
    EXPECT_EQ(X.ERSTES_ZEICHEN, 'a');
    EXPECT_EQ(X.LETZTES_ZEICHEN, 'f');

    set_signs('k', '+');  // an invalid last sign becomes the first, and then the set of six
    EXPECT_EQ(X.ERSTES_ZEICHEN, 'a');
    EXPECT_EQ(X.LETZTES_ZEICHEN, 'f');
}

TEST(Conditions, RepetitionForcedWhenTheCodeIsLongerThanTheSet) {
    INITIALISIERE();
    X.CODELAENGE = 7;
    X.ERSTES_ZEICHEN = '0';
    X.LETZTES_ZEICHEN = '5';
    check_conditions();
    EXPECT_TRUE(X.WIEDERHOLUNG);

    INITIALISIERE();
    X.CODELAENGE = 6;
    X.ERSTES_ZEICHEN = '0';
    X.LETZTES_ZEICHEN = '5';
    check_conditions();
    EXPECT_FALSE(X.WIEDERHOLUNG);
}

TEST(Conditions, FieldRangesKeptOrReplaced) {
    struct Case {
        byte BEDINGUNG::*field;
        int low, high, fallback;
    } cases[] = {{&BEDINGUNG::ZEITSTUFE, 0, 9, 6},
                 {&BEDINGUNG::CODELAENGE, 2, 9, 4},
                 {&BEDINGUNG::RESERVE4, 1, 8, 8},
                 {&BEDINGUNG::SPEICHER, 1, 15, 10}};
    for (const Case& c : cases) {
        for (int v = 0; v <= 255; ++v) {
            INITIALISIERE();
            X.ERSTES_ZEICHEN = 'a';
            X.LETZTES_ZEICHEN = 'z';
            X.*c.field = static_cast<byte>(v);
            check_conditions();
            const int expected = v >= c.low && v <= c.high ? v : c.fallback;
            ASSERT_EQ(X.*c.field, expected) << "value " << v;
        }
    }
}

TEST(Memory, BudgetAgreesWithTheLabelOfEveryStep) {
    // Steps 1..14: 673280 bytes per MiB of the label shown for the step.
    for (int s = 1; s <= 14; ++s) {
        const std::string label = MEMORY_TEXT[s];
        std::int64_t mib = std::stoll(label.substr(0, 3));
        if (label.substr(4) == "GiB") mib *= 1024;
        else ASSERT_EQ(label.substr(4), "MiB");
        EXPECT_EQ(memavail_of(static_cast<byte>(s)), 673280 * mib) << label;
    }
    EXPECT_EQ(memavail_of(15), 176473500000);
    EXPECT_EQ(memavail_of(0), 0);
    EXPECT_EQ(memavail_of(16), 0);
    set_memavail(3);
    EXPECT_EQ(MEMAVAIL, 43089920);
}

TEST(Conditions, TimeLimitFollowsTheStep) {
    X.ZEITSTUFE = 3;
    set_zeitlimit();
    EXPECT_EQ(ZEITLIMIT, 3000);
    EXPECT_EQ(ZEITLIMIT99, 3099);
    EXPECT_EQ(ZEITLIMIT_DIV_10, 300);
    X.ZEITSTUFE = 0;
    set_zeitlimit();
    EXPECT_EQ(ZEITLIMIT, 0);
    EXPECT_EQ(ZEITLIMIT99, 99);
    X.ZEITSTUFE = 12;
    set_zeitlimit();
    EXPECT_EQ(X.ZEITSTUFE, 6);
    EXPECT_EQ(ZEITLIMIT, 6000);
}

TEST(Colours, ColourScreenPair) {
    auto check = [](int n, int h) {
        byte a = static_cast<byte>(n), b = static_cast<byte>(h);
        check_colour_pair(true, a, b);
        return std::pair<int, int>(a, b);
    };
    EXPECT_EQ(check(31, 30), std::make_pair(31, 30));
    EXPECT_EQ(check(17, 30), std::make_pair(7, 14));      // equal fore- and background
    EXPECT_EQ(check(0x9F, 0x4E), std::make_pair(0x1F, 0x1E));  // blink bit off, background of the normal one
    EXPECT_EQ(check(0x1F, 0x01), std::make_pair(0x1F, 0x1F));  // emphasis invisible: as normal
    EXPECT_EQ(check(0, 0), std::make_pair(7, 7));
}

TEST(Colours, MonochromePair) {
    auto check = [](int n, int h) {
        byte a = static_cast<byte>(n), b = static_cast<byte>(h);
        check_colour_pair(false, a, b);
        return std::pair<int, int>(a, b);
    };
    EXPECT_EQ(check(112, 127), std::make_pair(112, 127));
    EXPECT_EQ(check(127, 112), std::make_pair(127, 112));
    EXPECT_EQ(check(7, 15), std::make_pair(7, 15));
    EXPECT_EQ(check(15, 15), std::make_pair(15, 15));
    EXPECT_EQ(check(31, 30), std::make_pair(7, 15));
    EXPECT_EQ(check(7, 112), std::make_pair(7, 15));
}
