#include "engine/variable_code.h"

#include <algorithm>
#include <cstring>

#include "console/console.h"
#include "console/keys.h"
#include "engine/arena.h"
#include "engine/capacity.h"
#include "engine/clock.h"
#include "engine/long_work.h"

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
bool liste_ohne_wiederholung = false;

static_assert(sizeof(LISTE_O_F) == 32, "a node of the list of codes is 32 bytes");

inline std::uint64_t lade8(const byte* p) {
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

void bereite_vor(const byte* g, int n, Guess& q) {
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
// of the two counts, summed; ohne_wdh for a list without repetition. Always
// inlined, so that the pass over the list, which gives n and ohne_wdh as
// constants, runs without loops per node.
[[gnu::always_inline]] inline unsigned gemeinsam(const Guess& q, const byte* c, int n, bool ohne_wdh) {
    if (ohne_wdh) {
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
inline unsigned treffer_n(const Guess& q, const byte* c) {
    const std::uint64_t x = lade8(c) ^ q.lo;
    const std::uint64_t zero = ~(((x & LOW7) + LOW7) | x | LOW7) & q.pos_mask;
    unsigned p = static_cast<unsigned>(((zero >> 7) * BYTES1) >> 56);
    if constexpr (N == 9) p += c[8] == q.ninth && q.ninth != 0;
    return p;
}

// The classes of the last pass: while classifying, every node is appended to
// the chain of its class, and the chains are joined in class order at the
// end. The list is then whole again (grouped by class, each class in its
// former order), and the filter only has to cut out the chain of the answer
// instead of walking the list a second time.
constexpr int KLASSEN = 160;  // class bytes 0..9 * 16 + 9
struct Klassenketten {
    bool gueltig = false;
    PTR_O_F liste = nullptr;  // ERL after the pass; the chains hold while it is unchanged
    PTR_O_F kopf[KLASSEN];
    PTR_O_F ende[KLASSEN];
    std::int64_t anzahl[KLASSEN];
};
Klassenketten ketten;

// The pass over the list. With NUR_P every code shares the same number of
// signs with the guess (KENNEALLEFARBEN): only P is computed and the class
// byte is P alone.
template <bool NUR_P, int N, bool OHNE_WDH>
void klassifiziere(const Guess& q, int idx) {
    // Dummy heads, so that appending needs no test for an empty chain.
    LISTE_O_F anker[KLASSEN];
    PTR_O_F ende[KLASSEN];
    for (int k = 0; k < KLASSEN; ++k) {
        anker[k].link2 = nullptr;
        ende[k] = &anker[k];
    }
    // Two sets of counters, so that runs of one class do not wait on one
    // memory cell.
    std::uint32_t cnt[2][KLASSEN] = {};
    std::uint32_t flip = 0;
    Pacer uhr(PASS_STEP);
    PTR_O_F c = ERL;
    while (c != nullptr) {
        const PTR_O_F next = c->link2;
        const unsigned p = treffer_n<N>(q, c->data);
        unsigned cls;
        if constexpr (NUR_P) {
            cls = p;
        } else {
            cls = gemeinsam(q, c->data, N, OHNE_WDH) * 16 + p;
        }
        c->data[idx] = static_cast<byte>(cls);
        ende[cls]->link2 = c;
        ende[cls] = c;
        ++cnt[flip][cls];
        flip ^= 1;
        if (uhr.due()) SCHREIBE_ZEIT();
        c = next;
    }
    // Join the chains in class order.
    PTR_O_F kopf = nullptr;
    PTR_O_F* haken = &kopf;
    for (int k = 0; k < KLASSEN; ++k) {
        ketten.anzahl[k] = static_cast<std::int64_t>(cnt[0][k]) + cnt[1][k];
        ketten.kopf[k] = anker[k].link2;
        ketten.ende[k] = ketten.anzahl[k] > 0 ? ende[k] : nullptr;
        if (ketten.anzahl[k] > 0) {
            *haken = anker[k].link2;
            haken = &ende[k]->link2;
        }
    }
    *haken = nullptr;
    ERL = kopf;
    ketten.liste = kopf;
    ketten.gueltig = true;
}

void schreibe_antwort(int p_col, int z_col, int row, byte p, byte z) {
    console::goto_xy(p_col, row);
    console::write_num(p);
    console::goto_xy(z_col, row);
    console::write_num(z);
    console::goto_xy(z_col, row);
}

void zeige_sterne(std::int64_t gemacht, std::int64_t gesamt) {
    if (gesamt > 0) draw_star_bar(stars_due(gemacht, gesamt));
}

void schreibe_schlusszeile() {
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
void beende_aufbau() {
    RATEN_ZEITANZEIGE = false;
    NOTINVERS = true;
    schreibe_schlusszeile();
}

void abbrechen(bool& ok) {
    abandon_match(A);
    ok = false;
}

std::int64_t anzahl_codes(int n, int s, bool wdh) {
    std::int64_t total = 1;
    for (int i = 0; i < n; ++i) {
        total *= wdh ? s : s - i;
        if (total <= 0) return 0;
    }
    return total;
}

void setze_loesung(const byte* c, int n) {
    LOESUNG.blank();
    for (int i = 1; i <= n; ++i) LOESUNG[i] = static_cast<char>(FARBARRAY[c[i - 1]]);
}

void nummern_des_versuchs(const CODE& guess, int n, byte* g) {
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
    bool wdh;
    byte c[10] = {};             // c[0..n-1] are positions 1..n, c[n] the class byte
    std::uint64_t benutzt = 0;   // signs in use, without repetition
    std::uint64_t alle;          // bits 1..s

    CodeCounter(int n_, int s_, bool wdh_) : n(n_), s(s_), wdh(wdh_), alle(((1ULL << s_) - 1) << 1) {
        if (wdh) {
            for (int i = 0; i < n; ++i) c[i] = 1;
        } else {
            for (int i = 0; i < n; ++i) {
                c[i] = static_cast<byte>(n - i);
                benutzt |= 1ULL << c[i];
            }
        }
    }

    // Steps to the next code; false after the last.
    bool next() {
        int i = 0;
        if (wdh) {
            while (i < n && c[i] == s) c[i++] = 1;
            if (i == n) return false;
            ++c[i];
            return true;
        }
        for (; i < n; ++i) {
            benutzt &= ~(1ULL << c[i]);
            const std::uint64_t frei_hoeher = alle & ~benutzt & ~((2ULL << c[i]) - 1);
            if (frei_hoeher != 0) {
                c[i] = static_cast<byte>(__builtin_ctzll(frei_hoeher));
                benutzt |= 1ULL << c[i];
                // The faster positions start again from the smallest free signs.
                for (int j = i - 1; j >= 0; --j) {
                    c[j] = static_cast<byte>(__builtin_ctzll(alle & ~benutzt));
                    benutzt |= 1ULL << c[j];
                }
                return true;
            }
        }
        return false;
    }
};

// A fresh list: every sign possible, no list, no stars, no classes.
void start_list(int n, int s, bool wdh) {
    ENDFARBEPL1 = static_cast<byte>(n + 1);
    ERL_FARBE.fill(false);
    for (int c = 1; c <= s && c <= 36; ++c) ERL_FARBE[c] = true;
    ERL = nullptr;
    ERLLOE = nullptr;
    ZAHL_DER_STERNE = 0;
    liste_ohne_wiederholung = !wdh;
    ketten.gueltig = false;
}

// The progress figures of the search line, for a build of gesamt codes.
void start_progress(std::int64_t gesamt) {
    const auto gesamt32 = static_cast<std::int32_t>(std::min<std::int64_t>(gesamt, INT32_MAX));
    RATEN_ZEITANZEIGE = true;
    NOTINVERS = false;
    ZEITLIMIT_GR_0 = false;
    ZEIT_GERATEN_KL100 = true;
    NEUER_KANDIDAT = false;
    GERATENE_VERSUCHE = 0;
    ZAHL_DER_VERSUCHE = gesamt32;
    ZAHLGESAMTVERSUCHE = gesamt32;
    NUMMER_PLUS = gesamt32;
    SETZE_RATE_ZEIT_AKT = true;
}

// The whole list is weighed against what the process can really have
// before the first node: a list that cannot fit gets no budget, so its
// first node fails as on an exhausted heap, at once instead of after
// minutes of building or at the hands of the system.
void set_list_budget(std::int64_t gesamt) {
    const std::uint64_t liste = static_cast<std::uint64_t>(gesamt) * sizeof(LISTE_O_F);
    SPEICHER_ARENA.plan(liste);
    SPEICHER_ARENA.set_budget(speicher_reicht(liste, Arena::address_space_for(liste)) ? MEMGES : 0);
}

// A node for every code, each in front of the last, with a look at the
// keyboard, the clock and the stars every BUILD_STEP codes. False when the
// user broke off or memory ran out; head and gemacht tell how far it got.
bool make_list(CodeCounter& code, std::int64_t gesamt, PTR_O_F& head, std::int64_t& gemacht) {
    Pacer blick(BUILD_STEP, true);  // look at the keyboard and the clock on the first code
    for (;;) {
        if (blick.due()) {
            SCHREIBE_ZEIT();
            if (tastatur_bricht_ab()) return false;
            zeige_sterne(gemacht, gesamt);
        }
        auto* node = static_cast<PTR_O_F>(SPEICHER_ARENA.allocate(sizeof(LISTE_O_F)));
        if (node == nullptr) return false;
        node->link1 = head;
        node->link2 = head;
        std::memcpy(node->data, code.c, sizeof node->data);
        head = node;
        ++gemacht;
        if (!code.next()) return true;
    }
}

}  // namespace

void INIT_NICHT_FEST(bool& ok) {
    const int n = X.CODELAENGE;
    const int s = MAXFARBE;
    const bool wdh = X.WIEDERHOLUNG;
    ok = true;

    // 1. A fresh list and what is known about the signs.
    start_list(n, s, wdh);

    // 2. The count of the codes this build makes. It is taken from the
    // conditions of the call rather than from MEMLOES, which the capacity
    // check made with the repetition in force (the match loop may switch
    // repetition off for this call only).
    const std::int64_t gesamt = (n >= 1 && n <= 9 && s >= 1 && s <= 36) ? anzahl_codes(n, s, wdh) : 0;

    // 3. The search line runs for the build; 4. the memory is weighed.
    start_progress(gesamt);
    set_list_budget(gesamt);
    if (gesamt == 0) {
        // Conditions that allow no code at all: nothing to play against.
        abbrechen(ok);
        beende_aufbau();
        return;
    }

    // 5. The list is made; a break or a lack of memory ends the match.
    CodeCounter code(n, s, wdh);
    PTR_O_F head = nullptr;
    std::int64_t gemacht = 0;
    const bool ganz = make_list(code, gesamt, head, gemacht);
    ERL = head;
    ERLLOE = head;
    if (!ganz) {
        abbrechen(ok);
        beende_aufbau();
        return;
    }

    // 6. The closing figures and the full bar.
    GERATENE_VERSUCHE = static_cast<std::int32_t>(std::min<std::int64_t>(gemacht, INT32_MAX));
    SETZEZEITLETZTERVERSUCH = true;
    zeige_sterne(gemacht, gesamt);
    beende_aufbau();
}

namespace {

template <bool NUR_P, bool OHNE_WDH>
void klassifiziere_laenge(const Guess& q, int idx) {
    switch (q.n) {
        case 1: klassifiziere<NUR_P, 1, OHNE_WDH>(q, idx); break;
        case 2: klassifiziere<NUR_P, 2, OHNE_WDH>(q, idx); break;
        case 3: klassifiziere<NUR_P, 3, OHNE_WDH>(q, idx); break;
        case 4: klassifiziere<NUR_P, 4, OHNE_WDH>(q, idx); break;
        case 5: klassifiziere<NUR_P, 5, OHNE_WDH>(q, idx); break;
        case 6: klassifiziere<NUR_P, 6, OHNE_WDH>(q, idx); break;
        case 7: klassifiziere<NUR_P, 7, OHNE_WDH>(q, idx); break;
        case 8: klassifiziere<NUR_P, 8, OHNE_WDH>(q, idx); break;
        default: klassifiziere<NUR_P, 9, OHNE_WDH>(q, idx); break;
    }
}

}  // namespace

void klassifiziere_liste(const byte* g, KLASSENTABELLE& t) {
    const int n = X.CODELAENGE;
    for (auto& row : t)
        for (auto& v : row) v = 0;
    ketten.gueltig = false;
    if (ERL == nullptr || n < 1 || n > 9) return;
    Guess q;
    bereite_vor(g, n, q);
    const int idx = n;  // the class byte right after the signs
    if (KENNEALLEFARBEN) {
        const unsigned common = gemeinsam(q, ERL->data, q.n, liste_ohne_wiederholung);
        klassifiziere_laenge<true, false>(q, idx);
        for (int p = 0; p <= n; ++p) t[common][p] = static_cast<std::int32_t>(ketten.anzahl[p]);
    } else {
        if (liste_ohne_wiederholung)
            klassifiziere_laenge<false, true>(q, idx);
        else
            klassifiziere_laenge<false, false>(q, idx);
        for (int common = 0; common <= n; ++common)
            for (int p = 0; p <= common; ++p)
                t[common][p] = static_cast<std::int32_t>(ketten.anzahl[common * 16 + p]);
    }
}

std::int64_t filtere_liste(byte p, byte common) {
    const int n = X.CODELAENGE;
    PTR_O_F head = ERL;
    if (head == nullptr) return 0;
    const byte v = KENNEALLEFARBEN ? p : static_cast<byte>(common * 16 + p);
    std::int64_t anzahl = 0;
    if (ketten.gueltig && ketten.liste == head && v < KLASSEN) {
        // Straight after a classification: the answer's chain is cut out.
        ketten.gueltig = false;
        anzahl = ketten.anzahl[v];
        ERL = ketten.kopf[v];
        if (anzahl > 0) ketten.ende[v]->link2 = nullptr;
    } else {
        // Otherwise by the class bytes: unlink every node after the head
        // whose class differs (a kept node's link is written only when it
        // changes), then the head.
        ketten.gueltig = false;
        const int idx = n;
        PTR_O_F kept = head;
        anzahl = 1;
        Pacer uhr(PASS_STEP);
        for (PTR_O_F c = head->link2; c != nullptr; c = c->link2) {
            if (c->data[idx] == v) {
                if (kept->link2 != c) kept->link2 = c;
                kept = c;
                ++anzahl;
            }
            if (uhr.due()) SCHREIBE_ZEIT();
        }
        if (kept->link2 != nullptr) kept->link2 = nullptr;
        if (head->data[idx] != v) {
            ERL = head->link2;
            --anzahl;
        }
    }
    if (anzahl == 1) setze_loesung(ERL->data, n);
    return anzahl;
}

void lerne_farben(const byte* g, byte p, byte common) {
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
            int moeglich = 0;
            for (int c = 1; c <= MAXFARBE && c <= 36; ++c) moeglich += ERL_FARBE[c];
            if (moeglich <= n) KENNEALLEFARBEN = true;
        }
    }
}

std::int64_t laenge_liste() {
    std::int64_t anzahl = 0;
    for (PTR_O_F c = ERL; c != nullptr; c = c->link2) ++anzahl;
    return anzahl;
}

void ANTWORT_NICHT_FEST(const CODE& guess, byte spalte, byte& p, byte& z, unsigned char& key) {
    const int n = X.CODELAENGE;
    const int sp = (spalte == 2) ? 2 : 1;
    const int p_col = X3[sp], z_col = X4[sp];
    // The row of the try; the entry row when the caller has not set it.
    const int row = (K != 0) ? K : WY;
    key = 0;

    byte g[10] = {};
    nummern_des_versuchs(guess, n, g);

    // A guess made only of signs known to be absent needs no look at the list.
    bool moeglich = false;
    for (int i = 1; i <= n; ++i) moeglich = moeglich || (g[i] != 0 && ERL_FARBE[g[i]]);
    if (!moeglich) {
        p = 0;
        z = 0;
        schreibe_antwort(p_col, z_col, row, p, z);
        return;
    }

    // A guess tried before gets the same answer again. The try being
    // answered may already stand in its slot (the ring reuses the slots), so
    // the slot holding this very guess is skipped.
    const int frueher = std::min<std::int32_t>(NUMMER - 1, 30);
    for (int t = 1; t <= frueher; ++t) {
        const VERSUCH& v = V30[t];
        if (&v.ZUG == &guess) continue;
        bool gleich = true;
        for (int i = 1; i <= n && gleich; ++i) gleich = v.ZUG[i] == guess[i];
        if (gleich) {
            p = v.P;
            z = v.Z;
            schreibe_antwort(p_col, z_col, row, p, z);
            return;
        }
    }

    KLASSENTABELLE t;
    klassifiziere_liste(g, t);

    byte common = 0;
    if (X.PC_LOESUNG) {
        WAEHLE_ANTWORT(t, p, common);
        z = static_cast<byte>(common - p);
        schreibe_antwort(p_col, z_col, row, p, z);
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

    if (tastatur_bricht_ab()) {
        abandon_match(key);
        A = key;
        return;
    }

    filtere_liste(p, common);
    lerne_farben(g, p, common);
}

}  // namespace zqspiel
