// Scoring of guesses and the table of trials that suffice to crack a code.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/play/scoring.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

CODE code_of(const std::string& s) {
    CODE c;
    c.blank();
    for (std::size_t i = 0; i < s.size() && i < 9; ++i) c[static_cast<int>(i) + 1] = s[i];
    return c;
}

struct Outcome {
    int p, z;
};

Outcome score(const std::string& guess, const std::string& code) {
    X.CODELAENGE = static_cast<byte>(code.size());
    byte p = 99, z = 99;
    BEWERTE(code_of(guess), code_of(code), p, z);
    return {p, z};
}

}  // namespace

TEST(Scoring, WorkedExamples) {
    struct Case {
        const char *guess, *code;
        int p, z;
    };
    const Case cases[] = {
        {"2934", "2473", 1, 2}, {"123", "134", 1, 1}, {"*a*b", "acab", 1, 1}, {"1122", "1212", 2, 2},
        {"1111", "1234", 1, 0}, {"ba", "aa", 1, 0},   {"bb", "aa", 0, 0},
    };
    for (const Case& f : cases) {
        const Outcome e = score(f.guess, f.code);
        EXPECT_EQ(e.p, f.p) << f.guess << " against " << f.code;
        EXPECT_EQ(e.z, f.z) << f.guess << " against " << f.code;
    }
}

TEST(Scoring, VacantSignsNeverCount) {
    // Typed as '*' or as a blank: neither matches, neither is common.
    EXPECT_EQ(score("****", "1234").p, 0);
    EXPECT_EQ(score("****", "1234").z, 0);
    const Outcome blanks = score("    ", "1234");
    EXPECT_EQ(blanks.p, 0);
    EXPECT_EQ(blanks.z, 0);
    // A vacant sign on the position of a real one takes nothing away.
    const Outcome e = score("1*3*", "1234");
    EXPECT_EQ(e.p, 2);
    EXPECT_EQ(e.z, 0);
    const Outcome f = score("*1*2", "1234");
    EXPECT_EQ(f.p, 0);
    EXPECT_EQ(f.z, 2);
}

TEST(Scoring, OnlyTheCodeLengthCounts) {
    // Positions beyond the code length may hold anything.
    X.CODELAENGE = 3;
    CODE g = code_of("123456789"), c = code_of("123987654");
    byte p = 0, z = 0;
    BEWERTE(g, c, p, z);
    EXPECT_EQ(p, 3);
    EXPECT_EQ(z, 0);
    score_length(g, c, 9, p, z);
    EXPECT_EQ(p, 3);
    EXPECT_EQ(z, 6);
}

namespace {

// Every code of length len over the signs 1..n written as characters '1'..,
// with or without repetition.
std::vector<std::string> all_codes(int len, int n, bool repeat) {
    std::vector<std::string> out;
    std::string c(static_cast<std::size_t>(len), '1');
    std::vector<int> d(static_cast<std::size_t>(len), 0);
    for (;;) {
        bool ok = true;
        if (!repeat)
            for (int i = 0; i < len && ok; ++i)
                for (int j = 0; j < i; ++j)
                    if (d[i] == d[j]) ok = false;
        if (ok) {
            for (int i = 0; i < len; ++i) c[i] = static_cast<char>('1' + d[i]);
            out.push_back(c);
        }
        int i = len - 1;
        while (i >= 0 && ++d[i] == n) d[i--] = 0;
        if (i < 0) break;
    }
    return out;
}

}  // namespace

TEST(Scoring, PropertiesOverAllPairs) {
    // L = 4 over 4 signs, with repetition: 256 x 256 pairs.
    const auto codes = all_codes(4, 4, true);
    ASSERT_EQ(codes.size(), 256u);
    for (const auto& g : codes)
        for (const auto& c : codes) {
            const Outcome e = score(g, c);
            ASSERT_LE(e.p + e.z, 4);
            ASSERT_EQ(e.p == 4, g == c);
            ASSERT_FALSE(e.p == 3 && e.z == 1) << g << " " << c;
            const Outcome r = score(c, g);
            ASSERT_EQ(e.p, r.p);
            ASSERT_EQ(e.z, r.z);
        }
}

TEST(Scoring, SignNumberVariantAgreesWithCharacters) {
    // The computer players score on sign numbers with count tables; over every
    // pair of codes of length 3 over 4 signs (plus the vacant sign in guesses)
    // both must give the same answer.
    std::vector<std::string> guesses = all_codes(3, 5, true);  // '5' stands for the vacant sign
    const auto codes = all_codes(3, 4, true);
    for (auto g : guesses) {
        for (char& ch : g)
            if (ch == '5') ch = '*';
        byte gn[3], gc[37] = {};
        for (int i = 0; i < 3; ++i) {
            gn[i] = g[i] == '*' ? 0 : static_cast<byte>(g[i] - '0');
            ++gc[gn[i]];
        }
        for (const auto& c : codes) {
            byte cn[3], cc[37] = {};
            for (int i = 0; i < 3; ++i) {
                cn[i] = static_cast<byte>(c[i] - '0');
                ++cc[cn[i]];
            }
            byte p = 0, common = 0;
            score_numbers(gn, cn, gc, cc, 3, 4, p, common);
            const Outcome e = score(g, c);
            ASSERT_EQ(p, e.p) << g << " " << c;
            ASSERT_EQ(common, e.p + e.z) << g << " " << c;
        }
    }
}

// Expected values by code length 3..9 and sign count 2..36.
// [l - 3][0]: with repetition, [l - 3][1]: without; the two-sign entry
// (index 0) follows the vacant sign instead: [0] allowed, [1] not.
// One cell differs from the printed table on purpose: three positions over
// three signs with repetition need 4 trials, not 3 (see the exhaustive test).
constexpr int EXPECTED[7][2][35] = {
    {{3, 4, 4, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15},
     {3, 3, 4, 4, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15}},
    {{3, 4, 4, 5, 5, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 11, 11, 11, 11, 12, 12, 12, 12, 13, 13, 13, 13, 14, 14},
     {4, 4, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 11, 11, 11, 11, 12, 12, 12, 12, 13, 13, 13, 13, 14, 14}},
    {{3, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 9, 9, 10, 10, 10, 11, 11, 11, 11, 12, 12, 12, 12, 12, 13, 13, 13, 13, 13, 14, 14, 14, 14},
     {5, 4, 5, 5, 6, 6, 6, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 10, 11, 11, 11, 11, 12, 12, 12, 12, 13, 13, 13, 13, 13, 14, 14, 14, 14}},
    {{4, 5, 5, 6, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 13, 14, 14, 14, 14, 15, 15, 15, 15, 15, 16},
     {5, 5, 5, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 14, 15, 15, 15, 15, 15, 16}},
    {{4, 5, 6, 7, 7, 8, 8, 8, 9, 9, 10, 10, 10, 11, 11, 12, 12, 12, 12, 13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {6, 5, 6, 7, 7, 8, 8, 8, 9, 9, 10, 10, 10, 10, 11, 12, 12, 12, 12, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{5, 6, 6, 7, 8, 9, 9, 9, 10, 10, 11, 11, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {6, 6, 6, 7, 8, 9, 9, 9, 10, 10, 10, 11, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{5, 6, 7, 8, 9, 10, 10, 11, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {7, 6, 7, 8, 9, 10, 10, 11, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
};

TEST(HowMany, EveryCellOfTheTable) {
    for (int l = 3; l <= 9; ++l)
        for (int n = 2; n <= 36; ++n)
            for (int repeat = 0; repeat < 2; ++repeat)
                for (int vacant = 0; vacant < 2; ++vacant) {
                    // Repetition moves only the cells from three signs on, the vacant
                    // sign only the two-sign column.
                    const int line = n == 2 ? (vacant ? 0 : 1) : (repeat ? 0 : 1);
                    EXPECT_EQ(WIEVIELE(static_cast<byte>(l), static_cast<byte>(n), repeat, vacant),
                              EXPECTED[l - 3][line][n - 2])
                        << "L=" << l << " N=" << n << " wdh=" << repeat << " leer=" << vacant;
                }
}

TEST(HowMany, ShortCodesAndDegenerateArguments) {
    for (int n = 2; n <= 36; ++n) {
        EXPECT_EQ(WIEVIELE(2, static_cast<byte>(n), true, false), (n + 4) / 2);
        EXPECT_EQ(WIEVIELE(2, static_cast<byte>(n), false, true), (n + 3) / 2);
        EXPECT_EQ(WIEVIELE(1, static_cast<byte>(n), true, true), n);
    }
    EXPECT_EQ(WIEVIELE(2, 10, true, false), 7);
    EXPECT_EQ(WIEVIELE(2, 10, false, false), 6);
    EXPECT_EQ(WIEVIELE(0, 0, false, false), 0);
    EXPECT_EQ(WIEVIELE(0, 1, false, false), 0);
    EXPECT_EQ(WIEVIELE(5, 1, false, false), 1);  // one sign: one guess
    EXPECT_EQ(WIEVIELE(5, 0, true, false), 0);
    EXPECT_EQ(WIEVIELE(0, 6, true, false), 0);
    EXPECT_EQ(WIEVIELE(10, 6, true, false), 0);
    EXPECT_EQ(WIEVIELE(255, 6, true, false), 0);
    // Far beyond the 36 signs of the ring the formulas still give a number.
    EXPECT_EQ(WIEVIELE(4, 255, true, false), (255 + 21) / 4);
}

namespace {

// Exact worst-case number of trials to crack any code of `codes` when every
// guess of `guesses` may be played: depth-first with memo on the set.
struct Minimax {
    std::vector<std::string> guesses, codes;
    std::map<std::pair<std::uint64_t, int>, bool> memo;
    std::vector<std::vector<int>> answer;  // [guess][code]: p * 10 + z

    Minimax(std::vector<std::string> g, std::vector<std::string> c) : guesses(std::move(g)), codes(std::move(c)) {
        for (const auto& gg : guesses) {
            std::vector<int> row;
            for (const auto& cc : codes) {
                const Outcome e = score(gg, cc);
                row.push_back(e.p * 10 + e.z);
            }
            answer.push_back(row);
        }
    }
    bool solvable(std::uint64_t set, int k) {
        const int count = __builtin_popcountll(set);
        if (count == 0) return true;
        if (k <= 0) return false;
        if (count == 1) return true;
        if (k == 1) return false;
        const auto key = std::make_pair(set, k);
        if (auto it = memo.find(key); it != memo.end()) return it->second;
        bool ok = false;
        const int len = static_cast<int>(codes[0].size());
        for (std::size_t g = 0; g < guesses.size() && !ok; ++g) {
            std::map<int, std::uint64_t> classes;
            for (std::size_t c = 0; c < codes.size(); ++c)
                if (set >> c & 1) classes[answer[g][c]] |= 1ull << c;
            if (classes.size() == 1 && classes.begin()->first != len * 10) continue;  // learns nothing
            ok = true;
            for (const auto& [a, sub] : classes) {
                if (a == len * 10) continue;  // cracked by this very guess
                if (!solvable(sub, k - 1)) {
                    ok = false;
                    break;
                }
            }
        }
        memo[key] = ok;
        return ok;
    }
    int trials() {
        const std::uint64_t all = codes.size() == 64 ? ~0ull : (1ull << codes.size()) - 1;
        for (int k = 1;; ++k)
            if (solvable(all, k)) return k;
    }
};

int brute_force(int len, int n, bool repeat, bool vacant) {
    std::vector<std::string> guesses = all_codes(len, n + (vacant ? 1 : 0), true);
    for (auto& g : guesses)
        for (char& c : g)
            if (vacant && c == static_cast<char>('1' + n)) c = '*';
    Minimax m(guesses, all_codes(len, n, repeat));
    return m.trials();
}

}  // namespace

TEST(HowMany, SmallCellsAreTrueBoundsByExhaustiveSearch) {
    // The box promises that the code can always be cracked within this many
    // trials: no table value may lie below the exact worst case. Where the
    // table is tight the two agree.
    struct Case {
        int l, n;
        bool repeat, vacant, tight;
    };
    const Case cases[] = {
        {2, 2, true, false, true},   {2, 3, true, false, true},   {2, 3, false, false, true},
        {2, 4, false, false, true},  {2, 5, true, false, true},   {2, 8, true, false, true},
        {2, 8, false, false, true},  {3, 2, true, false, true},   {3, 3, true, false, true},
        {3, 3, false, false, true},  {3, 4, false, false, true},  {3, 4, true, false, true},
        {3, 5, false, false, true},  {4, 2, true, false, true},   {4, 2, true, true, true},
        {4, 4, false, false, true},  {5, 2, true, true, true},    {5, 2, true, false, false},
        {6, 2, true, false, false},  {6, 2, true, true, true},
    };
    for (const Case& f : cases) {
        const int exact = brute_force(f.l, f.n, f.repeat, f.vacant);
        const int table = WIEVIELE(static_cast<byte>(f.l), static_cast<byte>(f.n), f.repeat, f.vacant);
        EXPECT_LE(exact, table) << "L=" << f.l << " N=" << f.n << " wdh=" << f.repeat << " leer=" << f.vacant;
        if (f.tight) { EXPECT_EQ(exact, table) << "L=" << f.l << " N=" << f.n << " wdh=" << f.repeat; }
    }
}
