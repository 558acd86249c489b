// The candidate store: its chains after a build, the shuffled insertion, the
// release, and the ways a build can fail.
#include <fstream>
#include <map>
#include <string>

#include "engine/codebreaker_support.h"

using namespace cbtest;

namespace {

// Resident memory of the program itself. The sanitizer's shadow is left out:
// it tracks every byte the program touched and is never given back, and on
// a kernel without a shared zero page even reading fresh memory makes it
// resident.
std::int64_t rss_bytes() {
    constexpr std::uint64_t SCHATTEN_ANFANG = 0x7fff8000ULL, SCHATTEN_ENDE = 0x10007fff8000ULL;
    std::ifstream f("/proc/self/smaps");
    std::string zeile;
    std::int64_t kb = 0;
    bool zaehlt = true;
    while (std::getline(f, zeile)) {
        const auto strich = zeile.find('-');
        const auto doppelpunkt = zeile.find(':');
        if (strich != std::string::npos && strich < doppelpunkt && zeile.find(' ') > strich) {
            const std::uint64_t anfang = std::stoull(zeile.substr(0, strich), nullptr, 16);
            zaehlt = anfang < SCHATTEN_ANFANG || anfang >= SCHATTEN_ENDE;
        } else if (zaehlt && zeile.rfind("Rss:", 0) == 0) {
            kb += std::stoll(zeile.substr(4));
        }
    }
    return kb * 1024;
}

bool alle_koepfe_leer() {
    for (std::uint32_t b = 0; b < MISCH_GROESSE; b += 1)
        if (MISCHFELD(b)) return false;
    return true;
}

}  // namespace

TEST(Speicher, GuessChainHoldsEveryCodeOnceInShuffledOrderAndSolutionChainIsComplete) {
    console::ScopedVirtualConsole s(21);
    Bedingungen b;  // L = 4 over 1..6 with repetition
    bereite_vor(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    const auto rate = rateliste();
    EXPECT_EQ(rate.size(), 1296u);
    EXPECT_EQ(std::set<std::string>(rate.begin(), rate.end()).size(), 1296u);
    EXPECT_EQ(ZAHLGESAMTVERSUCHE, 1296);
    EXPECT_EQ(zaehle_alle_knoten(), 1296);
    EXPECT_EQ(SPEICHER_ARENA.used(), 1296 * static_cast<std::int64_t>(SIZERATEN));
    const auto loes = loesungsliste();
    EXPECT_EQ(std::set<std::string>(loes.begin(), loes.end()).size(), 1296u);
    // The last node of the guess chain is SCHLUSSLICHT.
    PTR p = VERS;
    while (p->link2) p = p->link2;
    EXPECT_EQ(p, SCHLUSSLICHT);
    // Sign counts in the nodes agree with their codes.
    for (PTR q = VERS; q; q = q->link2) {
        int zaehl[37] = {};
        for (int i = 1; i <= 4; ++i) ++zaehl[q->d(i)];
        for (int c = 1; c <= 6; ++c) ASSERT_EQ(q->d(FARBEPL + c), zaehl[c]);
    }
    // Shuffled: guess-chain neighbours are rarely neighbours in allocation.
    std::map<PTR, PTR> naechster;
    for (PTR q = VERSLOE; q; q = q->link1) naechster[q] = q->link1;
    int nachbarn = 0;
    for (PTR q = VERS; q && q->link2; q = q->link2) nachbarn += (naechster[q] == q->link2 || naechster[q->link2] == q);
    EXPECT_LT(nachbarn, 30);
    EXPECT_TRUE(alle_koepfe_leer());
    EXPECT_EQ(console::screen().text(44, 25, 10), "**********");
    LISTEN_FREIGEBEN(true);
}

TEST(Speicher, WithoutRepetitionOnlyTheSolutionChainLeavesRepeatedSigns) {
    console::ScopedVirtualConsole s(22);
    Bedingungen b;
    b.wdh = false;
    bereite_vor(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    EXPECT_EQ(rateliste().size(), 1296u);
    const auto loes = loesungsliste();
    EXPECT_EQ(loes.size(), 360u);
    for (const std::string& c : loes) EXPECT_EQ(std::set<char>(c.begin(), c.end()).size(), 4u) << c;
    LISTEN_FREIGEBEN(true);
}

TEST(Speicher, VacantSignCountsAsThirdValueButNeverInTheSecret) {
    console::ScopedVirtualConsole s(23);
    Bedingungen b;
    b.erstes = 'a';
    b.letztes = 'b';
    b.leer = true;
    bereite_vor(b);
    EXPECT_EQ(MEMRATE, 80);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    const auto rate = rateliste();
    EXPECT_EQ(rate.size(), 80u);
    EXPECT_EQ(std::count(rate.begin(), rate.end(), std::string("****")), 0);
    EXPECT_EQ(std::count(rate.begin(), rate.end(), std::string("a**b")), 1);
    const auto loes = loesungsliste();
    EXPECT_EQ(loes.size(), 16u);
    for (const std::string& c : loes) EXPECT_EQ(c.find('*'), std::string::npos) << c;
    LISTEN_FREIGEBEN(true);
}

TEST(Speicher, InsertionKeepsTheBucketLinksAndPlacesUniformly) {
    // Three nodes into one bucket, many times: each of the six orders about
    // equally often, and the links right after every insertion.
    console::ScopedVirtualConsole s(24);
    Bedingungen b;
    bereite_vor(b);
    LISTE knoten[12];
    std::map<std::string, int> ordnungen;
    for (int runde = 0; runde < 6000; ++runde) {
        VERSLOE = nullptr;
        const int n = runde < 3000 ? 3 : 12;
        for (int i = 0; i < n; ++i) {
            knoten[i] = LISTE{};
            knoten[i].d(1) = static_cast<byte>(i);
            ASSERT_TRUE(mische_ein(&knoten[i], 77));
            // Walk the bucket: forward n nodes, backward consistent, marks right.
            PTR head = MISCHFELD(77);
            PTR last = head->link3;
            const int m = i + 1;
            PTR q = head;
            for (int k = 1; k < m; ++k) {
                ASSERT_EQ(q->link2->link3, q);
                q = q->link2;
            }
            ASSERT_EQ(q, last);
            PTR mitte = head;
            for (int k = 1; k < m / 2 + 1; ++k) mitte = mitte->link2;
            ASSERT_EQ(last->link2, mitte) << "after " << m << " nodes";
            ASSERT_EQ(MISCHZ(77), m - 1);
        }
        if (n == 3) {
            std::string o;
            for (PTR q = MISCHFELD(77); o.size() < 3; q = q->link2) o += static_cast<char>('0' + q->d(1));
            ++ordnungen[o];
        }
        mischtabelle().kopf(77) = nullptr;
        mischtabelle().zahl(77) = 0;  // as the join leaves an emptied bucket
    }
    VERSLOE = nullptr;
    mischtabelle().bits[77 >> 12] = 0;
    ASSERT_EQ(ordnungen.size(), 6u);
    for (auto& [o, k] : ordnungen) {
        EXPECT_GT(k, 400) << o;
        EXPECT_LT(k, 600) << o;
    }
    INITFELD();
}

TEST(Speicher, ReleasingLeavesNothingAndAnEmptyReleaseIsHarmless) {
    console::ScopedVirtualConsole s(25);
    Bedingungen b;
    bereite_vor(b);
    LISTEN_FREIGEBEN(true);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_EQ(VERSLOE, nullptr);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    EXPECT_GT(SPEICHER_ARENA.used(), 0);
    LISTEN_FREIGEBEN(true);
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
    EXPECT_EQ(SPEICHER_ARENA.chunks(), 0u);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_EQ(ERLAUBT, nullptr);
}

TEST(Speicher, BudgetRunningOutMidBuildEndsLikeEsc) {
    console::ScopedVirtualConsole s(26);
    Bedingungen b;
    bereite_vor(b);
    MEMGES = 500 * static_cast<std::int64_t>(SIZERATEN);  // room for 500 of 1296 nodes
    bool ok = true;
    A = 0;
    INIT_RATEN(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(A, 27);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_FALSE(RATEN_ZEITANZEIGE);
    EXPECT_EQ(GERATENE_VERSUCHE, 500);
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_TRUE(alle_koepfe_leer());
    // No message: the middle of the screen is as before.
    EXPECT_EQ(console::screen().row_text(12), std::string(80, ' '));
    MERKEMEMAVAIL = -5;
    LISTEN_FREIGEBEN(false);  // brings MEMGES back to the step's value
}

TEST(Speicher, MachineWithoutMemoryRefusesLikeAFailedAllocation) {
    console::ScopedVirtualConsole s(27);
    Bedingungen b;
    bereite_vor(b);
    s.vc.memory.available = 64ULL << 20;  // below what the machine keeps free
    bool ok = true;
    INIT_RATEN(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(GERATENE_VERSUCHE, 0);
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
}

TEST(Speicher, EscDuringTheBuildStopsAtOnce) {
    console::ScopedVirtualConsole s(28);
    Bedingungen b;
    b.l = 6;
    b.erstes = '0';
    b.letztes = '9';
    bereite_vor(b);
    s.vc.wait(100).key(27);
    bool ok = true;
    INIT_RATEN(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(A, 27);
    EXPECT_LT(GERATENE_VERSUCHE, 10000);
    EXPECT_GT(GERATENE_VERSUCHE, 0);
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_TRUE(alle_koepfe_leer());
}

TEST(Speicher, OtherKeysAndExtendedKeysDoNotStopTheBuild) {
    console::ScopedVirtualConsole s(29);
    Bedingungen b;
    b.l = 5;
    b.letztes = '9';
    bereite_vor(b);
    s.vc.keys("x").ext(62).key(13);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    EXPECT_TRUE(ok);
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(zaehle_rateliste(), 59049);
    LISTEN_FREIGEBEN(true);
}

TEST(Speicher, LargeBuildGivesItsMemoryBack) {
    console::ScopedVirtualConsole s(30);
    Bedingungen b;
    b.l = 6;
    b.erstes = '1';
    b.letztes = 'c';  // 12 signs: about three million codes
    bereite_vor(b);
    const std::int64_t vorher = rss_bytes();
    bool ok = false;
    INIT_RATEN(ok);
    ASSERT_TRUE(ok);
    EXPECT_GT(rss_bytes() - vorher, 150LL << 20);
    LISTEN_FREIGEBEN(true);
    INITFELD();
    EXPECT_LT(rss_bytes() - vorher, 16LL << 20);
}

TEST(Speicher, SecondBuildWithoutClearingTheTableIsWholeToo) {
    // The join leaves heads and counters as a fresh table has them, so a
    // build right after another one (no clearing between) is sound.
    console::ScopedVirtualConsole s(31);
    Bedingungen b;
    b.letztes = '9';
    bereite_vor(b);
    for (int runde = 0; runde < 2; ++runde) {
        bool ok = false;
        INIT_RATEN(ok);
        ASSERT_TRUE(ok);
        const auto rate = rateliste();
        EXPECT_EQ(rate.size(), 6561u);
        EXPECT_EQ(std::set<std::string>(rate.begin(), rate.end()).size(), 6561u);
        LISTEN_FREIGEBEN(true);
    }
    INITFELD();
}

namespace {

// The table as a fresh one: every head nil, every counter 0, every bit clear.
bool tabelle_leer() {
    const std::uint64_t* w = mischtabelle().bits;
    for (std::uint32_t b = 0; b < MISCH_GROESSE; ++b)
        if (MISCHZ(b)) return false;
    for (std::uint32_t i = 0; i < MISCH_GROESSE / 4096; ++i)
        if (w[i]) return false;
    return alle_koepfe_leer();
}

// 4 signs out of 32 (a..5) with repetition: 2^20 codes, a large build.
Bedingungen gross() {
    Bedingungen b;
    b.erstes = 'a';
    b.letztes = '5';
    return b;
}

}  // namespace

TEST(Speicher, LargeBuildByRangesHoldsEveryCodeOnceAndLeavesTheTableFresh) {
    ASSERT_GE(std::int64_t{32} * 32 * 32 * 32, GROSSER_SPEICHER);
    // The second run has too little memory for the range list beside the
    // nodes (not for the nodes): the build inserts directly instead, which
    // draws its random numbers in another order, so the same seed gives
    // another guess chain.
    std::vector<std::uint32_t> anfaenge[2];
    int lauf = 0;
    // A machine of 8 GiB keeps 512 MiB free; the nodes take 64 MiB, the
    // range list 16 MiB.
    for (const std::uint64_t speicher :
         {16ULL << 30, console::MACHINE_RESERVE + (64ULL << 20) + Mischtabelle::GANZ_BYTES + (4ULL << 20)}) {
        SCOPED_TRACE(speicher);
        console::ScopedVirtualConsole s(32);
        s.vc.memory = {speicher, 8ULL << 30};
        bereite_vor(gross());
        bool ok = false;
        INIT_RATEN(ok);
        ASSERT_TRUE(ok);
        EXPECT_TRUE(tabelle_leer());
        std::vector<bool> gesehen(std::size_t{1} << 20);
        std::int64_t zahl = 0, nachbarn = 0;
        PTR letzter = nullptr;
        for (PTR q = VERS; q; q = q->link2) {
            std::uint32_t k = 0;
            int zaehl[37] = {};
            for (int i = 1; i <= 4; ++i) {
                k = k * 32 + (q->d(i) - 1);
                ++zaehl[q->d(i)];
            }
            for (int c = 1; c <= 32; ++c) ASSERT_EQ(q->d(FARBEPL + c), zaehl[c]);
            ASSERT_FALSE(gesehen[k]) << code_von(q);
            gesehen[k] = true;
            if (anfaenge[lauf].size() < 16) anfaenge[lauf].push_back(k);
            ++zahl;
            // Made one after the other: neighbours in allocation order.
            nachbarn += q->link1 == q->link2 || (q->link2 && q->link2->link1 == q);
            letzter = q;
        }
        EXPECT_EQ(zahl, std::int64_t{1} << 20);
        EXPECT_EQ(letzter, SCHLUSSLICHT);
        EXPECT_LT(nachbarn, 100);
        EXPECT_EQ(zaehle_loesungsliste(), std::int64_t{1} << 20);
        LISTEN_FREIGEBEN(true);
        INITFELD();
        ++lauf;
    }
    EXPECT_NE(anfaenge[0], anfaenge[1]);
}

TEST(Speicher, EscWhileALargeBuildFillsItsBucketsLeavesNothing) {
    console::ScopedVirtualConsole s(33);
    bereite_vor(gross());
    // A whole build first, to learn how long the fake clock takes for it;
    // the bucket filling comes last and tests the keyboard 128 times.
    const std::int64_t t0 = s.vc.now_ms();
    bool ok = false;
    INIT_RATEN(ok);
    ASSERT_TRUE(ok);
    const std::int64_t dauer = s.vc.now_ms() - t0;
    LISTEN_FREIGEBEN(true);
    INITFELD();

    bereite_vor(gross());
    s.vc.wait(dauer - 60 * s.vc.tick_ms).key(27);
    INIT_RATEN(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(A, 27);
    EXPECT_EQ(GERATENE_VERSUCHE, 1 << 20);  // every node was made
    EXPECT_EQ(SPEICHER_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_TRUE(tabelle_leer());
}

// ---- what the process can really have ------------------------------------------

namespace {

constexpr std::uint64_t MiB = 1ULL << 20;

// 6 positions over 10 signs with repetition: a million codes of 64 bytes.
Bedingungen million() {
    Bedingungen b;
    b.l = 6;
    b.erstes = '0';
    b.letztes = '9';
    return b;
}

// The build was refused before its first node, as an exhausted heap at the
// first node would end it.
void abgelehnt_ohne_aufbau(console::ScopedVirtualConsole& s, bool ok, std::int64_t t0) {
    EXPECT_FALSE(ok);
    EXPECT_EQ(A, 27);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_EQ(GERATENE_VERSUCHE, 0);
    EXPECT_EQ(ZAHL_DER_STERNE, 0);
    EXPECT_EQ(SPEICHER_ARENA.chunks(), 0u);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_FALSE(mischfeld_ganz());
    EXPECT_TRUE(tabelle_leer());
    // No building time: a key test or two on the fake clock.
    EXPECT_LT(s.vc.now_ms() - t0, 10 * s.vc.tick_ms);
}

}  // namespace

TEST(Speicher, StoreBeyondWhatTheMachineCanGiveEndsBeforeTheFirstNode) {
    // 61 MiB of nodes and the table's 288 MiB, on a machine with 300 MiB to
    // spare beside its reserve: every chunk of the nodes alone would fit.
    console::ScopedVirtualConsole s(34);
    bereite_vor(million());
    ASSERT_EQ(MEMRATE, 1000000);
    s.vc.memory = {console::MACHINE_RESERVE + 300 * MiB, 8ULL << 30};
    const std::int64_t t0 = s.vc.now_ms();
    bool ok = true;
    INIT_RATEN(ok);
    abgelehnt_ohne_aufbau(s, ok, t0);

    // With the table's share to spare as well, it is built.
    bereite_vor(million());
    s.vc.memory.available += 64 * MiB;
    INIT_RATEN(ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(GERATENE_VERSUCHE, 1000000);
    LISTEN_FREIGEBEN(true);
    INITFELD();
}

TEST(Speicher, CgroupRoomAndAddressSpaceLimitsRefuseAStoreAtOnce) {
    for (int fall = 0; fall < 3; ++fall) {
        SCOPED_TRACE(fall);
        console::ScopedVirtualConsole s(35);
        bereite_vor(million());
        if (fall == 0) {
            s.vc.memory.cgroup_left = 200 * MiB;  // the machine has 16 GiB, the group less
        } else if (fall == 1) {
            s.vc.memory.as_limit = 400 * MiB;  // ulimit -v
            s.vc.memory.as_used = 100 * MiB;
        } else {
            s.vc.memory.data_limit = 300 * MiB;
            s.vc.memory.data_used = 10 * MiB;
        }
        const std::int64_t t0 = s.vc.now_ms();
        bool ok = true;
        INIT_RATEN(ok);
        abgelehnt_ohne_aufbau(s, ok, t0);
    }
}

TEST(Speicher, SmallStoreUnderATightAddressSpaceTakesTheTableInPiecesWithTheSameDraws) {
    // 3 positions over 3 signs: 27 codes. With ulimit -v 200000 the whole
    // table (288 MiB) cannot be mapped; a few pieces can, and the guess
    // chain comes out as with the whole table.
    Bedingungen b;
    b.l = 3;
    b.letztes = '3';
    std::vector<std::string> ketten[2];
    for (int eng = 0; eng < 2; ++eng) {
        SCOPED_TRACE(eng);
        console::ScopedVirtualConsole s(36);
        if (eng) s.vc.memory.as_limit = 200000ULL * 1024, s.vc.memory.as_used = 20 * MiB;
        bereite_vor(b);
        bool ok = false;
        INIT_RATEN(ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(mischfeld_ganz(), eng == 0);
        if (eng) {
            int stuecke = 0;
            for (PTR* k : mischtabelle().koepfe) stuecke += k != nullptr;
            EXPECT_GT(stuecke, 0);
            EXPECT_LE(stuecke, 27 + 32) << "a piece for each bucket drawn, no more";
            EXPECT_LT(SPEICHER_ARENA.mapped(), 1 * MiB) << "chunks sized to the store";
        }
        ketten[eng] = rateliste();
        EXPECT_EQ(ketten[eng].size(), 27u);
        LISTEN_FREIGEBEN(true);
        INITFELD();
        EXPECT_TRUE(tabelle_leer());
        for (PTR* k : mischtabelle().koepfe) ASSERT_EQ(k, nullptr) << "the pieces are given back";
    }
    EXPECT_EQ(ketten[0], ketten[1]);
}

// The build looks at the keyboard at its first code and then every 256 codes,
// and once after the build and once after the solution chain: the looks of
// two builds differ by exactly the 256-code steps between their sizes, and
// the star bar is full at the end.
TEST(Speicher, TheBuildLooksAtTheKeyboardEvery256CodesFromItsFirst) {
    auto looks = [](int l, std::int64_t& stars) {
        console::ScopedVirtualConsole s(30);
        Bedingungen b;
        b.l = l;
        bereite_vor(b);
        bool ok = false;
        INIT_RATEN(ok);
        INITFELD();
        EXPECT_TRUE(ok);
        stars = ZAHL_DER_STERNE;
        LISTEN_FREIGEBEN(true);
        return s.vc.key_tests;
    };
    std::int64_t stars4 = 0, stars5 = 0;
    const int l4 = looks(4, stars4);  // 1296 codes: looks at 1, 257, ..., 1281
    const int l5 = looks(5, stars5);  // 7776 codes: looks at 1, 257, ..., 7681
    EXPECT_EQ(l4, 6 + 2);
    EXPECT_EQ(l5, 31 + 2);
    EXPECT_EQ(stars4, 10);
    EXPECT_EQ(stars5, 10);
}
