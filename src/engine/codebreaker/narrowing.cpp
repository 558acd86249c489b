#include "engine/codebreaker/narrowing.h"

#include <cstdint>

#include "console/console.h"
#include "engine/beep.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/guess_preparation.h"
#include "engine/codebreaker/release.h"
#include "engine/codebreaker/store_walk.h"
#include "engine/encoder/variable_code.h"
#include "engine/long_work.h"
#include "engine/play/answer_check.h"
#include "engine/play/scoring.h"

namespace zqspiel {

namespace {

// The sign counts of a node, indexed by sign number 1..MAXFARBE.
const byte* sign_counts(const LISTE* s) { return s->data + FARBEPL - 1; }

// P and common of guess g against candidate s, on sign numbers.
void compare(const LISTE* g, const LISTE* s, int& p, int& common) {
    byte bp = 0, bc = 0;
    score_numbers(g->data, s->data, sign_counts(g), sign_counts(s), X.CODELAENGE, MAXFARBE, bp, bc);
    p = bp;
    common = bc;
}

bool break_key_pressed(unsigned char& pressed_key) {
    SCHREIBE_ZEIT();
    if (!keyboard_breaks_off()) return false;
    abandon_match(pressed_key);
    return true;
}

// The strike list: signs to be taken out of the guesses; 0 stands for "holds
// a vacant sign".
struct StrikeList {
    int n = 0;
    byte z[38];
    void add(byte c) { z[n++] = c; }
};

bool holds(const LISTE* g, const StrikeList& f) {
    for (int j = 0; j < f.n; ++j) {
        const byte c = f.z[j];
        if (c == 0) {
            if (X.LEERZEICHEN_ERLAUBT && g->d(FARBE0) > 0) return true;
        } else if (g->d(FARBEPL + c) > 0) {
            return true;
        }
    }
    return false;
}

// Solved: the guess is the secret.
void note_solution(const LISTE* g) {
    LOESUNG.blank();
    for (int i = 1; i <= X.CODELAENGE; ++i) LOESUNG[i] = static_cast<char>(FARBARRAY[g->d(i)]);
}

// The answer 0, 0: no sign of the guess is in the secret; those still
// thought possible go on the strike list, the last of them is the filler.
void strike_signs_of_move(const LISTE* g, StrikeList& f) {
    ZAEHLE_VORH_FARBE = 0;
    for (int c = MAXFARBE; c >= 1; --c) {
        if (!ERL_FARBE[c]) continue;
        if (g->d(FARBEPL + c) == 0) {
            ++ZAEHLE_VORH_FARBE;
        } else {
            ERL_FARBE[c] = false;
            f.add(static_cast<byte>(c));
        }
    }
    if (f.n > 0) FEHLZEICHEN = f.z[f.n - 1];
}

// Unlinks from the solution chain every candidate that would have answered
// differently; the head is tested last. Gives the number left.
std::int64_t keep_matching(const LISTE* g, byte p, byte z, const StrikeList& f) {
    auto fits = [&](const LISTE* s) {
        if (p == 0 && z == 0) {
            for (int j = 0; j < f.n; ++j)
                if (s->d(FARBEPL + f.z[j]) > 0) return false;
            return true;
        }
        int sp, sc;
        compare(g, s, sp, sc);
        if (KENNEALLEFARBEN) return sp == p;
        return sp == p && sc == p + z;
    };
    if (!ERLAUBT) return 0;
    std::int64_t rest = 0;
    PTR before_node = ERLAUBT;
    Pacer clock(1 << 18);
    for (PTR s = ERLAUBT->link3; s; s = s->link3) {
        if (clock.due()) SCHREIBE_ZEIT();
        if (fits(s)) {
            before_node->link3 = s;
            before_node = s;
            ++rest;
        } else {
            before_node->link3 = nullptr;
        }
    }
    before_node->link3 = nullptr;
    if (!fits(ERLAUBT))
        ERLAUBT = ERLAUBT->link3;
    else
        ++rest;
    return rest;
}

// One or two candidates left: they alone are the guess chain.
void only_candidates_left(std::int64_t rest) {
    AEQUI_KLASSE = false;
    ZAHLGESAMTVERSUCHE = static_cast<std::int32_t>(rest);
    VERS = ERLAUBT;
    if (rest == 1) {
        SCHLUSSLICHT = ERLAUBT;
        ERLAUBT->link2 = nullptr;
    } else {
        ERLAUBT->link2 = ERLAUBT->link3;
        SCHLUSSLICHT = ERLAUBT->link3;
        SCHLUSSLICHT->link2 = nullptr;
    }
}

// The chosen guess has been played: out of the guess chain.
void take_from_guess_chain(PTR g, PTR predecessor) {
    if (predecessor) {
        predecessor->link2 = g->link2;
        if (SCHLUSSLICHT == g) SCHLUSSLICHT = predecessor;
    } else {
        VERS = g->link2;
        if (SCHLUSSLICHT == g) SCHLUSSLICHT = nullptr;
    }
    g->link2 = nullptr;
    --ZAHLGESAMTVERSUCHE;
}

// What the answer tells about the signs: the signs that occur in some
// candidate left (all of the guess's when P + Z is the length); a sign that
// was possible and occurs in none goes on the strike list.
void learn_signs(const LISTE* g, byte p, byte z, StrikeList& f) {
    const int l = X.CODELAENGE, n = MAXFARBE;
    int a = 0;
    for (int c = 1; c <= n; ++c) a += ERL_FARBE[c] ? 1 : 0;
    VORH_FARBE.fill(false);
    ZAEHLE_VORH_FARBE = 0;
    if (p + z == l) {
        KENNEALLEFARBEN = true;
        for (int i = 1; i <= l; ++i)
            if (g->d(i) != 0) VORH_FARBE[g->d(i)] = true;
    } else {
        Pacer clock(1 << 18);
        for (const LISTE* s = ERLAUBT; s; s = s->link3) {
            for (int c = 1; c <= n; ++c)
                if (s->d(FARBEPL + c) > 0) VORH_FARBE[c] = true;
            if (clock.due()) SCHREIBE_ZEIT();
        }
    }
    for (int c = 1; c <= n; ++c) ZAEHLE_VORH_FARBE += VORH_FARBE[c] ? 1 : 0;
    if (ZAEHLE_VORH_FARBE < a)
        for (int c = n; c >= 1; --c)
            if (ERL_FARBE[c] && !VORH_FARBE[c]) {
                ERL_FARBE[c] = false;
                f.add(static_cast<byte>(c));
            }
}

// The strike list spares a filler for the opening guesses.
void keep_filler_signs(StrikeList& f) {
    int possible = 0;
    for (int c = 1; c <= MAXFARBE; ++c) possible += ERL_FARBE[c] ? 1 : 0;
    // (a) Keep one absent sign usable as filler when few are left.
    if (possible < 3 && X.CODELAENGE > 3 && !ALLE_F_LOESCHEN) {
        ALLE_F_LOESCHEN = true;
        --f.n;
    }
    // (b) With the vacant sign in play, it goes in place of the filler, once.
    if (f.n > 0 && FEHLZ_BENUTZT) {
        f.z[f.n - 1] = 0;
        FEHLZ_BENUTZT = false;
    }
}

// A guess about to leave the chain is marked by the lowest bit of its link 2
// (nodes lie on 8-byte boundaries, so the bit is free); a marked last node
// has the bare bit.
inline bool leaving(const LISTE* q) { return (reinterpret_cast<std::uintptr_t>(q->link2) & 1) != 0; }
inline PTR link_past(const LISTE* q) {
    return reinterpret_cast<PTR>(reinterpret_cast<std::uintptr_t>(q->link2) & ~std::uintptr_t{1});
}

// Every guess that holds a struck sign leaves the guess chain; the others keep
// their order. The chain runs through memory at random, so it is not walked
// node by node: the store is walked in the order of memory instead.
// 1. Each guess that goes is marked.
// 2. Each guess that stays is linked to the next one that stays, following
//    the marked ones after it. Many such walks go on side by side, one step
//    of each in turn, each node asked for ahead of its step, so that memory
//    delivers many nodes at once instead of one after the other.
// 3. The guesses that went get a nil link 2.
void strike_guesses(const StrikeList& f) {
    std::int32_t gone = 0;
    for_each_node([&](PTR q) {
        if (in_guess_chain(q) && holds(q, f)) {
            q->link2 = reinterpret_cast<PTR>(reinterpret_cast<std::uintptr_t>(q->link2) | 1);
            ++gone;
        }
    });
    if (gone == 0) return;

    constexpr int WALKS = 64;
    PTR owner[WALKS], next[WALKS];
    PTR scan = VERSLOE;
    Pacer clock(1 << 18);
    auto next_staying = [&]() -> PTR {
        while (scan) {
            const PTR q = scan;
            scan = scan->link1;
            if (clock.due()) SCHREIBE_ZEIT();
            if (in_guess_chain(q) && !leaving(q)) return q;
        }
        return nullptr;
    };
    auto start_walk = [&](int i, PTR q) {
        owner[i] = q;
        next[i] = q->link2;
        __builtin_prefetch(next[i]);
    };
    int walks = 0;
    for (PTR q; walks < WALKS && (q = next_staying());) start_walk(walks++, q);
    PTR last = nullptr;
    while (walks > 0) {
        for (int i = 0; i < walks;) {
            const PTR c = next[i];
            if (c && leaving(c)) {
                next[i] = link_past(c);
                __builtin_prefetch(next[i]);
                ++i;
                continue;
            }
            // The walk has arrived: a new one takes its place.
            owner[i]->link2 = c;
            if (!c) last = owner[i];
            if (const PTR q = next_staying()) {
                start_walk(i++, q);
            } else {
                --walks;
                owner[i] = owner[walks];
                next[i] = next[walks];
            }
        }
    }

    PTR first = VERS;
    while (first && leaving(first)) first = link_past(first);
    for_each_node([&](PTR q) {
        if (leaving(q)) q->link2 = nullptr;
    });
    VERS = first;
    SCHLUSSLICHT = last;
    ZAHLGESAMTVERSUCHE -= gone;
}

}  // namespace

bool narrow(PTR g, bool real_search, PTR predecessor, byte p, byte z, unsigned char& pressed_key) {
    const int l = X.CODELAENGE;
    RATENDRAN = true;
    if (p != 0 || z != 0) AEQUI_KLASSE = false;
    StrikeList f;
    const bool solved = p == l;

    if (solved) {
        // 1. Solved: the guess is the secret.
        note_solution(g);
    } else {
        // 2. An answer 0, 0 strikes every sign of the guess.
        if (p == 0 && z == 0) strike_signs_of_move(g, f);
        // 3. The candidates that would have answered differently go.
        const std::int64_t rest = keep_matching(g, p, z, f);
        if (rest == 1 || rest == 2) {
            // 4. One or two left: no search is needed any more.
            only_candidates_left(rest);
        } else if (rest > 2) {
            // 5. The guess played leaves the guess chain.
            if (real_search) take_from_guess_chain(g, predecessor);
            if (break_key_pressed(pressed_key)) return false;
            // 6. Signs that no candidate left holds are struck.
            if (!KENNEALLEFARBEN && (p != 0 || z != 0)) learn_signs(g, p, z, f);
            if (break_key_pressed(pressed_key)) return false;
            // 7. A filler is spared, 8. the guesses holding a struck sign go.
            if (f.n > 0) keep_filler_signs(f);
            if (f.n > 0 && VERS) strike_guesses(f);
        }
    }

    // 9. The trial is recorded: its signs have been played, the opening goes
    // on while the answers say nothing, and a solved match lets go of the store.
    for (int i = 1; i <= l; ++i) GESPIELT[g->d(i)] = 1;
    if (AEQUI_KLASSE) NEUER_ANFANG();
    if (ZAEHLE_VORH_FARBE == l && !X.WIEDERHOLUNG) KENNEALLEFARBEN = true;
    if (solved) {
        LISTEN_FREIGEBEN(true);
        ZEITEIN = false;
    }
    return true;
}

void answer_and_narrow(PTR g, const ClassTable& table, bool real_search, PTR predecessor,
                       const CODE& move, byte& p, byte& z, unsigned char& pressed_key) {
    const int l = X.CODELAENGE;
    p = 0;
    if (!X.PC_LOESUNG) {
        X3I = WX;
        X4I = static_cast<byte>(WX + 2);
        if (!read_checked_answer(table, static_cast<byte>(l), X3I, X4I, WY, p, z, pressed_key)) {
            RATENDRAN = true;
            abandon_match(pressed_key);
            return;
        }
    } else {
        if (!X.LOESUNG_FEST) {
            if (ERLAUBT && !ERLAUBT->link3) {
                int sp, sc;
                compare(g, ERLAUBT, sp, sc);
                p = static_cast<byte>(sp);
                z = static_cast<byte>(sc - sp);
            } else {
                byte common = 0;
                choose_answer(table, p, common);
                z = static_cast<byte>(common - p);
            }
        } else {
            BEWERTE(move, LOESUNG, p, z);
        }
        console::goto_xy(WX, WY);
        console::write_num(p);
        console::goto_xy(WX + 2, WY);
        console::write_num(z);
        console::goto_xy(WX + 2, WY);
        if (X.TON && p == l) beep();
    }
    narrow(g, real_search, predecessor, p, z, pressed_key);
}

}  // namespace zqspiel
