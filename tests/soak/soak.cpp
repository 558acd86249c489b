// The soak run: many matches of the computer against itself, over random
// conditions within a small memory step, the secret fixed or not fixed.
// After every match the memory the computer players took must be back: the
// arena empty, the heap in use and the resident set at their values after the
// first match (within a little slack for tables that grow once), and no
// higher at the end than in the first half of the run;
// every answer agrees with the code cracked at the end; and a fixed code is
// cracked within one trial over the board's number unless the time limit may
// have cut a search short. The board's numbers are what the best play needs;
// the one-step look-ahead needs one more on a few secrets of some conditions
// (4 positions over 5 or 7 signs without repetition, 5 over 5 with), so a
// match one over is counted and listed, not failed.
//
// Before the matches, the key decoder takes one escape sequence with more
// than 2^32 parameter separators (a broken or hostile input stream): the
// sequence is swallowed whole and the key after it comes through.
//
//   zq_soak [matches] [seed]
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "console/key_decoder.h"
#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/codebreaker/codebreaker.h"
#include "engine/play/match.h"
#include "engine/play/scoring.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_file.h"
#include "engine/zqspiel.h"
#include "support/engine_reset.h"

using namespace zqspiel;

namespace {

// Resident pages of this process, from /proc/self/statm.
long resident_kib() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    long size = 0, resident = 0;
    const int got = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return got == 2 ? resident * (::sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// Heap bytes in use (small blocks and mapped ones).
long long heap_in_use() {
    const struct mallinfo2 mi = mallinfo2();
    return static_cast<long long>(mi.uordblks + mi.hblkhd);
}

// Records when the program last waited for a key: the match's end is the read
// of the answer to "new game?".
class SoakConsole : public console::VirtualConsole {
public:
    using VirtualConsole::VirtualConsole;
    std::int64_t last_read_ms = 0;
    unsigned char read_key() override {
        last_read_ms = now_ms();
        return VirtualConsole::read_key();
    }
};

struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    int in(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
};

constexpr char RING[] = "abcdefghijklmnopqrstuvwxyz0123456789";

struct Draw {
    int step, length, signs_count, time_step;
    char first_sign, last_sign;
    bool repeat, vacant, fixed;
};

std::string describe(const Draw& d) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "step %d, length %d, signs %c..%c (%d), repetition %d, vacant %d, %s, time step %d",
                  d.step, d.length, d.first_sign, d.last_sign, d.signs_count, d.repeat, d.vacant, d.fixed ? "fixed" : "not fixed",
                  d.time_step);
    return buf;
}

// Puts random conditions in force, as the conditions screen leaves them;
// false when the capacity check leaves the computer no codebreaker role.
bool draw_conditions(Rng& rng, Draw& d) {
    d.step = rng.in(1, 2);
    d.length = rng.in(2, 6);
    d.signs_count = rng.in(2, d.length <= 3 ? 16 : 9);
    const int first = rng.in(0, 35);
    d.first_sign = RING[first];
    d.last_sign = RING[(first + d.signs_count - 1) % 36];
    d.repeat = rng.in(0, 1) == 1;
    d.vacant = rng.in(0, 3) == 0;
    d.fixed = rng.in(0, 1) == 1;
    d.time_step = rng.in(0, 3) == 0 ? rng.in(1, 9) : 0;

    zqtest::apply_conditions({.l = d.length,
                               .first_sign = d.first_sign,
                               .last_sign = d.last_sign,
                               .repeat = d.repeat,
                               .vacant = d.vacant,
                               .fixed = d.fixed,
                               .time_step = d.time_step,
                               .step = d.step});
    d.repeat = X.WIEDERHOLUNG;
    d.fixed = X.LOESUNG_FEST;
    return X.PC_RAET;
}

// True when the decoder survives the endless parameter list.
bool endless_parameter_list() {
    console::KeyDecoder d;
    d.feed(27);
    d.feed('[');
    // the count of separators wraps a 32-bit counter to three parameters,
    // which would make the final byte a cursor key
    constexpr std::uint64_t SEPARATORS = (1ULL << 32) + 2;
    for (std::uint64_t i = 0; i < SEPARATORS; ++i) d.feed(';');
    d.feed('A');
    d.feed('x');
    if (d.pending() || d.queued() != 1) {
        std::printf("key decoder: %zu keys after the endless sequence, pending %d\n", d.queued(), d.pending());
        return false;
    }
    const unsigned char k = d.pop();
    if (k != 'x') std::printf("key decoder: key %u instead of 'x'\n", k);
    return k == 'x';
}

const VERSUCH& trial(int t) { return V30[NUMMER <= 30 ? t : (L + t - NUMMER + 29) % 30 + 1]; }

}  // namespace

int main(int argc, char** argv) {
    const long matches = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 500;
    Rng rng{argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 0x50a4c0de2026ULL};
    const std::uint64_t seed = rng.s;

    const auto dir = std::filesystem::temp_directory_path() / ("zq_soak_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);

    long failures = 0, played = 0, redrawn = 0, fixed = 0, time_may_cut = 0, one_over = 0, trials = 0;
    long rss_base = -1, rss_max = 0;
    long long heap_base = -1, heap_max = 0;
    long long heap_first_half = 0;
    long rss_first_half = 0;
    constexpr long long HEAP_SLACK = 64 * 1024;
    constexpr long RSS_SLACK_KIB = 1024;
    // what the heap in use moves by with the conditions of the last match
    constexpr long long TREND_SLACK = 16 * 1024;
    auto fail = [&](long i, const Draw& d, const char* what, long long a, long long b) {
        ++failures;
        std::printf("match %ld (%s): %s (%lld, %lld)\n", i, describe(d).c_str(), what, a, b);
    };

    const bool decoder_ok = endless_parameter_list();
    if (!decoder_ok) ++failures;

    for (long i = 1; i <= matches; ++i) {
        Draw d{};
        {
            SoakConsole vc(rng.next());
            console::use(&vc);
            vc.program_path = (dir / "zentrovalquist").string();
            bind_conditions_file();
            while (!draw_conditions(rng, d)) ++redrawn;
            SP_D = (i & 1) != 0;
            NORMALFARBE = 31;
            HERVORFARBE = 30;
            LEERZ_MERKER = X.LEERZEICHEN_ERLAUBT;
            NAMEN_UEBERSPRINGEN = true;
            ZEITEIN = false;
            RATENDRAN = false;
            NUMMER = 0;
            L = 0;
            A = 0;
            V30 = VFELD{};
            LOESUNG.blank();

            // the answer to "new game?" is held back far beyond any search
            vc.idle_limit_ms = 48LL * 3600 * 1000;
            vc.wait(8LL * 3600 * 1000).keys("n");
            const std::int64_t start_ms = vc.now_ms();
            bool again = true;
            try {
                again = play_match_loop();
            } catch (const console::ScriptEnd&) {
                fail(i, d, "the match waited for a key that never came", NUMMER, 0);
            }
            console::use(nullptr);
            if (again) fail(i, d, "the match did not take the 'n' as its end", vc.pending(), 0);

            const int n = d.length;
            trials += NUMMER;
            if (NUMMER < 1) {
                fail(i, d, "no trial was made", NUMMER, 0);
            } else {
                if (trial(NUMMER).P != n) fail(i, d, "the last trial did not crack the code", trial(NUMMER).P, n);
                const int first = NUMMER > 30 ? NUMMER - 29 : 1;
                for (int t = first; t <= NUMMER; ++t) {
                    byte p = 0, z = 0;
                    BEWERTE(trial(t).ZUG, LOESUNG, p, z);
                    if (p != trial(t).P || z != trial(t).Z) fail(i, d, "an answer disagrees with the code", t, p);
                    if (t < NUMMER && p == n) fail(i, d, "the code was hit before the last trial", t, NUMMER);
                }
            }
            if (d.fixed) {
                ++fixed;
                const byte most = WIEVIELE(static_cast<byte>(n), MAXFARBE, d.repeat, LEERZEICHEN);
                const bool may_cut = d.time_step > 0 && vc.last_read_ms - start_ms >= d.time_step * 10000LL;
                if (may_cut) ++time_may_cut;
                if (most > 0 && NUMMER == most + 1 && !may_cut) {
                    ++one_over;
                    std::printf("match %ld: one trial over the board's number (%d)\n", i, most);
                } else if (most > 0 && NUMMER > most && !may_cut) {
                    fail(i, d, "more trials than the board's number allows", NUMMER, most);
                    std::printf("  secret %.*s:", n, LOESUNG.s);
                    for (int t = NUMMER > 30 ? NUMMER - 29 : 1; t <= NUMMER; ++t)
                        std::printf(" %.*s %d|%d", n, trial(t).ZUG.s, trial(t).P, trial(t).Z);
                    std::printf("\n");
                }
            }
        }

        if (STORE_ARENA.used() != 0 || STORE_ARENA.chunks() != 0)
            fail(i, d, "the arena still holds memory", STORE_ARENA.used(), static_cast<long long>(STORE_ARENA.chunks()));
        ++played;
        const long rss = resident_kib();
        const long long heap = heap_in_use();
        if (i == 1) {
            // the first match makes what lives for the whole run
            rss_base = rss;
            heap_base = heap;
        } else {
            rss_max = std::max(rss_max, rss - rss_base);
            heap_max = std::max(heap_max, heap - heap_base);
            // A few tables grow once to the largest conditions seen; what a
            // match leaves behind beyond that would be a leak.
            if (heap > heap_base + HEAP_SLACK) fail(i, d, "heap in use grew (bytes now, at start)", heap, heap_base);
            if (rss > rss_base + RSS_SLACK_KIB) fail(i, d, "resident memory grew (KiB now, at start)", rss, rss_base);
        }
        // a small leak adds up: the second half may not end above the first
        if (i <= matches / 2) {
            heap_first_half = std::max(heap_first_half, heap);
            rss_first_half = std::max(rss_first_half, rss);
        } else if (i == matches) {
            if (heap > heap_first_half + TREND_SLACK) fail(i, d, "heap in use rose in the second half (bytes now, before)", heap, heap_first_half);
            if (rss > rss_first_half + 256) fail(i, d, "resident memory rose in the second half (KiB now, before)", rss, rss_first_half);
        }
        if (i % 50 == 0 || i == matches)
            std::printf("%ld matches, %ld trials, resident %ld KiB (start %ld), heap %lld bytes (start %lld)\n", i,
                        trials, rss, rss_base, heap, heap_base);
        std::fflush(stdout);
    }

    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::printf(
        "soak (seed %llu): %ld matches (%ld fixed, %ld of them possibly cut by the time limit, %ld one trial over "
        "the board's number), %ld redraws, "
        "largest growth after the first match: resident %ld KiB, heap %lld bytes; %ld failures\n",
        static_cast<unsigned long long>(seed), played, fixed, time_may_cut, one_over, redrawn, rss_max, heap_max, failures);
    return failures == 0 ? 0 : 1;
}
