// Narrowing after an answer: the solution chain keeps exactly the codes that
// agree, absent signs are struck, the endings with one and two candidates,
// the answer of a not-fixed code.
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/codebreaker_support.h"

using namespace cbtest;

namespace {

PTR find_node(const std::string& code) {
    for (PTR p = VERS; p; p = p->link2)
        if (code_of(p) == code) return p;
    return nullptr;
}

PTR predecessor_of(PTR g) {
    PTR before_node = nullptr;
    for (PTR p = VERS; p && p != g; p = p->link2) before_node = p;
    return before_node;
}

void build(const Conditions& b) {
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
}

}  // namespace

TEST(Narrowing, KeepsExactlyTheCodesThatGiveTheAnswer) {
    console::ScopedVirtualConsole s(61);
    Conditions b;
    build(b);
    AEQUI_KLASSE = false;
    const auto before = solution_list();
    PTR g = find_node("1123");
    ASSERT_NE(g, nullptr);
    unsigned char pressed_key = 0;
    ASSERT_TRUE(narrow(g, true, predecessor_of(g), 1, 2, pressed_key));
    std::set<std::string> expected;
    for (const std::string& c : before) {
        byte p, z;
        BEWERTE(as_code("1123"), as_code(c), p, z);
        if (p == 1 && z == 2) expected.insert(c);
    }
    const auto after = solution_list();
    EXPECT_EQ(std::set<std::string>(after.begin(), after.end()), expected);
    EXPECT_EQ(after.size(), expected.size());
    // The guess has been played: out of the guess chain, the count follows.
    EXPECT_EQ(find_node("1123"), nullptr);
    EXPECT_EQ(ZAHLGESAMTVERSUCHE, 1295);
    EXPECT_EQ(count_guess_list(), 1295);
    EXPECT_EQ(GESPIELT[1] + GESPIELT[2] + GESPIELT[3], 3);
    EXPECT_EQ(GESPIELT[4], 0);
    LISTEN_FREIGEBEN(true);
}

TEST(Narrowing, ZeroZeroStrikesTheGuessSignsAndOpensAgainOverTheRest) {
    console::ScopedVirtualConsole s(62);
    Conditions b;
    b.last_sign = '8';
    build(b);
    ASSERT_TRUE(AEQUI_KLASSE);
    // Play an opening of the signs 3, 5, 6.
    for (int i = 1; i <= 4; ++i) ANFANG.d(i) = static_cast<byte>(i == 4 ? 6 : (i == 1 ? 3 : 5));
    for (int c = FARBE0; c <= ENDFARBE; ++c) ANFANG.d(c) = 0;
    ANFANG.d(FARBEPL + 3) = 1;
    ANFANG.d(FARBEPL + 5) = 2;
    ANFANG.d(FARBEPL + 6) = 1;
    const auto chain_before = guess_list();
    unsigned char pressed_key = 0;
    ASSERT_TRUE(narrow(&ANFANG, false, nullptr, 0, 0, pressed_key));
    EXPECT_FALSE(ERL_FARBE[3]);
    EXPECT_FALSE(ERL_FARBE[5]);
    EXPECT_FALSE(ERL_FARBE[6]);
    EXPECT_TRUE(ERL_FARBE[1] && ERL_FARBE[2] && ERL_FARBE[4] && ERL_FARBE[7] && ERL_FARBE[8]);
    EXPECT_EQ(FEHLZEICHEN, 3);  // the lowest of the struck signs
    EXPECT_EQ(ZAEHLE_VORH_FARBE, 5);
    for (const std::string& c : solution_list()) ASSERT_EQ(c.find_first_of("356"), std::string::npos) << c;
    EXPECT_EQ(solution_list().size(), 625u);
    // Still opening: the next opening guess uses the remaining signs (and
    // the struck sign 3 at most as filler).
    EXPECT_TRUE(AEQUI_KLASSE);
    for (int i = 1; i <= 4; ++i) {
        const byte c = ANFANG.d(i);
        EXPECT_TRUE(ERL_FARBE[c] || c == 3) << int(c);
    }
    // No guess holding a struck sign except the filler is left.
    for (const std::string& g : guess_list()) ASSERT_EQ(g.find_first_of("56"), std::string::npos) << g;
    // The others stay, in their order, with the count and the last node
    // following; every node taken out has a nil link 2.
    std::vector<std::string> kept;
    for (const std::string& g : chain_before)
        if (g.find_first_of("356") == std::string::npos) kept.push_back(g);
    EXPECT_EQ(guess_list(), kept);
    EXPECT_EQ(ZAHLGESAMTVERSUCHE, static_cast<std::int32_t>(kept.size()));
    EXPECT_EQ(code_of(SCHLUSSLICHT), kept.back());
    std::set<PTR> chain;
    for (PTR p = VERS; p; p = p->link2) chain.insert(p);
    for (PTR p = VERSLOE; p; p = p->link1)
        if (!chain.count(p)) {
            ASSERT_EQ(p->link2, nullptr) << code_of(p);
        }
    LISTEN_FREIGEBEN(true);
}

TEST(Narrowing, AllSignsCommonMakesOnlyPositionsCount) {
    console::ScopedVirtualConsole s(63);
    Conditions b;
    b.last_sign = '8';
    build(b);
    AEQUI_KLASSE = false;
    PTR g = find_node("1234");
    ASSERT_NE(g, nullptr);
    unsigned char pressed_key = 0;
    ASSERT_TRUE(narrow(g, true, predecessor_of(g), 1, 3, pressed_key));
    EXPECT_TRUE(KENNEALLEFARBEN);
    for (int c = 5; c <= 8; ++c) EXPECT_FALSE(ERL_FARBE[c]) << c;
    for (int c = 1; c <= 4; ++c) EXPECT_TRUE(ERL_FARBE[c]) << c;
    // Every candidate is a rearrangement of 1234 with one sign in place.
    const auto solution = solution_list();
    EXPECT_EQ(solution.size(), 8u);
    for (const std::string& c : solution) {
        std::string sorted = c;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, "1234");
    }
    for (const std::string& r : guess_list()) ASSERT_EQ(r.find_first_of("5678"), std::string::npos) << r;
    LISTEN_FREIGEBEN(true);
}

TEST(Narrowing, TwoCandidatesLeftBecomeTheGuessChainAndOneEndsTheMatch) {
    console::ScopedVirtualConsole s(64);
    Conditions b;
    build(b);
    AEQUI_KLASSE = false;
    // Cut the solution chain down to three codes, then answer so that two stay.
    std::vector<PTR> three;
    for (const char* c : {"1111", "1112", "2111"}) {
        for (PTR p = ERLAUBT; p; p = p->link3)
            if (code_of(p) == c) three.push_back(p);
    }
    ASSERT_EQ(three.size(), 3u);
    ERLAUBT = three[0];
    three[0]->link3 = three[1];
    three[1]->link3 = three[2];
    three[2]->link3 = nullptr;
    PTR g = find_node("1111");
    unsigned char pressed_key = 0;
    ASSERT_TRUE(narrow(g, true, predecessor_of(g), 3, 0, pressed_key));  // 1112 and 2111 give 3, 0
    EXPECT_EQ(ZAHLGESAMTVERSUCHE, 2);
    EXPECT_EQ(guess_list(), (std::vector<std::string>{"1112", "2111"}));
    EXPECT_EQ(VERS->link2, SCHLUSSLICHT);
    EXPECT_FALSE(AEQUI_KLASSE);
    // Played against 1112: the computer finds it.
    set_solution("1112");
    next_trial();
    CODE move;
    byte p = 0, z = 0;
    RATE_CODE(move, p, z, pressed_key);
    if (p != 4) {
        next_trial();
        RATE_CODE(move, p, z, pressed_key);
    }
    EXPECT_EQ(p, 4);
    EXPECT_EQ(std::string(&LOESUNG[1], 4), "1112");
    EXPECT_EQ(STORE_ARENA.used(), 0);
}

TEST(Narrowing, EachOfTwoCandidatesIsPlayedFirstAboutHalfTheTime) {
    int first_one[2] = {0, 0};
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        console::ScopedVirtualConsole s(seed);
        Conditions b;
        b.l = 2;
        b.last_sign = '3';
        build(b);
        AEQUI_KLASSE = false;
        PTR x = nullptr, y = nullptr;
        for (PTR p = VERS; p; p = p->link2) {
            if (code_of(p) == "12") x = p;
            if (code_of(p) == "21") y = p;
        }
        ERLAUBT = x;
        x->link3 = y;
        y->link3 = nullptr;
        VERS = x;
        x->link2 = y;
        y->link2 = nullptr;
        SCHLUSSLICHT = y;
        ZAHLGESAMTVERSUCHE = 2;
        SearchResult e;
        score_guess_list({.start = VERS}, e);
        ++first_one[e.chosen == x ? 0 : 1];
        LISTEN_FREIGEBEN(true);
    }
    EXPECT_GT(first_one[0], 70);
    EXPECT_GT(first_one[1], 70);
}

TEST(Narrowing, NotFixedCodeAnswersTheLargestClassAndTiesByTheOrder) {
    console::ScopedVirtualConsole s(65);
    Conditions b;
    b.fixed = false;
    build(b);
    AEQUI_KLASSE = false;
    PTR g = find_node("1122");
    ASSERT_NE(g, nullptr);
    WX = 56;
    WY = 9;
    // Two classes of equal size: (P 0, Z 2) comes before (P 1, Z 0) for
    // length 4? The order puts 1/1 first, then 1/2, 2/1, 0/2 ... 1/0.
    ClassTable t{};
    t[2][0] = 10;  // 0/2
    t[1][1] = 10;  // 1/0
    t[4][4] = 1;
    byte p = 9, z = 9;
    unsigned char pressed_key = 0;
    CODE move = as_code("1122");
    answer_and_narrow(g, t, false, nullptr, move, p, z, pressed_key);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(z, 2);
    EXPECT_EQ(console::screen().text(56, 9, 3), "0 2");
    t = {};
    t[1][1] = 10;  // 1/0
    t[2][1] = 12;  // 1/1
    t[3][1] = 12;  // 1/2
    PTR h = find_node("3344");
    ASSERT_NE(h, nullptr);
    answer_and_narrow(h, t, false, nullptr, as_code("3344"), p, z, pressed_key);
    EXPECT_EQ(p, 1);
    EXPECT_EQ(z, 1);  // 1/1 is first in the order
    LISTEN_FREIGEBEN(true);
}

TEST(Narrowing, FixedCodeIsAnsweredByScoringWithToneWhenSolved) {
    console::ScopedVirtualConsole s(66);
    Conditions b;
    b.sound = true;
    build(b);
    AEQUI_KLASSE = false;
    set_solution("2143");
    WX = 56;
    WY = 10;
    ClassTable t{};
    byte p = 0, z = 0;
    unsigned char pressed_key = 0;
    PTR g = find_node("2413");
    answer_and_narrow(g, t, true, predecessor_of(g), as_code("2413"), p, z, pressed_key);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(z, 2);
    EXPECT_TRUE(s.vc.tones.empty());
    g = find_node("2143");
    ASSERT_NE(g, nullptr);
    answer_and_narrow(g, t, true, predecessor_of(g), as_code("2143"), p, z, pressed_key);
    EXPECT_EQ(p, 4);
    EXPECT_EQ(z, 0);
    EXPECT_EQ(s.vc.tones.size(), 1u);
    EXPECT_EQ(std::string(&LOESUNG[1], 4), "2143");
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_FALSE(ZEITEIN);
}

TEST(Narrowing, FewSignsLeftKeepOneStruckSignAsFiller) {
    console::ScopedVirtualConsole s(67);
    Conditions b;
    b.last_sign = '4';
    build(b);
    ASSERT_FALSE(ALLE_F_LOESCHEN);
    // Opening 1122 answered 0, 0: signs 1 and 2 are struck, two are left.
    for (int i = 1; i <= 4; ++i) ANFANG.d(i) = static_cast<byte>(i <= 2 ? 1 : 2);
    for (int c = FARBE0; c <= ENDFARBE; ++c) ANFANG.d(c) = 0;
    ANFANG.d(FARBEPL + 1) = 2;
    ANFANG.d(FARBEPL + 2) = 2;
    unsigned char pressed_key = 0;
    ASSERT_TRUE(narrow(&ANFANG, false, nullptr, 0, 0, pressed_key));
    EXPECT_TRUE(ALLE_F_LOESCHEN);
    EXPECT_EQ(FEHLZEICHEN, 1);
    // Sign 2 is gone from the guesses, sign 1 stays usable.
    bool with_one = false;
    for (const std::string& g : guess_list()) {
        ASSERT_EQ(g.find('2'), std::string::npos) << g;
        with_one = with_one || g.find('1') != std::string::npos;
    }
    EXPECT_TRUE(with_one);
    LISTEN_FREIGEBEN(true);
}
