#include "engine/setup/names.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace zqspiel;

namespace {

NAMENSFELD field(const std::string& s) {
    NAMENSFELD n;
    n.fill(' ');
    for (std::size_t i = 0; i < s.size() && i < 31; ++i) n[i + 1] = s[i];
    return n;
}

// Positions 1..31 without the trailing blanks.
std::string text(const NAMENSFELD& n) {
    std::string s(n.begin() + 1, n.begin() + 32);
    return s.substr(0, s.find_last_not_of(' ') + 1);
}

std::string normalised(const std::string& s) {
    NAMENSFELD n = field(s);
    CLEAR_NAME(n);
    return text(n);
}

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
bool is_lower(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

TEST(ClearName, WordsAreCapitalised) {
    EXPECT_EQ(normalised("j. wald"), "J. Wald");
    EXPECT_EQ(normalised("ANNA-MARIA"), "Anna-Maria");
    EXPECT_EQ(normalised("anna_maria"), "Anna-Maria");
    EXPECT_EQ(normalised("mcDONALD"), "Mcdonald");
}

TEST(ClearName, OneLetterWordsBecomeInitials) {
    EXPECT_EQ(normalised("x"), "X.");
    EXPECT_EQ(normalised("j wald"), "J. Wald");  // the period goes in, no letter is lost
    EXPECT_EQ(normalised("j-wald"), "J.-Wald");
    EXPECT_EQ(normalised("a b c"), "A. B. C.");
    EXPECT_EQ(normalised("j:wald"), "J. Wald");  // ':' is a period
    EXPECT_EQ(normalised("dr.mueller"), "Dr. Mueller");
}

TEST(ClearName, NameEndsAtTheFirstDoubledSeparator) {
    EXPECT_EQ(normalised("anna  maria"), "Anna");
    EXPECT_EQ(normalised("anna--maria"), "Anna");
    EXPECT_EQ(normalised("anna -maria"), "Anna");
    EXPECT_EQ(normalised("anna-"), "Anna");
    EXPECT_EQ(normalised(" anna"), "");
    EXPECT_EQ(normalised(""), "");
}

TEST(ClearName, ForeignCharactersBecomeBlanks) {
    EXPECT_EQ(normalised("an1na"), "An Na");
    EXPECT_EQ(normalised("eve!"), "Eve");
    EXPECT_EQ(normalised("\x01\x7f\xe4x"), "");
}

TEST(ClearName, TheEndOfTheField) {
    const std::string a29(29, 'a');
    // A one-letter word at position 31 has no room for its period: dropped.
    EXPECT_EQ(normalised(a29 + " b"), "A" + std::string(28, 'a'));
    EXPECT_EQ(normalised(std::string(30, 'a') + "-"), "A" + std::string(29, 'a'));
    EXPECT_EQ(normalised(std::string(31, 'a')), "A" + std::string(30, 'a'));
    // The inserted period pushes the last letter out of the field.
    EXPECT_EQ(normalised("b " + std::string(29, 'c')), "B. C" + std::string(27, 'c'));
}

TEST(ClearName, GuardsAlwaysBlank) {
    NAMENSFELD n = field("eva");
    n[0] = 'x';
    n[32] = 'y';
    CLEAR_NAME(n);
    EXPECT_EQ(n[0], ' ');
    EXPECT_EQ(n[32], ' ');
    EXPECT_EQ(text(n), "Eva");
}

// Whatever a file holds, the result has the editor's form and stays as it is
// when normalised again.
TEST(ClearName, AnyContentComesOutInTheEditorsForm) {
    std::mt19937 gen(7);
    const std::string alphabet = "abcXYZ -._:9#";
    for (int round = 0; round < 20000; ++round) {
        NAMENSFELD n;
        for (char& c : n) c = round % 2 ? static_cast<char>(gen()) : alphabet[gen() % alphabet.size()];
        CLEAR_NAME(n);
        ASSERT_EQ(n[0], ' ');
        ASSERT_EQ(n[32], ' ');
        for (int i = 1; i <= 31; ++i) {
            const char c = n[i], prev = n[i - 1];
            ASSERT_TRUE(is_upper(c) || is_lower(c) || c == ' ' || c == '-' || c == '.') << text(n);
            if (is_lower(c)) { ASSERT_TRUE(is_upper(prev) || is_lower(prev)) << text(n); }
            if (is_upper(c)) { ASSERT_TRUE(prev == ' ' || prev == '-') << text(n); }
            if (prev == '.') { ASSERT_TRUE(c == ' ' || c == '-') << text(n); }
            if (is_upper(prev)) { ASSERT_TRUE(is_lower(c) || c == '.') << text(n); }
        }
        const NAMENSFELD once = n;
        CLEAR_NAME(n);
        ASSERT_EQ(n, once) << text(once);
    }
}

TEST(NameOk, NormalisesAndSwapsOnlyTheName) {
    X.NAME1 = field("eva braun");
    X.NAME2 = field("OTTO");
    NAMEOK(false);
    EXPECT_EQ(text(X.NAME1), "Eva Braun");
    EXPECT_EQ(text(X.NAME2), "Otto");
    NAMEOK(true);
    EXPECT_EQ(text(X.NAME1), "Otto");
    EXPECT_EQ(text(X.NAME2), "Eva Braun");
    EXPECT_EQ(X.NAME1[0], ' ');
    EXPECT_EQ(X.NAME1[32], ' ');
    EXPECT_EQ(X.NAME2[0], ' ');
    EXPECT_EQ(X.NAME2[32], ' ');
}
