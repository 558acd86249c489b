#include "engine/encoder/variable_code.h"

#include <algorithm>
#include <cstring>

#include "console/console.h"
#include "console/keys.h"
#include "engine/arena.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/release.h"
#include "engine/long_work.h"
#include "engine/play/answer_check.h"
#include "engine/play/board.h"

namespace zqspiel {

namespace {

// How many codes the build makes between two looks at the keyboard and the
// clock, and how many nodes a pass over the list visits between two clock
// redraws (see Pacer).
constexpr std::uint32_t BUILD_STEP = 1024;
constexpr std::uint32_t PASS_STEP = 1u << 20;

// Whether the codes in the list have pairwise different signs. Then a code
// holds each sign at most once, and its common count with a guess is simply
// the number of its positions whose sign the guess holds.
bool list_without_repetition = false;

static_assert(sizeof(LISTE_O_F) == 32, "a node of the list of codes is 32 bytes");

inline std::uint64_t load8(const byte* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

constexpr std::uint64_t LOW7 = 0x7F7F7F7F7F7F7F7FULL;
constexpr std::uint64_t BYTES1 = 0x0101010101010101ULL;

// Lanes of 5 bits, one per group of the guess (at most 9 groups, 45 bits):
// the low 4 bits hold a count 0..9, bit 4 is a guard for the subtraction.
constexpr std::uint64_t GUARDS = 0x0000108421084210ULL;  // bit 4 of lanes 0..8
constexpr std::uint64_t LANES1 = 0x0000010842108421ULL;  // bit 0 of lanes 0..8

// Everything one pass needs to know about the guess, prepared once.
struct Guess {
    int n = 0;
    std::uint64_t lo = 0;         // sign numbers of positions 1..8, one per byte
    std::uint64_t pos_mask = 0;   // 0x80 in the bytes of the positions that count
    byte ninth = 0;               // sign number of position 9 (0 when n < 9)
    byte member[64] = {};         // 1 for a sign of a group
    std::uint64_t lane_inc[64] = {};  // 1 in the lane of the sign's group
    std::uint64_t counts = 0;     // the guess's count of each group, by lane
};

void prepare_guess(const byte* g, int n, Guess& q) {
    q = Guess{};
    q.n = n;
    byte in_guess[37] = {};
    for (int i = 1; i <= n; ++i) {
        if (i <= 8) {
            q.lo |= static_cast<std::uint64_t>(g[i]) << (8 * (i - 1));
            q.pos_mask |= 0x80ULL << (8 * (i - 1));
        } else {
            q.ninth = g[i];
        }
        if (g[i] != 0 && g[i] <= 36) ++in_guess[g[i]];
    }
    // Groups in increasing sign number: only signs still possible count.
    int group = 0;
    for (int s = 1; s <= 36; ++s) {
        if (in_guess[s] == 0 || !ERL_FARBE[s]) continue;
        q.member[s] = 1;
        q.lane_inc[s] = 1ULL << (5 * group);
        q.counts |= static_cast<std::uint64_t>(in_guess[s]) << (5 * group);
        ++group;
    }
}

// Common signs of the code c[0..n-1] with the guess: per group, the smaller
// of the two counts, summed; without_repeat for a list without repetition. Always
// inlined, so that the pass over the list, which gives n and without_repeat as
// constants, runs without loops per node.
[[gnu::always_inline]] inline unsigned common_of(const Guess& q, const byte* c, int n, bool without_repeat) {
    if (without_repeat) {
        unsigned common = 0;
        for (int i = 0; i < n; ++i) common += q.member[c[i]];
        return common;
    }
    std::uint64_t w = 0;
    for (int i = 0; i < n; ++i) w += q.lane_inc[c[i]];
    // Per lane: the excess of the code's count over the guess's, 0 when none.
    const std::uint64_t d = (w | GUARDS) - q.counts;
    const std::uint64_t keep = ((d & GUARDS) >> 4) * 15;
    const std::uint64_t excess = d & keep;
    return static_cast<unsigned>((((w - excess) * LANES1) >> 40) & 31);
}

// Matching positions of a code with the guess.
template <int N>
inline unsigned hits_n(const Guess& q, const byte* c) {
    const std::uint64_t x = load8(c) ^ q.lo;
    const std::uint64_t zero = ~(((x & LOW7) + LOW7) | x | LOW7) & q.pos_mask;
    unsigned p = static_cast<unsigned>(((zero >> 7) * BYTES1) >> 56);
    if constexpr (N == 9) p += c[8] == q.ninth && q.ninth != 0;
    return p;
}

// The classes of the last pass: while classifying, every node is appended to
// the chain of its class, and the chains are joined in the order of their
// flat index at the end. The list is then whole again (grouped by class, each
// class in its former order), and the filter only has to cut out the chain
// of the answer instead of walking the list a second time. What the filter
// keeps is one class in its former order, whatever order the classes were
// joined in.
struct ClassChains {
    bool valid = false;
    PTR_O_F list = nullptr;  // ERL after the pass; the chains hold while it is unchanged
    PTR_O_F chain_head[FLAT_CLASSES];
    PTR_O_F end[FLAT_CLASSES];
    std::int64_t count[FLAT_CLASSES];
};
ClassChains chains;

// The pass over the list. With ONLY_P every code shares the same number of
// signs with the guess (KENNEALLEFARBEN): only P is computed, and as the
// classes differ in P alone, the class byte is P rather than a flat index.
template <bool ONLY_P, int N, bool NO_REPEAT>
void classify_guess(const Guess& q, int idx) {
    // Dummy heads, so that appending needs no test for an empty chain.
    LISTE_O_F anchor[FLAT_CLASSES];
    PTR_O_F end[FLAT_CLASSES];
    for (int k = 0; k < FLAT_CLASSES; ++k) {
        anchor[k].link2 = nullptr;
        end[k] = &anchor[k];
    }
    // Two sets of counters, so that runs of one class do not wait on one
    // memory cell.
    std::uint32_t cnt[2][FLAT_CLASSES] = {};
    std::uint32_t flip = 0;
    Pacer tick(PASS_STEP);
    PTR_O_F c = ERL;
    while (c != nullptr) {
        const PTR_O_F next = c->link2;
        const unsigned p = hits_n<N>(q, c->data);
        unsigned cls;
        if constexpr (ONLY_P) {
            cls = p;
        } else {
            const int common = static_cast<int>(common_of(q, c->data, N, NO_REPEAT));
            cls = static_cast<unsigned>(flat_class(common, static_cast<int>(p)));
        }
        c->data[idx] = static_cast<byte>(cls);
        end[cls]->link2 = c;
        end[cls] = c;
        ++cnt[flip][cls];
        flip ^= 1;
        if (tick.due()) SCHREIBE_ZEIT();
        c = next;
    }
    // Join the chains in the order of their index.
    PTR_O_F chain_head = nullptr;
    PTR_O_F* hook = &chain_head;
    for (int k = 0; k < FLAT_CLASSES; ++k) {
        chains.count[k] = static_cast<std::int64_t>(cnt[0][k]) + cnt[1][k];
        chains.chain_head[k] = anchor[k].link2;
        chains.end[k] = chains.count[k] > 0 ? end[k] : nullptr;
        if (chains.count[k] > 0) {
            *hook = anchor[k].link2;
            hook = &end[k]->link2;
        }
    }
    *hook = nullptr;
    ERL = chain_head;
    chains.list = chain_head;
    chains.valid = true;
}

void show_stars(std::int64_t made, std::int64_t total) {
    if (total > 0) draw_star_bar(stars_due(made, total));
}

void write_closing_line() {
    const int x = console::where_x(), y = console::where_y();
    if (SP_D) {
        // The line is built from pieces; the umlaut is always spelled oe here.
        console::goto_xy(1, 25);
        for (const char* piece : {"L", "oe", "sung:                ", "Ben", "oe", "tigte Versuche:            ",
                                  "Neues Spiel? Ja.       "})
            console::write(piece);
    } else {
        console::write_at(1, 25,
                          "Answer:                       Trials made:                 New Game? Yes.      ");
    }
    console::goto_xy(x, y);
}

// The end of the build, whichever way it went.
void end_build() {
    RATEN_ZEITANZEIGE = false;
    NOTINVERS = true;
    write_closing_line();
}

void break_off(bool& ok) {
    abandon_match(A);
    ok = false;
}

std::int64_t code_count(int n, int s, bool repeat) {
    std::int64_t total = 1;
    for (int i = 0; i < n; ++i) {
        total *= repeat ? s : s - i;
        if (total <= 0) return 0;
    }
    return total;
}

void set_solution(const byte* c, int n) {
    LOESUNG.blank();
    for (int i = 1; i <= n; ++i) LOESUNG[i] = static_cast<char>(FARBARRAY[c[i - 1]]);
}

void numbers_of_guess(const CODE& guess, int n, byte* g) {
    g[0] = 0;
    for (int i = 1; i <= n; ++i) {
        const char ch = guess[i];
        byte nr = 0;
        if (ch >= '0' && ch <= 'z') {
            nr = NRARRAY[static_cast<std::size_t>(ch - '0')];
            if (nr > MAXFARBE) nr = 0;  // not a sign of this match: never matches
        }
        g[i] = nr;
    }
}

// The codes of the list in the order they are made: position 1 turns
// fastest; without repetition only codes of pairwise different signs, the
// first holding n at position 1 and 1 at position n.
struct CodeCounter {
    int n, s;
    bool repeat;
    byte c[10] = {};             // c[0..n-1] are positions 1..n, c[n] the class byte
    std::uint64_t used = 0;      // signs in use, without repetition
    std::uint64_t all;           // bits 1..s

    CodeCounter(int n_, int s_, bool repeat_) : n(n_), s(s_), repeat(repeat_), all(((1ULL << s_) - 1) << 1) {
        if (repeat) {
            for (int i = 0; i < n; ++i) c[i] = 1;
        } else {
            for (int i = 0; i < n; ++i) {
                c[i] = static_cast<byte>(n - i);
                used |= 1ULL << c[i];
            }
        }
    }

    // Steps to the next code; false after the last.
    bool next() {
        int i = 0;
        if (repeat) {
            while (i < n && c[i] == s) c[i++] = 1;
            if (i == n) return false;
            ++c[i];
            return true;
        }
        for (; i < n; ++i) {
            used &= ~(1ULL << c[i]);
            const std::uint64_t free_above = all & ~used & ~((2ULL << c[i]) - 1);
            if (free_above != 0) {
                c[i] = static_cast<byte>(__builtin_ctzll(free_above));
                used |= 1ULL << c[i];
                // The faster positions start again from the smallest free signs.
                for (int j = i - 1; j >= 0; --j) {
                    c[j] = static_cast<byte>(__builtin_ctzll(all & ~used));
                    used |= 1ULL << c[j];
                }
                return true;
            }
        }
        return false;
    }
};

// A fresh list: every sign possible, no list, no stars, no classes.
void start_list(int n, int s, bool repeat) {
    ENDFARBEPL1 = static_cast<byte>(n + 1);
    ERL_FARBE.fill(false);
    for (int c = 1; c <= s && c <= 36; ++c) ERL_FARBE[c] = true;
    ERL = nullptr;
    ERLLOE = nullptr;
    ZAHL_DER_STERNE = 0;
    list_without_repetition = !repeat;
    chains.valid = false;
}

// The progress figures of the search line, for a build of total codes.
void start_progress(std::int64_t total) {
    const auto total32 = static_cast<std::int32_t>(std::min<std::int64_t>(total, INT32_MAX));
    RATEN_ZEITANZEIGE = true;
    NOTINVERS = false;
    ZEITLIMIT_GR_0 = false;
    ZEIT_GERATEN_KL100 = true;
    NEUER_KANDIDAT = false;
    GERATENE_VERSUCHE = 0;
    ZAHL_DER_VERSUCHE = total32;
    ZAHLGESAMTVERSUCHE = total32;
    NUMMER_PLUS = total32;
    SETZE_RATE_ZEIT_AKT = true;
}

// The whole list is weighed against what the process can really have
// before the first node: a list that cannot fit gets no budget, so its
// first node fails as on an exhausted heap, at once instead of after
// minutes of building or at the hands of the system.
void set_list_budget(std::int64_t total) {
    const std::uint64_t list = static_cast<std::uint64_t>(total) * sizeof(LISTE_O_F);
    STORE_ARENA.plan(list);
    STORE_ARENA.set_budget(memory_suffices(list, Arena::address_space_for(list)) ? MEMGES : 0);
}

// A node for every code, each in front of the last, with a look at the
// keyboard, the clock and the stars every BUILD_STEP codes. False when the
// user broke off or memory ran out; head and made tell how far it got.
bool make_list(CodeCounter& code, std::int64_t total, PTR_O_F& head, std::int64_t& made) {
    Pacer look(BUILD_STEP, true);  // look at the keyboard and the clock on the first code
    for (;;) {
        if (look.due()) {
            SCHREIBE_ZEIT();
            if (keyboard_breaks_off()) return false;
            show_stars(made, total);
        }
        auto* node = static_cast<PTR_O_F>(STORE_ARENA.allocate(sizeof(LISTE_O_F)));
        if (node == nullptr) return false;
        node->link1 = head;
        node->link2 = head;
        std::memcpy(node->data, code.c, sizeof node->data);
        head = node;
        ++made;
        if (!code.next()) return true;
    }
}

}  // namespace

void INIT_NICHT_FEST(bool& ok) {
    const int n = X.CODELAENGE;
    const int s = MAXFARBE;
    const bool repeat = X.WIEDERHOLUNG;
    ok = true;

    // 1. A fresh list and what is known about the signs.
    start_list(n, s, repeat);

    // 2. The count of the codes this build makes. It is taken from the
    // conditions of the call rather than from MEMLOES, which the capacity
    // check made with the repetition in force (the match loop may switch
    // repetition off for this call only).
    const std::int64_t total = (n >= 1 && n <= 9 && s >= 1 && s <= 36) ? code_count(n, s, repeat) : 0;

    // 3. The search line runs for the build; 4. the memory is weighed.
    start_progress(total);
    set_list_budget(total);
    if (total == 0) {
        // Conditions that allow no code at all: nothing to play against.
        break_off(ok);
        end_build();
        return;
    }

    // 5. The list is made; a break or a lack of memory ends the match.
    CodeCounter code(n, s, repeat);
    PTR_O_F head = nullptr;
    std::int64_t made = 0;
    const bool whole = make_list(code, total, head, made);
    ERL = head;
    ERLLOE = head;
    if (!whole) {
        break_off(ok);
        end_build();
        return;
    }

    // 6. The closing figures and the full bar.
    GERATENE_VERSUCHE = static_cast<std::int32_t>(std::min<std::int64_t>(made, INT32_MAX));
    SETZEZEITLETZTERVERSUCH = true;
    show_stars(made, total);
    end_build();
}

namespace {

template <bool ONLY_P, bool NO_REPEAT>
void classify_length(const Guess& q, int idx) {
    switch (q.n) {
        case 1: classify_guess<ONLY_P, 1, NO_REPEAT>(q, idx); break;
        case 2: classify_guess<ONLY_P, 2, NO_REPEAT>(q, idx); break;
        case 3: classify_guess<ONLY_P, 3, NO_REPEAT>(q, idx); break;
        case 4: classify_guess<ONLY_P, 4, NO_REPEAT>(q, idx); break;
        case 5: classify_guess<ONLY_P, 5, NO_REPEAT>(q, idx); break;
        case 6: classify_guess<ONLY_P, 6, NO_REPEAT>(q, idx); break;
        case 7: classify_guess<ONLY_P, 7, NO_REPEAT>(q, idx); break;
        case 8: classify_guess<ONLY_P, 8, NO_REPEAT>(q, idx); break;
        default: classify_guess<ONLY_P, 9, NO_REPEAT>(q, idx); break;
    }
}

}  // namespace

void classify_list(const byte* g, ClassTable& t) {
    const int n = X.CODELAENGE;
    for (auto& row : t)
        for (auto& v : row) v = 0;
    chains.valid = false;
    if (ERL == nullptr || n < 1 || n > 9) return;
    Guess q;
    prepare_guess(g, n, q);
    const int idx = n;  // the class byte right after the signs
    if (KENNEALLEFARBEN) {
        const unsigned common = common_of(q, ERL->data, q.n, list_without_repetition);
        classify_length<true, false>(q, idx);
        for (int p = 0; p <= n; ++p) t[common][p] = static_cast<std::int32_t>(chains.count[p]);
    } else {
        if (list_without_repetition)
            classify_length<false, true>(q, idx);
        else
            classify_length<false, false>(q, idx);
        for (int common = 0; common <= n; ++common)
            for (int p = 0; p <= common; ++p)
                t[common][p] = static_cast<std::int32_t>(chains.count[flat_class(common, p)]);
    }
}

std::int64_t filter_list(byte p, byte common) {
    const int n = X.CODELAENGE;
    PTR_O_F head = ERL;
    if (head == nullptr) return 0;
    const byte v = KENNEALLEFARBEN ? p : static_cast<byte>(flat_class(common, p));
    std::int64_t count = 0;
    if (chains.valid && chains.list == head && v < FLAT_CLASSES) {
        // Straight after a classification: the answer's chain is cut out.
        chains.valid = false;
        count = chains.count[v];
        ERL = chains.chain_head[v];
        if (count > 0) chains.end[v]->link2 = nullptr;
    } else {
        // Otherwise by the class bytes: unlink every node after the head
        // whose class differs (a kept node's link is written only when it
        // changes), then the head.
        chains.valid = false;
        const int idx = n;
        PTR_O_F kept = head;
        count = 1;
        Pacer tick(PASS_STEP);
        for (PTR_O_F c = head->link2; c != nullptr; c = c->link2) {
            if (c->data[idx] == v) {
                if (kept->link2 != c) kept->link2 = c;
                kept = c;
                ++count;
            }
            if (tick.due()) SCHREIBE_ZEIT();
        }
        if (kept->link2 != nullptr) kept->link2 = nullptr;
        if (head->data[idx] != v) {
            ERL = head->link2;
            --count;
        }
    }
    if (count == 1) set_solution(ERL->data, n);
    return count;
}

void learn_signs_of_answer(const byte* g, byte p, byte common) {
    if (KENNEALLEFARBEN) return;
    const int n = X.CODELAENGE;
    if (common == n) {
        // The code holds exactly the signs of the guess.
        KENNEALLEFARBEN = true;
        for (int c = 1; c <= MAXFARBE && c <= 36; ++c) ERL_FARBE[c] = false;
        for (int i = 1; i <= n; ++i)
            if (g[i] != 0) ERL_FARBE[g[i]] = true;
    } else if (p == 0 && common == 0) {
        for (int i = 1; i <= n; ++i) ERL_FARBE[g[i]] = false;
        ERL_FARBE[0] = false;
        if (!X.WIEDERHOLUNG) {
            int possible = 0;
            for (int c = 1; c <= MAXFARBE && c <= 36; ++c) possible += ERL_FARBE[c];
            if (possible <= n) KENNEALLEFARBEN = true;
        }
    }
}

std::int64_t list_length() {
    std::int64_t count = 0;
    for (PTR_O_F c = ERL; c != nullptr; c = c->link2) ++count;
    return count;
}

void answer_not_fixed(const CODE& guess, byte column, byte& p, byte& z, unsigned char& key) {
    const int n = X.CODELAENGE;
    const int sp = (column == 2) ? 2 : 1;
    const int p_col = X3[sp], z_col = X4[sp];
    // The row of the try; the entry row when the caller has not set it.
    const int row = (K != 0) ? K : WY;
    key = 0;

    byte g[10] = {};
    numbers_of_guess(guess, n, g);

    // A guess made only of signs known to be absent needs no look at the list.
    bool possible = false;
    for (int i = 1; i <= n; ++i) possible = possible || (g[i] != 0 && ERL_FARBE[g[i]]);
    if (!possible) {
        p = 0;
        z = 0;
        write_answer(p_col, z_col, row, p, z);
        return;
    }

    // A guess tried before gets the same answer again. The try being
    // answered may already stand in its slot (the ring reuses the slots), so
    // the slot holding this very guess is skipped.
    const int earlier = std::min<std::int32_t>(NUMMER - 1, 30);
    for (int t = 1; t <= earlier; ++t) {
        const VERSUCH& v = V30[t];
        if (&v.ZUG == &guess) continue;
        bool same = true;
        for (int i = 1; i <= n && same; ++i) same = v.ZUG[i] == guess[i];
        if (same) {
            p = v.P;
            z = v.Z;
            write_answer(p_col, z_col, row, p, z);
            return;
        }
    }

    ClassTable t;
    classify_list(g, t);

    byte common = 0;
    if (X.PC_LOESUNG) {
        choose_answer(t, p, common);
        z = static_cast<byte>(common - p);
        write_answer(p_col, z_col, row, p, z);
    } else {
        if (!read_checked_answer(t, static_cast<byte>(n), static_cast<byte>(p_col), static_cast<byte>(z_col),
                                 static_cast<byte>(row), p, z, key)) {
            key = console::key::ESC;
            return;
        }
        common = static_cast<byte>(p + z);
    }

    if (p == n) {
        z = 0;
        LOESUNG.blank();
        for (int i = 1; i <= n; ++i) LOESUNG[i] = guess[i];
        LISTEN_FREIGEBEN(true);
        ZEITEIN = false;
        return;
    }

    if (keyboard_breaks_off()) {
        abandon_match(key);
        A = key;
        return;
    }

    filter_list(p, common);
    learn_signs_of_answer(g, p, common);
}

}  // namespace zqspiel
