// Narrowing after an answer: the solution chain keeps exactly the codes that
// agree, absent signs are struck, the endings with one and two candidates,
// the answer of a not-fixed code.
#include "engine/codebreaker_support.h"

using namespace cbtest;

namespace {

PTR finde(const std::string& code) {
    for (PTR p = VERS; p; p = p->link2)
        if (code_von(p) == code) return p;
    return nullptr;
}

PTR vorgaenger_von(PTR g) {
    PTR vor = nullptr;
    for (PTR p = VERS; p && p != g; p = p->link2) vor = p;
    return vor;
}

void baue(const Bedingungen& b) {
    bereite_vor(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
}

}  // namespace

TEST(Verengung, KeepsExactlyTheCodesThatGiveTheAnswer) {
    console::ScopedVirtualConsole s(61);
    Bedingungen b;
    baue(b);
    AEQUI_KLASSE = false;
    const auto vorher = loesungsliste();
    PTR g = finde("1123");
    ASSERT_NE(g, nullptr);
    unsigned char taste = 0;
    ASSERT_TRUE(verenge(g, true, vorgaenger_von(g), 1, 2, taste));
    std::set<std::string> erwartet;
    for (const std::string& c : vorher) {
        byte p, z;
        BEWERTE(als_code("1123"), als_code(c), p, z);
        if (p == 1 && z == 2) erwartet.insert(c);
    }
    const auto nachher = loesungsliste();
    EXPECT_EQ(std::set<std::string>(nachher.begin(), nachher.end()), erwartet);
    EXPECT_EQ(nachher.size(), erwartet.size());
    // The guess has been played: out of the guess chain, the count follows.
    EXPECT_EQ(finde("1123"), nullptr);
    EXPECT_EQ(ZAHLGESAMTVERSUCHE, 1295);
    EXPECT_EQ(zaehle_rateliste(), 1295);
    EXPECT_EQ(GESPIELT[1] + GESPIELT[2] + GESPIELT[3], 3);
    EXPECT_EQ(GESPIELT[4], 0);
    LISTEN_FREIGEBEN(true);
}

TEST(Verengung, ZeroZeroStrikesTheGuessSignsAndOpensAgainOverTheRest) {
    console::ScopedVirtualConsole s(62);
    Bedingungen b;
    b.letztes = '8';
    baue(b);
    ASSERT_TRUE(AEQUI_KLASSE);
    // Play an opening of the signs 3, 5, 6.
    for (int i = 1; i <= 4; ++i) ANFANG.d(i) = static_cast<byte>(i == 4 ? 6 : (i == 1 ? 3 : 5));
    for (int c = FARBE0; c <= ENDFARBE; ++c) ANFANG.d(c) = 0;
    ANFANG.d(FARBEPL + 3) = 1;
    ANFANG.d(FARBEPL + 5) = 2;
    ANFANG.d(FARBEPL + 6) = 1;
    unsigned char taste = 0;
    ASSERT_TRUE(verenge(&ANFANG, false, nullptr, 0, 0, taste));
    EXPECT_FALSE(ERL_FARBE[3]);
    EXPECT_FALSE(ERL_FARBE[5]);
    EXPECT_FALSE(ERL_FARBE[6]);
    EXPECT_TRUE(ERL_FARBE[1] && ERL_FARBE[2] && ERL_FARBE[4] && ERL_FARBE[7] && ERL_FARBE[8]);
    EXPECT_EQ(FEHLZEICHEN, 3);  // the lowest of the struck signs
    EXPECT_EQ(ZAEHLE_VORH_FARBE, 5);
    for (const std::string& c : loesungsliste()) ASSERT_EQ(c.find_first_of("356"), std::string::npos) << c;
    EXPECT_EQ(loesungsliste().size(), 625u);
    // Still opening: the next opening guess uses the remaining signs (and
    // the struck sign 3 at most as filler).
    EXPECT_TRUE(AEQUI_KLASSE);
    for (int i = 1; i <= 4; ++i) {
        const byte c = ANFANG.d(i);
        EXPECT_TRUE(ERL_FARBE[c] || c == 3) << int(c);
    }
    // No guess holding a struck sign except the filler is left.
    for (const std::string& g : rateliste()) ASSERT_EQ(g.find_first_of("56"), std::string::npos) << g;
    LISTEN_FREIGEBEN(true);
}

TEST(Verengung, AllSignsCommonMakesOnlyPositionsCount) {
    console::ScopedVirtualConsole s(63);
    Bedingungen b;
    b.letztes = '8';
    baue(b);
    AEQUI_KLASSE = false;
    PTR g = finde("1234");
    ASSERT_NE(g, nullptr);
    unsigned char taste = 0;
    ASSERT_TRUE(verenge(g, true, vorgaenger_von(g), 1, 3, taste));
    EXPECT_TRUE(KENNEALLEFARBEN);
    for (int c = 5; c <= 8; ++c) EXPECT_FALSE(ERL_FARBE[c]) << c;
    for (int c = 1; c <= 4; ++c) EXPECT_TRUE(ERL_FARBE[c]) << c;
    // Every candidate is a rearrangement of 1234 with one sign in place.
    const auto loes = loesungsliste();
    EXPECT_EQ(loes.size(), 8u);
    for (const std::string& c : loes) {
        std::string sortiert = c;
        std::sort(sortiert.begin(), sortiert.end());
        EXPECT_EQ(sortiert, "1234");
    }
    for (const std::string& r : rateliste()) ASSERT_EQ(r.find_first_of("5678"), std::string::npos) << r;
    LISTEN_FREIGEBEN(true);
}

TEST(Verengung, TwoCandidatesLeftBecomeTheGuessChainAndOneEndsTheMatch) {
    console::ScopedVirtualConsole s(64);
    Bedingungen b;
    baue(b);
    AEQUI_KLASSE = false;
    // Cut the solution chain down to three codes, then answer so that two stay.
    std::vector<PTR> drei;
    for (const char* c : {"1111", "1112", "2111"}) {
        for (PTR p = ERLAUBT; p; p = p->link3)
            if (code_von(p) == c) drei.push_back(p);
    }
    ASSERT_EQ(drei.size(), 3u);
    ERLAUBT = drei[0];
    drei[0]->link3 = drei[1];
    drei[1]->link3 = drei[2];
    drei[2]->link3 = nullptr;
    PTR g = finde("1111");
    unsigned char taste = 0;
    ASSERT_TRUE(verenge(g, true, vorgaenger_von(g), 3, 0, taste));  // 1112 and 2111 give 3, 0
    EXPECT_EQ(ZAHLGESAMTVERSUCHE, 2);
    EXPECT_EQ(rateliste(), (std::vector<std::string>{"1112", "2111"}));
    EXPECT_EQ(VERS->link2, SCHLUSSLICHT);
    EXPECT_FALSE(AEQUI_KLASSE);
    // Played against 1112: the computer finds it.
    setze_loesung("1112");
    naechster_versuch();
    CODE zug;
    byte p = 0, z = 0;
    RATE_CODE(zug, p, z, taste);
    if (p != 4) {
        naechster_versuch();
        RATE_CODE(zug, p, z, taste);
    }
    EXPECT_EQ(p, 4);
    EXPECT_EQ(std::string(&LOESUNG[1], 4), "1112");
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
}

TEST(Verengung, EachOfTwoCandidatesIsPlayedFirstAboutHalfTheTime) {
    int erster[2] = {0, 0};
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        console::ScopedVirtualConsole s(seed);
        Bedingungen b;
        b.l = 2;
        b.letztes = '3';
        baue(b);
        AEQUI_KLASSE = false;
        PTR x = nullptr, y = nullptr;
        for (PTR p = VERS; p; p = p->link2) {
            if (code_von(p) == "12") x = p;
            if (code_von(p) == "21") y = p;
        }
        ERLAUBT = x;
        x->link3 = y;
        y->link3 = nullptr;
        VERS = x;
        x->link2 = y;
        y->link2 = nullptr;
        SCHLUSSLICHT = y;
        ZAHLGESAMTVERSUCHE = 2;
        Reduktion aus;
        SuchErgebnis e;
        bewerte_rateliste(VERS, nullptr, false, aus, true, Verfahren::kompakt, e);
        ++erster[e.beste == x ? 0 : 1];
        LISTEN_FREIGEBEN(true);
    }
    EXPECT_GT(erster[0], 70);
    EXPECT_GT(erster[1], 70);
}

TEST(Verengung, NotFixedCodeAnswersTheLargestClassAndTiesByTheOrder) {
    console::ScopedVirtualConsole s(65);
    Bedingungen b;
    b.fest = false;
    baue(b);
    AEQUI_KLASSE = false;
    PTR g = finde("1122");
    ASSERT_NE(g, nullptr);
    WX = 56;
    WY = 9;
    // Two classes of equal size: (P 0, Z 2) comes before (P 1, Z 0) for
    // length 4? The order puts 1/1 first, then 1/2, 2/1, 0/2 ... 1/0.
    KLASSENTABELLE t{};
    t[2][0] = 10;  // 0/2
    t[1][1] = 10;  // 1/0
    t[4][4] = 1;
    byte p = 9, z = 9;
    unsigned char taste = 0;
    CODE zug = als_code("1122");
    antworte_und_verenge(g, t, false, nullptr, zug, p, z, taste);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(z, 2);
    EXPECT_EQ(console::screen().text(56, 9, 3), "0 2");
    t = {};
    t[1][1] = 10;  // 1/0
    t[2][1] = 12;  // 1/1
    t[3][1] = 12;  // 1/2
    PTR h = finde("3344");
    ASSERT_NE(h, nullptr);
    antworte_und_verenge(h, t, false, nullptr, als_code("3344"), p, z, taste);
    EXPECT_EQ(p, 1);
    EXPECT_EQ(z, 1);  // 1/1 is first in the order
    LISTEN_FREIGEBEN(true);
}

TEST(Verengung, FixedCodeIsAnsweredByScoringWithToneWhenSolved) {
    console::ScopedVirtualConsole s(66);
    Bedingungen b;
    b.ton = true;
    baue(b);
    AEQUI_KLASSE = false;
    setze_loesung("2143");
    WX = 56;
    WY = 10;
    KLASSENTABELLE t{};
    byte p = 0, z = 0;
    unsigned char taste = 0;
    PTR g = finde("2413");
    antworte_und_verenge(g, t, true, vorgaenger_von(g), als_code("2413"), p, z, taste);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(z, 2);
    EXPECT_TRUE(s.vc.tones.empty());
    g = finde("2143");
    ASSERT_NE(g, nullptr);
    antworte_und_verenge(g, t, true, vorgaenger_von(g), als_code("2143"), p, z, taste);
    EXPECT_EQ(p, 4);
    EXPECT_EQ(z, 0);
    EXPECT_EQ(s.vc.tones.size(), 1u);
    EXPECT_EQ(std::string(&LOESUNG[1], 4), "2143");
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
    EXPECT_FALSE(ZEITEIN);
}

TEST(Verengung, FewSignsLeftKeepOneStruckSignAsFiller) {
    console::ScopedVirtualConsole s(67);
    Bedingungen b;
    b.letztes = '4';
    baue(b);
    ASSERT_FALSE(ALLE_F_LOESCHEN);
    // Opening 1122 answered 0, 0: signs 1 and 2 are struck, two are left.
    for (int i = 1; i <= 4; ++i) ANFANG.d(i) = static_cast<byte>(i <= 2 ? 1 : 2);
    for (int c = FARBE0; c <= ENDFARBE; ++c) ANFANG.d(c) = 0;
    ANFANG.d(FARBEPL + 1) = 2;
    ANFANG.d(FARBEPL + 2) = 2;
    unsigned char taste = 0;
    ASSERT_TRUE(verenge(&ANFANG, false, nullptr, 0, 0, taste));
    EXPECT_TRUE(ALLE_F_LOESCHEN);
    EXPECT_EQ(FEHLZEICHEN, 1);
    // Sign 2 is gone from the guesses, sign 1 stays usable.
    bool mit_eins = false;
    for (const std::string& g : rateliste()) {
        ASSERT_EQ(g.find('2'), std::string::npos) << g;
        mit_eins = mit_eins || g.find('1') != std::string::npos;
    }
    EXPECT_TRUE(mit_eins);
    LISTEN_FREIGEBEN(true);
}
