// The candidate store: its chains after a build, the shuffled insertion, the
// release, and the ways a build can fail.
#include <fstream>
#include <map>
#include <string>

#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/codebreaker_support.h"
#include "engine/encoder/capacity.h"

using namespace cbtest;

namespace {

// Resident memory of the program itself. The sanitizer's shadow is left out:
// it tracks every byte the program touched and is never given back, and on
// a kernel without a shared zero page even reading fresh memory makes it
// resident.
std::int64_t rss_bytes() {
    constexpr std::uint64_t SHADOW_BEGIN = 0x7fff8000ULL, SHADOW_END = 0x10007fff8000ULL;
    std::ifstream f("/proc/self/smaps");
    std::string line;
    std::int64_t kb = 0;
    bool counted = true;
    while (std::getline(f, line)) {
        const auto bar = line.find('-');
        const auto colon = line.find(':');
        if (bar != std::string::npos && bar < colon && line.find(' ') > bar) {
            const std::uint64_t opening = std::stoull(line.substr(0, bar), nullptr, 16);
            counted = opening < SHADOW_BEGIN || opening >= SHADOW_END;
        } else if (counted && line.rfind("Rss:", 0) == 0) {
            kb += std::stoll(line.substr(4));
        }
    }
    return kb * 1024;
}

bool all_heads_empty() {
    for (std::uint32_t b = 0; b < SHUFFLE_SIZE; b += 1)
        if (MISCHFELD(b)) return false;
    return true;
}

}  // namespace

TEST(Store, GuessChainHoldsEveryCodeOnceInShuffledOrderAndSolutionChainIsComplete) {
    console::ScopedVirtualConsole s(21);
    Conditions b;  // L = 4 over 1..6 with repetition
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    const auto guesses = guess_list();
    EXPECT_EQ(guesses.size(), 1296u);
    EXPECT_EQ(std::set<std::string>(guesses.begin(), guesses.end()).size(), 1296u);
    EXPECT_EQ(ZAHLGESAMTVERSUCHE, 1296);
    EXPECT_EQ(count_all_nodes(), 1296);
    EXPECT_EQ(STORE_ARENA.used(), 1296 * static_cast<std::int64_t>(SIZERATEN));
    const auto solution = solution_list();
    EXPECT_EQ(std::set<std::string>(solution.begin(), solution.end()).size(), 1296u);
    // The last node of the guess chain is SCHLUSSLICHT.
    PTR p = VERS;
    while (p->link2) p = p->link2;
    EXPECT_EQ(p, SCHLUSSLICHT);
    // Sign counts in the nodes agree with their codes.
    for (PTR q = VERS; q; q = q->link2) {
        int counts[37] = {};
        for (int i = 1; i <= 4; ++i) ++counts[q->d(i)];
        for (int c = 1; c <= 6; ++c) ASSERT_EQ(q->d(FARBEPL + c), counts[c]);
    }
    // Shuffled: guess-chain neighbours are rarely neighbours in allocation.
    std::map<PTR, PTR> next;
    for (PTR q = VERSLOE; q; q = q->link1) next[q] = q->link1;
    int neighbours = 0;
    for (PTR q = VERS; q && q->link2; q = q->link2) neighbours += (next[q] == q->link2 || next[q->link2] == q);
    EXPECT_LT(neighbours, 30);
    EXPECT_TRUE(all_heads_empty());
    EXPECT_EQ(console::screen().text(44, 25, 10), "**********");
    LISTEN_FREIGEBEN(true);
}

TEST(Store, WithoutRepetitionOnlyTheSolutionChainLeavesRepeatedSigns) {
    console::ScopedVirtualConsole s(22);
    Conditions b;
    b.repeat = false;
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    EXPECT_EQ(guess_list().size(), 1296u);
    const auto solution = solution_list();
    EXPECT_EQ(solution.size(), 360u);
    for (const std::string& c : solution) EXPECT_EQ(std::set<char>(c.begin(), c.end()).size(), 4u) << c;
    LISTEN_FREIGEBEN(true);
}

TEST(Store, VacantSignCountsAsThirdValueButNeverInTheSecret) {
    console::ScopedVirtualConsole s(23);
    Conditions b;
    b.first_sign = 'a';
    b.last_sign = 'b';
    b.vacant = true;
    prepare_store(b);
    EXPECT_EQ(MEMRATE, 80);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    const auto guesses = guess_list();
    EXPECT_EQ(guesses.size(), 80u);
    EXPECT_EQ(std::count(guesses.begin(), guesses.end(), std::string("****")), 0);
    EXPECT_EQ(std::count(guesses.begin(), guesses.end(), std::string("a**b")), 1);
    const auto solution = solution_list();
    EXPECT_EQ(solution.size(), 16u);
    for (const std::string& c : solution) EXPECT_EQ(c.find('*'), std::string::npos) << c;
    LISTEN_FREIGEBEN(true);
}

TEST(Store, InsertionKeepsTheBucketLinksAndPlacesUniformly) {
    // Three nodes into one bucket, many times: each of the six orders about
    // equally often, and the links right after every insertion.
    console::ScopedVirtualConsole s(24);
    Conditions b;
    prepare_store(b);
    LISTE nodes[12];
    std::map<std::string, int> orders;
    for (int round = 0; round < 6000; ++round) {
        VERSLOE = nullptr;
        const int n = round < 3000 ? 3 : 12;
        for (int i = 0; i < n; ++i) {
            nodes[i] = LISTE{};
            nodes[i].d(1) = static_cast<byte>(i);
            ASSERT_TRUE(shuffle_in(&nodes[i], 77));
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
            PTR middle = head;
            for (int k = 1; k < m / 2 + 1; ++k) middle = middle->link2;
            ASSERT_EQ(last->link2, middle) << "after " << m << " nodes";
            ASSERT_EQ(MISCHZ(77), m - 1);
        }
        if (n == 3) {
            std::string o;
            for (PTR q = MISCHFELD(77); o.size() < 3; q = q->link2) o += static_cast<char>('0' + q->d(1));
            ++orders[o];
        }
        shuffle_table().bucket_head(77) = nullptr;
        shuffle_table().counter(77) = 0;  // as the join leaves an emptied bucket
    }
    VERSLOE = nullptr;
    shuffle_table().bits[77 >> 12] = 0;
    ASSERT_EQ(orders.size(), 6u);
    for (auto& [o, k] : orders) {
        EXPECT_GT(k, 400) << o;
        EXPECT_LT(k, 600) << o;
    }
    INITFELD();
}

TEST(Store, ReleasingLeavesNothingAndAnEmptyReleaseIsHarmless) {
    console::ScopedVirtualConsole s(25);
    Conditions b;
    prepare_store(b);
    LISTEN_FREIGEBEN(true);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_EQ(VERSLOE, nullptr);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    EXPECT_GT(STORE_ARENA.used(), 0);
    LISTEN_FREIGEBEN(true);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(STORE_ARENA.chunks(), 0u);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_EQ(ERLAUBT, nullptr);
}

TEST(Store, BudgetRunningOutMidBuildEndsLikeEsc) {
    console::ScopedVirtualConsole s(26);
    Conditions b;
    prepare_store(b);
    MEMGES = 500 * static_cast<std::int64_t>(SIZERATEN);  // room for 500 of 1296 nodes
    bool ok = true;
    A = 0;
    INIT_RATEN(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(A, 27);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_FALSE(RATEN_ZEITANZEIGE);
    EXPECT_EQ(GERATENE_VERSUCHE, 500);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_TRUE(all_heads_empty());
    // No message: the middle of the screen is as before.
    EXPECT_EQ(console::screen().row_text(12), std::string(80, ' '));
    MERKEMEMAVAIL = -5;
    LISTEN_FREIGEBEN(false);  // brings MEMGES back to the step's value
}

TEST(Store, MachineWithoutMemoryRefusesLikeAFailedAllocation) {
    console::ScopedVirtualConsole s(27);
    Conditions b;
    prepare_store(b);
    s.vc.memory.available = 64ULL << 20;  // below what the machine keeps free
    bool ok = true;
    INIT_RATEN(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(GERATENE_VERSUCHE, 0);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
}

TEST(Store, EscDuringTheBuildStopsAtOnce) {
    console::ScopedVirtualConsole s(28);
    Conditions b;
    b.l = 6;
    b.first_sign = '0';
    b.last_sign = '9';
    prepare_store(b);
    s.vc.wait(100).key(27);
    bool ok = true;
    INIT_RATEN(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(A, 27);
    EXPECT_LT(GERATENE_VERSUCHE, 10000);
    EXPECT_GT(GERATENE_VERSUCHE, 0);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_TRUE(all_heads_empty());
}

TEST(Store, OtherKeysAndExtendedKeysDoNotStopTheBuild) {
    console::ScopedVirtualConsole s(29);
    Conditions b;
    b.l = 5;
    b.last_sign = '9';
    prepare_store(b);
    s.vc.keys("x").ext(62).key(13);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    EXPECT_TRUE(ok);
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(count_guess_list(), 59049);
    LISTEN_FREIGEBEN(true);
}

TEST(Store, LargeBuildGivesItsMemoryBack) {
    console::ScopedVirtualConsole s(30);
    Conditions b;
    b.l = 6;
    b.first_sign = '1';
    b.last_sign = 'c';  // 12 signs: about three million codes
    prepare_store(b);
    const std::int64_t before = rss_bytes();
    bool ok = false;
    INIT_RATEN(ok);
    ASSERT_TRUE(ok);
    EXPECT_GT(rss_bytes() - before, 150LL << 20);
    LISTEN_FREIGEBEN(true);
    INITFELD();
    EXPECT_LT(rss_bytes() - before, 16LL << 20);
}

TEST(Store, SecondBuildWithoutClearingTheTableIsWholeToo) {
    // The join leaves heads and counters as a fresh table has them, so a
    // build right after another one (no clearing between) is sound.
    console::ScopedVirtualConsole s(31);
    Conditions b;
    b.last_sign = '9';
    prepare_store(b);
    for (int round = 0; round < 2; ++round) {
        bool ok = false;
        INIT_RATEN(ok);
        ASSERT_TRUE(ok);
        const auto guesses = guess_list();
        EXPECT_EQ(guesses.size(), 6561u);
        EXPECT_EQ(std::set<std::string>(guesses.begin(), guesses.end()).size(), 6561u);
        LISTEN_FREIGEBEN(true);
    }
    INITFELD();
}

namespace {

// The table as a fresh one: every head nil, every counter 0, every bit clear.
bool table_empty() {
    const std::uint64_t* w = shuffle_table().bits;
    for (std::uint32_t b = 0; b < SHUFFLE_SIZE; ++b)
        if (MISCHZ(b)) return false;
    for (std::uint32_t i = 0; i < SHUFFLE_SIZE / 4096; ++i)
        if (w[i]) return false;
    return all_heads_empty();
}

// 4 signs out of 32 (a..5) with repetition: 2^20 codes, a large build.
Conditions large() {
    Conditions b;
    b.first_sign = 'a';
    b.last_sign = '5';
    return b;
}

}  // namespace

TEST(Store, LargeBuildByRangesHoldsEveryCodeOnceAndLeavesTheTableFresh) {
    ASSERT_GE(std::int64_t{32} * 32 * 32 * 32, LARGE_STORE);
    // The second run has too little memory for the range list beside the
    // nodes (not for the nodes): the build inserts directly instead, which
    // draws its random numbers in another order, so the same seed gives
    // another guess chain.
    std::vector<std::uint32_t> starts[2];
    int run = 0;
    // A machine of 8 GiB keeps 512 MiB free; the nodes take 64 MiB, the
    // range list 16 MiB.
    for (const std::uint64_t store :
         {16ULL << 30, console::MACHINE_RESERVE + (64ULL << 20) + ShuffleTable::WHOLE_BYTES + (4ULL << 20)}) {
        SCOPED_TRACE(store);
        console::ScopedVirtualConsole s(32);
        s.vc.memory = {store, 8ULL << 30};
        prepare_store(large());
        bool ok = false;
        INIT_RATEN(ok);
        ASSERT_TRUE(ok);
        EXPECT_TRUE(table_empty());
        std::vector<bool> seen(std::size_t{1} << 20);
        std::int64_t counter = 0, neighbours = 0;
        PTR last = nullptr;
        for (PTR q = VERS; q; q = q->link2) {
            std::uint32_t k = 0;
            int counts[37] = {};
            for (int i = 1; i <= 4; ++i) {
                k = k * 32 + (q->d(i) - 1);
                ++counts[q->d(i)];
            }
            for (int c = 1; c <= 32; ++c) ASSERT_EQ(q->d(FARBEPL + c), counts[c]);
            ASSERT_FALSE(seen[k]) << code_of(q);
            seen[k] = true;
            if (starts[run].size() < 16) starts[run].push_back(k);
            ++counter;
            // Made one after the other: neighbours in allocation order.
            neighbours += q->link1 == q->link2 || (q->link2 && q->link2->link1 == q);
            last = q;
        }
        EXPECT_EQ(counter, std::int64_t{1} << 20);
        EXPECT_EQ(last, SCHLUSSLICHT);
        EXPECT_LT(neighbours, 100);
        EXPECT_EQ(count_solution_list(), std::int64_t{1} << 20);
        LISTEN_FREIGEBEN(true);
        INITFELD();
        ++run;
    }
    EXPECT_NE(starts[0], starts[1]);
}

TEST(Store, EscWhileALargeBuildFillsItsBucketsLeavesNothing) {
    console::ScopedVirtualConsole s(33);
    prepare_store(large());
    // A whole build first, to learn how long the fake clock takes for it;
    // the bucket filling comes last and tests the keyboard 128 times.
    const std::int64_t t0 = s.vc.now_ms();
    bool ok = false;
    INIT_RATEN(ok);
    ASSERT_TRUE(ok);
    const std::int64_t duration = s.vc.now_ms() - t0;
    LISTEN_FREIGEBEN(true);
    INITFELD();

    prepare_store(large());
    s.vc.wait(duration - 60 * s.vc.tick_ms).key(27);
    INIT_RATEN(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(A, 27);
    EXPECT_EQ(GERATENE_VERSUCHE, 1 << 20);  // every node was made
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_TRUE(table_empty());
}

// ---- what the process can really have ------------------------------------------

namespace {

constexpr std::uint64_t MiB = 1ULL << 20;

// 6 positions over 10 signs with repetition: a million codes of 64 bytes.
Conditions million() {
    Conditions b;
    b.l = 6;
    b.first_sign = '0';
    b.last_sign = '9';
    return b;
}

// The build was refused before its first node, as an exhausted heap at the
// first node would end it.
void refused_without_build(console::ScopedVirtualConsole& s, bool ok, std::int64_t t0) {
    EXPECT_FALSE(ok);
    EXPECT_EQ(A, 27);
    EXPECT_FALSE(ZEITEIN);
    EXPECT_EQ(GERATENE_VERSUCHE, 0);
    EXPECT_EQ(ZAHL_DER_STERNE, 0);
    EXPECT_EQ(STORE_ARENA.chunks(), 0u);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_FALSE(mischfeld_whole());
    EXPECT_TRUE(table_empty());
    // No building time: a key test or two on the fake clock.
    EXPECT_LT(s.vc.now_ms() - t0, 10 * s.vc.tick_ms);
}

}  // namespace

TEST(Store, StoreBeyondWhatTheMachineCanGiveEndsBeforeTheFirstNode) {
    // 61 MiB of nodes and the table's 288 MiB, on a machine with 300 MiB to
    // spare beside its reserve: every chunk of the nodes alone would fit.
    console::ScopedVirtualConsole s(34);
    prepare_store(million());
    ASSERT_EQ(MEMRATE, 1000000);
    s.vc.memory = {console::MACHINE_RESERVE + 300 * MiB, 8ULL << 30};
    const std::int64_t t0 = s.vc.now_ms();
    bool ok = true;
    INIT_RATEN(ok);
    refused_without_build(s, ok, t0);

    // With the table's share to spare as well, it is built.
    prepare_store(million());
    s.vc.memory.available += 64 * MiB;
    INIT_RATEN(ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(GERATENE_VERSUCHE, 1000000);
    LISTEN_FREIGEBEN(true);
    INITFELD();
}

TEST(Store, CgroupRoomAndAddressSpaceLimitsRefuseAStoreAtOnce) {
    for (int case_no = 0; case_no < 3; ++case_no) {
        SCOPED_TRACE(case_no);
        console::ScopedVirtualConsole s(35);
        prepare_store(million());
        if (case_no == 0) {
            s.vc.memory.cgroup_left = 200 * MiB;  // the machine has 16 GiB, the group less
        } else if (case_no == 1) {
            s.vc.memory.as_limit = 400 * MiB;  // ulimit -v
            s.vc.memory.as_used = 100 * MiB;
        } else {
            s.vc.memory.data_limit = 300 * MiB;
            s.vc.memory.data_used = 10 * MiB;
        }
        const std::int64_t t0 = s.vc.now_ms();
        bool ok = true;
        INIT_RATEN(ok);
        refused_without_build(s, ok, t0);
    }
}

TEST(Store, SmallStoreUnderATightAddressSpaceTakesTheTableInPiecesWithTheSameDraws) {
    // 3 positions over 3 signs: 27 codes. With ulimit -v 200000 the whole
    // table (288 MiB) cannot be mapped; a few pieces can, and the guess
    // chain comes out as with the whole table.
    Conditions b;
    b.l = 3;
    b.last_sign = '3';
    std::vector<std::string> chains[2];
    for (int tight = 0; tight < 2; ++tight) {
        SCOPED_TRACE(tight);
        console::ScopedVirtualConsole s(36);
        if (tight) s.vc.memory.as_limit = 200000ULL * 1024, s.vc.memory.as_used = 20 * MiB;
        prepare_store(b);
        bool ok = false;
        INIT_RATEN(ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(mischfeld_whole(), tight == 0);
        if (tight) {
            int pieces = 0;
            for (PTR* k : shuffle_table().heads) pieces += k != nullptr;
            EXPECT_GT(pieces, 0);
            EXPECT_LE(pieces, 27 + 32) << "a piece for each bucket drawn, no more";
            EXPECT_LT(STORE_ARENA.mapped(), 1 * MiB) << "chunks sized to the store";
        }
        chains[tight] = guess_list();
        EXPECT_EQ(chains[tight].size(), 27u);
        LISTEN_FREIGEBEN(true);
        INITFELD();
        EXPECT_TRUE(table_empty());
        for (PTR* k : shuffle_table().heads) ASSERT_EQ(k, nullptr) << "the pieces are given back";
    }
    EXPECT_EQ(chains[0], chains[1]);
}

// The build looks at the keyboard at its first code and then every 256 codes,
// and once after the build and once after the solution chain: the looks of
// two builds differ by exactly the 256-code steps between their sizes, and
// the star bar is full at the end.
TEST(Store, TheBuildLooksAtTheKeyboardEvery256CodesFromItsFirst) {
    auto looks = [](int l, std::int64_t& stars) {
        console::ScopedVirtualConsole s(30);
        Conditions b;
        b.l = l;
        prepare_store(b);
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
