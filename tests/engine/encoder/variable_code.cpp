#include "engine/encoder/variable_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/codebreaker/release.h"
#include "engine/setup/conditions.h"

using namespace zqspiel;

namespace {

using Code = std::vector<int>;  // sign numbers of positions 1..n

CODE code_of(const std::string& s) {
    CODE c;
    c.blank();
    for (std::size_t i = 0; i < s.size() && i < 9; ++i) c.s[i] = s[i];
    return c;
}

// Independent scoring on sign numbers: P and the common count.
void score(const Code& guess, const Code& code, int& p, int& common) {
    p = 0;
    common = 0;
    int cg[37] = {}, cc[37] = {};
    for (std::size_t i = 0; i < guess.size(); ++i) {
        if (guess[i] != 0 && guess[i] == code[i]) ++p;
        if (guess[i] != 0) ++cg[guess[i]];
        ++cc[code[i]];
    }
    for (int s = 1; s <= 36; ++s) common += std::min(cg[s], cc[s]);
}

std::vector<Code> list_codes() {
    std::vector<Code> out;
    for (PTR_O_F c = ERL; c != nullptr; c = c->link2) out.emplace_back(c->data, c->data + X.CODELAENGE);
    return out;
}

std::vector<Code> all_codes(int n, int s, bool repeat) {
    std::vector<Code> out;
    Code c(n, 1);
    for (;;) {
        bool ok = true;
        if (!repeat)
            for (int i = 0; i < n && ok; ++i)
                for (int j = 0; j < i && ok; ++j) ok = c[i] != c[j];
        if (ok) out.push_back(c);
        int i = 0;
        while (i < n && c[i] == s) c[i++] = 1;
        if (i == n) return out;
        ++c[i];
    }
}

Code numbers_of(const std::string& s) {
    Code g;
    for (char ch : s) g.push_back(ch == '*' ? 0 : NRARRAY[static_cast<std::size_t>(ch - '0')]);
    return g;
}

struct VariableCode : ::testing::Test {
    console::ScopedVirtualConsole con;

    void SetUp() override {
        MEMAVAIL = MERKEMEMAVAIL = MEMGES = std::int64_t{1} << 30;
        SP_D = false;
        NUMMER = 1;
        V30 = {};
        K = 9;
        WX = 42;
        WY = 9;
        A = 0;
        ZEITEIN = false;
        LOESUNG.blank();
    }
    void TearDown() override { LISTEN_FREIGEBEN(true); }

    bool start(int n, char first, char last, bool repeat, bool computer = true) {
        X.CODELAENGE = static_cast<byte>(n);
        X.ERSTES_ZEICHEN = first;
        X.LETZTES_ZEICHEN = last;
        X.WIEDERHOLUNG = repeat;
        X.PC_LOESUNG = computer;
        X.LOESUNG_FEST = false;
        X.LEERZEICHEN_ERLAUBT = false;
        build_sign_tables();
        KENNEALLEFARBEN = !repeat && n == MAXFARBE;
        LETZTEZAHL = 0;
        REIHENFOLGE();
        bool ok = false;
        INIT_NICHT_FEST(ok);
        return ok;
    }

    // One try of the person, answered by answer_not_fixed; recorded in V30.
    void answer(const std::string& guess, byte& p, byte& z, unsigned char& key) {
        const CODE g = code_of(guess);
        answer_not_fixed(g, 1, p, z, key);
        if (NUMMER >= 1 && NUMMER <= 30) V30[NUMMER] = VERSUCH{static_cast<std::int16_t>(NUMMER), g, p, z};
        ++NUMMER;
    }
};

}  // namespace

TEST_F(VariableCode, BuildMakesEveryAllowedCodeOnce) {
    struct Case {
        int n;
        char last;
        bool repeat;
    };
    for (const Case& k : {Case{2, '9', false}, Case{2, '9', true}, Case{3, '3', false}, Case{4, '2', true},
                          Case{1, '4', false}, Case{5, '5', false}}) {
        SCOPED_TRACE(testing::Message() << k.n << " " << k.last << " " << k.repeat);
        ASSERT_TRUE(start(k.n, '0', k.last, k.repeat));
        const std::vector<Code> got = list_codes();
        const std::vector<Code> want = all_codes(k.n, MAXFARBE, k.repeat);
        EXPECT_EQ(got.size(), want.size());
        EXPECT_EQ(std::set<Code>(got.begin(), got.end()), std::set<Code>(want.begin(), want.end()));
        // The release chain reaches every node, as built.
        std::size_t released = 0;
        for (PTR_O_F c = ERLLOE; c != nullptr; c = c->link1) ++released;
        EXPECT_EQ(released, want.size());
        EXPECT_EQ(ERLLOE, ERL);
        EXPECT_EQ(ENDFARBEPL1, k.n + 1);
        EXPECT_EQ(ZAHL_DER_STERNE, 10);
        EXPECT_EQ(STORE_ARENA.used(), static_cast<std::int64_t>(32 * want.size()));
        LISTEN_FREIGEBEN(true);
    }
}

TEST_F(VariableCode, BuildEndsWithTheClosingLineAndTheCursorBack) {
    console::goto_xy(42, 9);
    ASSERT_TRUE(start(2, '0', '9', false));
    EXPECT_EQ(console::screen().row_text(25).substr(0, 79),
              "Answer:                       Trials made:                 New Game? Yes.      ");
    EXPECT_EQ(console::where_x(), 42);
    EXPECT_EQ(console::where_y(), 9);
    EXPECT_TRUE(NOTINVERS);
    EXPECT_FALSE(RATEN_ZEITANZEIGE);
    EXPECT_EQ(GERATENE_VERSUCHE, 90);
    EXPECT_EQ(ZAHL_DER_VERSUCHE, 90);
    for (int s = 1; s <= 10; ++s) EXPECT_TRUE(ERL_FARBE[s]);
    EXPECT_FALSE(ERL_FARBE[0]);
    EXPECT_FALSE(ERL_FARBE[11]);

    LISTEN_FREIGEBEN(true);
    SP_D = true;
    ASSERT_TRUE(start(2, '0', '9', false));
    EXPECT_EQ(console::screen().row_text(25).substr(0, 79),
              "Loesung:                Benoetigte Versuche:            Neues Spiel? Ja.       ");
}

TEST_F(VariableCode, EscWhileBuildingEndsTheMatchWithoutFurtherStars) {
    ZEITEIN = true;
    con.vc.key(27);
    EXPECT_FALSE(start(5, '0', '9', false));
    EXPECT_EQ(A, 27);
    EXPECT_EQ(ERL, nullptr);
    EXPECT_EQ(ERLLOE, nullptr);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_EQ(ZAHL_DER_STERNE, 0);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(console::screen().text(1, 25, 7), "Answer:");

    // Esc after a part of the list: the stars stop where the build stopped.
    LISTEN_FREIGEBEN(true);
    con.vc.wait(120).key(27);
    EXPECT_FALSE(start(5, '0', '9', false));  // 30240 codes
    EXPECT_GT(ZAHL_DER_STERNE, 0);
    EXPECT_LT(ZAHL_DER_STERNE, 10);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(A, 27);
}

TEST_F(VariableCode, OtherKeysDuringTheBuildAreDropped) {
    con.vc.keys("x").ext(59).keys("7");
    EXPECT_TRUE(start(5, '0', '9', false));
    EXPECT_EQ(con.vc.pending(), 0u);
    EXPECT_EQ(list_length(), 30240);
}

// The build looks at the keyboard at its first code and then every 1024
// codes; the passes over the list do not look at it at all.
TEST_F(VariableCode, BuildLooksAtTheKeyboardEvery1024CodesFromItsFirst) {
    const int before = con.vc.key_tests;
    EXPECT_TRUE(start(5, '0', '9', false));  // 30240 codes: looks at 1, 1025, ..., 29697
    EXPECT_EQ(con.vc.key_tests - before, 30);
    EXPECT_EQ(ZAHL_DER_STERNE, 10);
    byte g[10] = {0, 1, 2, 3, 4, 5};
    ClassTable t;
    classify_list(g, t);
    filter_list(1, 3);
    EXPECT_EQ(con.vc.key_tests - before, 30);
}

TEST_F(VariableCode, FailedAllocationAbortsLikeEsc) {
    MEMAVAIL = MERKEMEMAVAIL = MEMGES = 32 * 50;  // room for 50 of the 90 codes
    EXPECT_FALSE(start(2, '0', '9', false));
    EXPECT_EQ(A, 27);
    EXPECT_EQ(ERL, nullptr);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_LT(ZAHL_DER_STERNE, 10);
}

TEST_F(VariableCode, ListTooLargeForTheMachineFailsLikeAnExhaustedBudget) {
    // The budget would allow it, but the machine has less to spare beside
    // its reserve than the 90 codes take: the build stops as if memory ran out.
    con.vc.memory = {console::MACHINE_RESERVE + 90 * 32 - 32, 4ULL << 30};
    EXPECT_FALSE(start(2, '0', '9', false));
    EXPECT_EQ(A, 27);
    EXPECT_EQ(ERL, nullptr);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(STORE_ARENA.chunks(), 0u);
}

TEST_F(VariableCode, ListBeyondTheCgroupOrAddressSpaceEndsBeforeTheFirstNode) {
    // 5 positions over 20 signs with repetition: 3.2 million codes, 98 MiB.
    // Each chunk alone would fit; the whole list does not.
    for (int case_no = 0; case_no < 2; ++case_no) {
        SCOPED_TRACE(case_no);
        LISTEN_FREIGEBEN(true);
        con.vc.memory = {16ULL << 30, 32ULL << 30};
        if (case_no == 0)
            con.vc.memory.cgroup_left = (96ULL << 20) + console::LIMIT_SLACK;
        else
            con.vc.memory.as_limit = (96ULL << 20) + console::LIMIT_SLACK;
        const std::int64_t t0 = con.vc.now_ms();
        EXPECT_FALSE(start(5, 'a', 't', true));
        EXPECT_EQ(A, 27);
        EXPECT_EQ(GERATENE_VERSUCHE, 0);
        EXPECT_EQ(ZAHL_DER_STERNE, 0);
        EXPECT_EQ(ERL, nullptr);
        EXPECT_EQ(STORE_ARENA.chunks(), 0u);
        EXPECT_LT(con.vc.now_ms() - t0, 10 * con.vc.tick_ms) << "no building time";
        EXPECT_EQ(console::screen().text(1, 25, 7), "Answer:");
    }
    // With room for it the list is built.
    LISTEN_FREIGEBEN(true);
    con.vc.memory.as_limit = (110ULL << 20) + console::LIMIT_SLACK;
    EXPECT_TRUE(start(5, 'a', 't', true));
    EXPECT_EQ(GERATENE_VERSUCHE, 3200000);
}

TEST_F(VariableCode, FirstGuessOverTenSignsIsAnsweredNothing) {
    ASSERT_TRUE(start(2, '0', '9', false));
    byte p = 9, z = 9;
    unsigned char key = 1;
    answer("01", p, z, key);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(z, 0);
    EXPECT_NE(key, 27);
    EXPECT_EQ(list_length(), 56);
    EXPECT_EQ(console::screen().text(X3[1], K, 1), "0");
    EXPECT_EQ(console::screen().text(X4[1], K, 1), "0");
    EXPECT_FALSE(ERL_FARBE[NRARRAY['0' - '0']]);
    EXPECT_FALSE(ERL_FARBE[NRARRAY['1' - '0']]);
    EXPECT_TRUE(ERL_FARBE[NRARRAY['2' - '0']]);
    for (const Code& c : list_codes())
        for (int s : c) EXPECT_GT(s, 2);  // neither '0' (1) nor '1' (2)
}

TEST_F(VariableCode, EqualClassesGoByTheOrder) {
    ASSERT_TRUE(start(2, '0', '2', false));
    ClassTable t;
    const Code g = numbers_of("01");
    byte gg[10] = {0, static_cast<byte>(g[0]), static_cast<byte>(g[1])};
    classify_list(gg, t);
    EXPECT_EQ(t[1][0], 2);  // 0/1: "12", "20"
    EXPECT_EQ(t[1][1], 2);  // 1/0: "02", "21"
    EXPECT_EQ(t[2][0], 1);  // 0/2: "10"
    EXPECT_EQ(t[2][2], 1);  // solved
    byte p = 9, z = 9;
    unsigned char key = 0;
    answer("01", p, z, key);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(z, 1);
    EXPECT_EQ(list_length(), 2);
}

TEST_F(VariableCode, ChoiceRuleOnAnyTable) {
    X.CODELAENGE = 3;
    LETZTEZAHL = 0;
    REIHENFOLGE();
    std::int32_t t[10][10] = {};
    byte p = 0, common = 0;
    // Everything empty but the solving class: the computer has to concede.
    t[3][3] = 1;
    choose_answer(t, p, common);
    EXPECT_EQ(p, 3);
    EXPECT_EQ(common, 3);
    // 0/0 and 2/0 equally large: 2/0 comes first for length 3.
    t[0][0] = 5;
    t[2][2] = 5;
    choose_answer(t, p, common);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(common, 2);
    // A strictly larger class later in the order wins.
    t[0][0] = 6;
    choose_answer(t, p, common);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(common, 0);
    // The first entry of the order keeps the tie against everything.
    t[2][1] = 6;
    choose_answer(t, p, common);
    EXPECT_EQ(p, 1);
    EXPECT_EQ(common, 2);
}

TEST_F(VariableCode, SignsAnsweredAbsentAreNotLookedUpAgain) {
    ASSERT_TRUE(start(2, '0', '9', false));
    byte p, z;
    unsigned char key = 0;
    answer("01", p, z, key);
    ASSERT_EQ(p + z, 0);
    // Mark the class bytes: a classification would overwrite them.
    for (PTR_O_F c = ERL; c != nullptr; c = c->link2) c->data[2] = 0xEE;
    answer("10", p, z, key);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(z, 0);
    answer("11", p, z, key);
    EXPECT_EQ(p + z, 0);
    for (PTR_O_F c = ERL; c != nullptr; c = c->link2) EXPECT_EQ(c->data[2], 0xEE);
    EXPECT_EQ(list_length(), 56);
}

TEST_F(VariableCode, RepeatedGuessGetsTheEarlierAnswer) {
    ASSERT_TRUE(start(3, '0', '5', false));
    // An earlier try stands in the history with its answer; the same guess
    // gets exactly that answer, and the list is left alone.
    NUMMER = 3;
    V30[1] = VERSUCH{1, code_of("345"), 0, 2};
    V30[2] = VERSUCH{2, code_of("012"), 1, 1};
    const std::int64_t before = list_length();
    byte p = 9, z = 9;
    unsigned char key = 0;
    answer_not_fixed(code_of("012"), 2, p, z, key);
    EXPECT_EQ(p, 1);
    EXPECT_EQ(z, 1);
    EXPECT_EQ(list_length(), before);
    EXPECT_EQ(console::screen().text(X3[2], K, 1), "1");
    EXPECT_EQ(console::screen().text(X4[2], K, 1), "1");
}

TEST_F(VariableCode, TheSlotBeingAnsweredIsNotAnEarlierTry) {
    ASSERT_TRUE(start(3, '0', '5', false));
    // Past the 30th try the ring reuses a slot; when the new guess already
    // stands in it, its stale answer must not be taken for an earlier one.
    NUMMER = 40;
    V30[5] = VERSUCH{5, code_of("012"), 3, 0};
    byte p = 9, z = 9;
    unsigned char key = 0;
    answer_not_fixed(V30[5].ZUG, 1, p, z, key);
    EXPECT_LT(p, 3);  // 120 codes left, the computer does not concede
    EXPECT_LT(list_length(), 120);
}

TEST_F(VariableCode, ListAlwaysHoldsExactlyTheCodesAgreeingWithEveryAnswer) {
    struct Case {
        int n;
        char last;
        bool repeat;
        const char* guesses;
    };
    for (const Case& k : {Case{4, '5', true, "0011 0123 2233 4455 0204 1111 5432"},
                          Case{4, '7', false, "0123 4567 0145 2301 7654 0716"},
                          Case{3, '9', true, "000 123 456 789 111 222 912"},
                          Case{5, '4', false, "01234 43210 12340 20413"},
                          Case{6, '6', false, "012345 654321 061524 302615"},
                          Case{7, '2', true, "0001112 2221100 0120120 1111111"},
                          Case{8, '1', true, "00001111 01010101 11110000 00110011 10011001"},
                          Case{9, '1', true, "000011111 010101010 111100001 001100111 100110011"}}) {
        SCOPED_TRACE(k.guesses);
        ASSERT_TRUE(start(k.n, '0', k.last, k.repeat));
        NUMMER = 1;
        std::vector<std::pair<Code, std::pair<int, int>>> history;
        std::string all = k.guesses;
        for (std::size_t at = 0; at < all.size(); at += k.n + 1) {
            const std::string guess = all.substr(at, k.n);
            const std::int64_t before = list_length();
            byte p, z;
            unsigned char key = 0;
            answer(guess, p, z, key);
            ASSERT_NE(key, 27);
            history.push_back({numbers_of(guess), {p, p + z}});
            if (p == k.n) {
                EXPECT_EQ(before, 1) << "conceded with codes left";
                EXPECT_EQ(ERL, nullptr);
                EXPECT_EQ(LOESUNG.s[0], guess[0]);
                break;
            }
            std::set<Code> want;
            for (const Code& c : all_codes(k.n, MAXFARBE, k.repeat)) {
                bool agrees = true;
                for (const auto& [g, ans] : history) {
                    int pp, cc;
                    score(g, c, pp, cc);
                    agrees = agrees && pp == ans.first && cc == ans.second;
                }
                if (agrees) want.insert(c);
            }
            const std::vector<Code> got = list_codes();
            ASSERT_FALSE(got.empty());
            EXPECT_EQ(std::set<Code>(got.begin(), got.end()), want) << "after " << guess;
            EXPECT_EQ(got.size(), want.size());
        }
        LISTEN_FREIGEBEN(true);
    }
}

TEST_F(VariableCode, ComputerKeepsTheLargestClass) {
    ASSERT_TRUE(start(4, '0', '5', true));
    const std::string guess = "0012";
    const Code g = numbers_of(guess);
    // The sizes of all classes, by the independent score.
    std::array<std::array<int, 10>, 10> size{};
    for (const Code& c : list_codes()) {
        int p, cm;
        score(g, c, p, cm);
        ++size[cm][p];
    }
    int largest = 0;
    for (auto& r : size)
        for (int v : r) largest = std::max(largest, v);
    byte p, z;
    unsigned char key = 0;
    answer(guess, p, z, key);
    EXPECT_EQ(size[p + z][p], largest);
    EXPECT_EQ(list_length(), largest);
}

TEST_F(VariableCode, LastCodeLeftIsTheSolutionAndEndsTheMatch) {
    ASSERT_TRUE(start(2, '0', '2', false));
    byte p, z;
    unsigned char key = 0;
    answer("01", p, z, key);  // 0/1: "12" and "20" left
    ASSERT_EQ(list_length(), 2);
    answer("12", p, z, key);  // "12" would be solved, "20" gives 0/1
    EXPECT_EQ(p, 0);
    EXPECT_EQ(z, 1);
    ASSERT_EQ(list_length(), 1);
    EXPECT_EQ(std::string(LOESUNG.s, 2), "20");
    ZEITEIN = true;
    answer("20", p, z, key);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(z, 0);
    EXPECT_EQ(ERL, nullptr);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_EQ(std::string(LOESUNG.s, 3), "20 ");
    EXPECT_EQ(console::screen().text(X3[1], K, 1), "2");
    EXPECT_EQ(console::screen().text(X4[1], K, 1), "0");
}

TEST_F(VariableCode, AllSignsCommonNarrowsTheSigns) {
    ASSERT_TRUE(start(3, '0', '5', false));
    byte g[10] = {0, 1, 2, 3};
    learn_signs_of_answer(g, 1, 3);
    EXPECT_TRUE(KENNEALLEFARBEN);
    for (int s = 1; s <= 6; ++s) EXPECT_EQ(ERL_FARBE[s], s <= 3) << s;
    LISTEN_FREIGEBEN(true);

    // Through the steps of an answer 1/2 to "012": the three codes that
    // rearrange 0, 1, 2 keeping one in place are left, and from then on
    // the classes differ in P only.
    ASSERT_TRUE(start(3, '0', '5', false));
    ClassTable t;
    classify_list(g, t);
    ASSERT_EQ(t[3][1], 3);
    EXPECT_EQ(filter_list(1, 3), 3);
    learn_signs_of_answer(g, 1, 3);
    ASSERT_TRUE(KENNEALLEFARBEN);
    byte h[10] = {0, 3, 1, 2};  // "201"
    classify_list(h, t);
    int in_row = 0, total = 0;
    for (int c = 0; c <= 3; ++c)
        for (int q = 0; q <= c; ++q) {
            total += t[c][q];
            if (c == 3) in_row += t[c][q];
        }
    EXPECT_EQ(in_row, 3);
    EXPECT_EQ(total, 3);
    // The class byte is P alone: "021", "210", "102" against "201".
    for (PTR_O_F c = ERL; c != nullptr; c = c->link2) EXPECT_LE(c->data[3], 3);
    EXPECT_EQ(t[3][1], 3);
}

TEST_F(VariableCode, AbsentSignsLeaveOnlyEnoughForTheCode) {
    // Five signs, length 3, no repetition: after 0/0 to two signs only three
    // signs remain, which the code must hold all of.
    ASSERT_TRUE(start(3, '0', '4', false));
    byte g[10] = {0, 1, 2, 2};
    learn_signs_of_answer(g, 0, 0);
    EXPECT_TRUE(KENNEALLEFARBEN);
    EXPECT_FALSE(ERL_FARBE[1]);
    EXPECT_FALSE(ERL_FARBE[2]);
    EXPECT_TRUE(ERL_FARBE[3]);

    // With repetition the signs left say nothing of how often they occur.
    LISTEN_FREIGEBEN(true);
    ASSERT_TRUE(start(3, '0', '4', true));
    learn_signs_of_answer(g, 0, 0);
    EXPECT_FALSE(KENNEALLEFARBEN);
}

TEST_F(VariableCode, VacantPositionsNeverCount) {
    ASSERT_TRUE(start(3, '0', '3', true));
    byte p, z;
    unsigned char key = 0;
    answer("0**", p, z, key);
    EXPECT_LE(p + z, 1);
    for (const Code& c : list_codes()) {
        int pp, cc;
        score(numbers_of("0**"), c, pp, cc);
        EXPECT_EQ(pp, p);
        EXPECT_EQ(cc, p + z);
    }
}

TEST_F(VariableCode, EscWaitingAfterTheAnswerEndsTheMatch) {
    ASSERT_TRUE(start(3, '0', '5', false));
    ZEITEIN = true;
    con.vc.key(27);
    byte p, z;
    unsigned char key = 0;
    answer("012", p, z, key);
    EXPECT_EQ(key, 27);
    EXPECT_EQ(A, 27);
    EXPECT_EQ(ERL, nullptr);
    EXPECT_FALSE(ZEITEIN);

    // Any other waiting key is dropped, the list narrowed as usual.
    ASSERT_TRUE(start(3, '0', '5', false));
    NUMMER = 1;
    con.vc.ext(72);
    answer("012", p, z, key);
    EXPECT_NE(key, 27);
    EXPECT_EQ(con.vc.pending(), 0u);
    EXPECT_LT(list_length(), 120);
}

TEST_F(VariableCode, FilterByClassBytesWhenTheListChangedSinceTheClassification) {
    ASSERT_TRUE(start(2, '0', '9', false));
    const Code g = numbers_of("01");
    byte gg[10] = {0, static_cast<byte>(g[0]), static_cast<byte>(g[1])};
    ClassTable t;
    classify_list(gg, t);
    // The head is dropped after the classification: the filter cannot use
    // the classes gathered by the pass and must go by the class bytes.
    const Code dropped(ERL->data, ERL->data + 2);
    ERL = ERL->link2;
    std::set<Code> want;
    for (const Code& c : list_codes()) {
        int p, cm;
        score(g, c, p, cm);
        if (p == 0 && cm == 1) want.insert(c);
    }
    EXPECT_EQ(filter_list(0, 1), static_cast<std::int64_t>(want.size()));
    const std::vector<Code> got = list_codes();
    EXPECT_EQ(std::set<Code>(got.begin(), got.end()), want);
    EXPECT_EQ(want.count(dropped), 0u);
}
