// The computer's choice of the next guess: whole matches against its own
// code, the packed search against the plain one and against scoring done
// from scratch, the tie rule, the time limit and the decide-soon keys.
#include <map>

#include "engine/codebreaker_support.h"
#include "engine/packed_candidates.h"

using namespace cbtest;

namespace {

std::string zufallscode(int l, bool wdh) {
    std::string s;
    std::vector<int> frei;
    for (int c = 1; c <= MAXFARBE; ++c) frei.push_back(c);
    for (int i = 0; i < l; ++i) {
        const int k = static_cast<int>(console::random(static_cast<std::uint32_t>(frei.size())));
        s += FARBARRAY[frei[k]];
        if (!wdh) frei.erase(frei.begin() + k);
    }
    return s;
}

// Plays a few trials against the secret to reach a position with some
// candidates left; false when the code was found on the way.
bool spiele_bis(int versuche) {
    for (int i = 0; i < versuche; ++i) {
        naechster_versuch();
        CODE zug;
        byte p = 0, z = 0;
        unsigned char taste = 0;
        RATE_CODE(zug, p, z, taste);
        if (taste == 27 || p == X.CODELAENGE) return false;
    }
    return ZAHLGESAMTVERSUCHE > 2;
}

// The figures of one guess against the solution chain, scored from the
// characters with BEWERTE.
SuchFiguren figuren_von(const std::string& guess, KLASSENTABELLE& t) {
    t = {};
    const CODE g = als_code(guess);
    for (PTR s = ERLAUBT; s; s = s->link3) {
        byte p, z;
        BEWERTE(g, als_code(code_von(s)), p, z);
        ++t[p + z][p];
    }
    SuchFiguren f;
    f.max = 0;
    f.summe = 0;
    for (auto& row : t)
        for (auto v : row) {
            f.max = std::max(f.max, v);
            f.summe += static_cast<std::int64_t>(v) * v;
            f.klassen += v > 0;
        }
    f.treffer = t[X.CODELAENGE][X.CODELAENGE] == 1;
    return f;
}

bool besser_als(const SuchFiguren& a, const SuchFiguren& b) {
    if (a.max != b.max) return a.max < b.max;
    if (a.summe != b.summe) return a.summe < b.summe;
    if (a.klassen != b.klassen) return a.klassen > b.klassen;
    return a.treffer && !b.treffer;
}

bool gleich(const SuchFiguren& a, const SuchFiguren& b) {
    return a.max == b.max && a.summe == b.summe && a.klassen == b.klassen && a.treffer == b.treffer;
}

}  // namespace

struct Fall {
    int l;
    char erstes, letztes;
    bool wdh;
    bool leer;
};

class GanzesSpiel : public ::testing::TestWithParam<Fall> {};

TEST_P(GanzesSpiel, FindsItsOwnCodeWithinTheTabledTrialsAndReleasesEverything) {
    const Fall f = GetParam();
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        console::ScopedVirtualConsole s(seed);
        Bedingungen b;
        b.l = f.l;
        b.erstes = f.erstes;
        b.letztes = f.letztes;
        b.wdh = f.wdh;
        b.leer = f.leer;
        bereite_vor(b);
        const std::string geheim = zufallscode(f.l, f.wdh);
        setze_loesung(geheim);
        const int grenze = WIEVIELE(X.CODELAENGE, MAXFARBE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT);
        ASSERT_GT(grenze, 0);
        const int versuche = spiele_gegen_sich();
        ASSERT_GT(versuche, 0) << "seed " << seed << " secret " << geheim;
        EXPECT_LE(versuche, grenze) << "seed " << seed << " secret " << geheim;
        std::string gefunden;
        for (int i = 1; i <= f.l; ++i) gefunden += LOESUNG[i];
        EXPECT_EQ(gefunden, geheim);
        EXPECT_EQ(SPEICHER_ARENA.used(), 0);
        EXPECT_EQ(VERSLOE, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Bedingungen, GanzesSpiel,
                         ::testing::Values(Fall{4, '1', '6', true, false}, Fall{4, '0', '9', false, false},
                                           Fall{3, 'a', 'e', true, false}, Fall{5, '1', '8', true, false},
                                           Fall{4, 'a', 'b', true, true}, Fall{4, 'a', 'd', false, false}));

TEST(Suche, PackedLoopChoosesExactlyWhatTheNodeLoopChooses) {
    const Fall faelle[] = {{4, '1', '6', true, false}, {5, '1', '6', true, false}, {4, '0', '9', false, false},
                           {3, 'a', 't', true, false}, {2, 'a', '9', true, false}, {4, 'a', 'b', true, true},
                           {4, 'a', 'd', false, false}, {6, 'a', 'c', true, false}};
    int verglichen = 0;
    for (const Fall& f : faelle) {
        for (std::uint64_t seed = 1; seed <= 5; ++seed) {
            console::ScopedVirtualConsole s(seed * 7919);
            Bedingungen b;
            b.l = f.l;
            b.erstes = f.erstes;
            b.letztes = f.letztes;
            b.wdh = f.wdh;
            b.leer = f.leer;
            bereite_vor(b);
            setze_loesung(zufallscode(f.l, f.wdh));
            bool ok = false;
            INIT_RATEN(ok);
            INITFELD();
            ASSERT_TRUE(ok);
            if (!spiele_bis(1 + static_cast<int>(seed % 2))) continue;
            SCOPED_TRACE(testing::Message() << f.l << f.erstes << f.letztes << " seed " << seed);
            for (int reduziert = 0; reduziert < 2; ++reduziert) {
                Reduktion red;
                PTR vor = nullptr;
                PTR start = VERS;
                if (reduziert) start = bereite_reduktion_vor(red, VERS, vor);
                const console::Random danach = console::active().rng;
                SuchErgebnis a, k;
                bewerte_rateliste(start, vor, false, red, true, Verfahren::knoten, a);
                console::active().rng = danach;
                bewerte_rateliste(start, vor, false, red, true, Verfahren::kompakt, k);
                ASSERT_EQ(a.beste, k.beste) << f.l << f.erstes << f.letztes << " seed " << seed;
                EXPECT_EQ(a.vorgaenger, k.vorgaenger);
                EXPECT_TRUE(gleich(a.fig, k.fig));
                EXPECT_EQ(a.tabelle, k.tabelle);
                EXPECT_EQ(a.bewertet, k.bewertet);
                ++verglichen;
            }
            LISTEN_FREIGEBEN(true);
        }
    }
    EXPECT_GT(verglichen, 30);
}

TEST(Suche, ChoiceHasTheBestFiguresScoredFromScratch) {
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        console::ScopedVirtualConsole s(seed);
        Bedingungen b;
        b.l = 4;
        b.letztes = seed % 2 ? '6' : '7';
        b.wdh = seed % 3 != 0;
        bereite_vor(b);
        setze_loesung(zufallscode(4, b.wdh));
        bool ok = false;
        INIT_RATEN(ok);
        INITFELD();
        ASSERT_TRUE(ok);
        if (!spiele_bis(1)) continue;
        Reduktion aus;
        SuchErgebnis e;
        bewerte_rateliste(VERS, nullptr, false, aus, true, Verfahren::kompakt, e);
        ASSERT_NE(e.beste, nullptr);
        KLASSENTABELLE t;
        const SuchFiguren gewaehlt = figuren_von(code_von(e.beste), t);
        EXPECT_TRUE(gleich(gewaehlt, e.fig));
        EXPECT_EQ(t, e.tabelle);
        for (const std::string& g : rateliste()) {
            KLASSENTABELLE u;
            EXPECT_FALSE(besser_als(figuren_von(g, u), gewaehlt)) << g << " beats " << code_von(e.beste);
        }
    }
}

TEST(Suche, EachOfEquallyGoodGuessesIsChosenWithEqualChance) {
    console::ScopedVirtualConsole s(3);
    Bedingungen b;
    b.l = 2;
    b.letztes = '3';
    b.wdh = true;
    bereite_vor(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    // Nine codes, nothing known yet: find the guesses with the best figures.
    std::vector<std::string> beste;
    SuchFiguren bestfig;
    for (const std::string& g : rateliste()) {
        KLASSENTABELLE t;
        const SuchFiguren f = figuren_von(g, t);
        if (beste.empty() || besser_als(f, bestfig)) {
            beste = {g};
            bestfig = f;
        } else if (gleich(f, bestfig)) {
            beste.push_back(g);
        }
    }
    ASSERT_GE(beste.size(), 3u);
    std::map<std::string, int> zaehler;
    const int runden = 600 * static_cast<int>(beste.size());
    Reduktion aus;
    for (int i = 0; i < runden; ++i) {
        SuchErgebnis e;
        bewerte_rateliste(VERS, nullptr, false, aus, true, Verfahren::kompakt, e);
        ++zaehler[code_von(e.beste)];
    }
    EXPECT_EQ(zaehler.size(), beste.size());
    for (const std::string& g : beste) {
        EXPECT_GT(zaehler[g], 400) << g;
        EXPECT_LT(zaehler[g], 800) << g;
    }
}

TEST(Suche, OneCandidateLeftIsPlayedAsTheSolutionWithTone) {
    console::ScopedVirtualConsole s(5);
    Bedingungen b;
    b.ton = true;
    bereite_vor(b);
    setze_loesung("3456");
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    // Leave only the secret in the solution chain.
    PTR bleibt = nullptr;
    for (PTR p = ERLAUBT; p; p = p->link3)
        if (code_von(p) == "3456") bleibt = p;
    ASSERT_NE(bleibt, nullptr);
    ERLAUBT = bleibt;
    bleibt->link3 = nullptr;
    naechster_versuch();
    const int wx = WX;
    CODE zug;
    byte p = 0, z = 9;
    unsigned char taste = 0;
    s.vc.tones.clear();
    RATE_CODE(zug, p, z, taste);
    EXPECT_EQ(p, 4);
    EXPECT_EQ(console::screen().text(wx, WY, 4), "3456");
    EXPECT_EQ(console::screen().text(wx + 8, WY, 1), "4");
    EXPECT_EQ(console::screen().text(wx + 10, WY, 1), "0");
    ASSERT_EQ(s.vc.tones.size(), 1u);
    EXPECT_EQ(s.vc.tones[0].hz, 440u);
    EXPECT_EQ(s.vc.tones[0].end_ms - s.vc.tones[0].start_ms, 500);
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
}

namespace {

// A long search: L = 5 over 8 signs after the opening answer.
void lange_suche_vorbereiten(console::ScopedVirtualConsole& s, int zeitstufe) {
    Bedingungen b;
    b.l = 5;
    b.letztes = '8';
    b.zeitstufe = zeitstufe;
    bereite_vor(b);
    setze_loesung("12345");
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    naechster_versuch();
    CODE zug;
    byte p = 0, z = 0;
    unsigned char taste = 0;
    RATE_CODE(zug, p, z, taste);  // the opening guess
    ASSERT_EQ(taste, 0);
    ASSERT_GT(ZAHLGESAMTVERSUCHE, 1000);
    (void)s;
}

}  // namespace

TEST(Suche, TimeLimitCutsTheSearchShowsTheNoticeOnceAndRotatesTheChain) {
    console::ScopedVirtualConsole s(11);
    lange_suche_vorbereiten(s, 1);
    s.vc.tick_ms = 3000;  // every look at the keyboard costs three seconds
    const std::int32_t vorher = ZAHLGESAMTVERSUCHE;
    naechster_versuch();
    CODE zug;
    byte p = 0, z = 0;
    unsigned char taste = 0;
    RATE_CODE(zug, p, z, taste);
    EXPECT_EQ(taste, 0);
    EXPECT_LT(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE) << "the search was not cut";
    EXPECT_LT(ZAHLGESAMTVERSUCHE, vorher);
    EXPECT_GT(GERATENE_VERSUCHE, NUMMER_PLUS);
    EXPECT_EQ(console::screen().text(1, 11, 39), "| Zeit begrenzt auf 10 Sek./Versuch.  |");
    EXPECT_FALSE(ALLESTERNEDRUCKEN);
    // The guess chain is still whole, less what the narrowing took out.
    EXPECT_EQ(static_cast<std::int64_t>(ZAHLGESAMTVERSUCHE), zaehle_rateliste());
    PTR letzte = VERS;
    while (letzte->link2) letzte = letzte->link2;
    EXPECT_EQ(letzte, SCHLUSSLICHT);
    // A second cut does not write the notice again.
    console::write_at(1, 11, "                                       ");
    naechster_versuch();
    RATE_CODE(zug, p, z, taste);
    EXPECT_EQ(console::screen().text(1, 11, 5), "     ");
    LISTEN_FREIGEBEN(true);
}

TEST(Suche, F4DuringALongSearchDecidesSoonAndCountsTheBreak) {
    console::ScopedVirtualConsole s(12);
    lange_suche_vorbereiten(s, 0);
    s.vc.tick_ms = 3000;
    s.vc.ext(62);
    const std::int32_t vorher = ZAHLGESAMTVERSUCHE;
    naechster_versuch();
    CODE zug;
    byte p = 0, z = 0;
    unsigned char taste = 0;
    RATE_CODE(zug, p, z, taste);
    EXPECT_EQ(taste, 0);
    EXPECT_LT(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE);
    EXPECT_LT(ZAHLGESAMTVERSUCHE, vorher);
    EXPECT_EQ(UNTERBR, 1);
    EXPECT_EQ(console::screen().text(3, 15, 28), "Zahl der Unterbrechungen: 1.");
    LISTEN_FREIGEBEN(true);
}

TEST(Suche, DecideSoonKeysAreAllHonouredAndOthersIgnored) {
    for (unsigned char scan : {87, 97, 107, 64, 89, 99, 109, 59}) {
        console::ScopedVirtualConsole s(13);
        lange_suche_vorbereiten(s, 0);
        s.vc.tick_ms = 3000;
        s.vc.ext(scan);
        naechster_versuch();
        CODE zug;
        byte p = 0, z = 0;
        unsigned char taste = 0;
        RATE_CODE(zug, p, z, taste);
        EXPECT_EQ(UNTERBR, scan == 59 ? 0 : 1) << int(scan);
        LISTEN_FREIGEBEN(true);
    }
}

TEST(Suche, F4InAShortSearchHasNoEffect) {
    console::ScopedVirtualConsole s(14);
    lange_suche_vorbereiten(s, 0);
    s.vc.tick_ms = 1;  // the whole search takes well under five seconds
    s.vc.ext(62);
    const std::int32_t vorher = ZAHLGESAMTVERSUCHE;
    naechster_versuch();
    CODE zug;
    byte p = 0, z = 0;
    unsigned char taste = 0;
    RATE_CODE(zug, p, z, taste);
    EXPECT_EQ(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE);
    EXPECT_LE(ZAHL_DER_VERSUCHE, vorher);
    EXPECT_EQ(UNTERBR, 0);
    LISTEN_FREIGEBEN(true);
}

TEST(Suche, EscDuringTheSearchReleasesTheStore) {
    console::ScopedVirtualConsole s(15);
    lange_suche_vorbereiten(s, 0);
    s.vc.key(27);
    naechster_versuch();
    CODE zug;
    byte p = 0, z = 0;
    unsigned char taste = 0;
    RATE_CODE(zug, p, z, taste);
    EXPECT_EQ(taste, 27);
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_FALSE(ZEITEIN);
}

// The packed copy of a search goes with the store, whoever releases it, so
// that no copy outlives its match.
TEST(Suche, ReleasingTheStoreGivesBackThePackedCopy) {
    console::ScopedVirtualConsole s(5);
    Bedingungen b;
    b.l = 4;
    b.letztes = '6';
    bereite_vor(b);
    setze_loesung("1234");
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    Reduktion aus;
    SuchErgebnis e;
    bewerte_rateliste(VERS, nullptr, false, aus, true, Verfahren::kompakt, e);
    ASSERT_NE(packed_copy().data, nullptr);
    EXPECT_EQ(packed_copy().count, static_cast<std::size_t>(zaehle_loesungsliste()));
    LISTEN_FREIGEBEN(true);
    EXPECT_EQ(packed_copy().data, nullptr);
    EXPECT_EQ(packed_copy().mapped, 0u);
}
