#include "engine/codebreaker/codebreaker.h"

#include <algorithm>

#include "console/console.h"
#include "engine/beep.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/guess_search.h"
#include "engine/codebreaker/narrowing.h"
#include "engine/codebreaker/release.h"
#include "engine/codebreaker/sign_reduction.h"

namespace zqspiel {

namespace {

// Writes the signs s[1..l] of a guess at the cursor, then puts the cursor
// back on the trial's row.
void show_signs(const byte* s, int l) {
    for (int i = 1; i <= l; ++i) console::write(static_cast<char>(FARBARRAY[s[i]]));
    console::goto_xy(WX, WY);
}

// The same for the guess of node g.
void show_code(const LISTE* g) {
    for (int i = 1; i <= X.CODELAENGE; ++i) console::write(static_cast<char>(FARBARRAY[g->d(i)]));
    console::goto_xy(WX, WY);
}

}  // namespace

void RATE_CODE(CODE& move, byte& p, byte& z, unsigned char& pressed_key) {
    // A code has at most 9 places; saying so lets the compiler see the
    // writes into move stay inside it.
    const int l = std::min<int>(X.CODELAENGE, 9);
    F6_GEDR = false;
    RATENDRAN = true;
    bool reduction = ZAEHLE_VORH_FARBE > 2;
    ZAEHLE_VORH_FARBE = 0;
    ZAHL_DER_VERSUCHE = ZAHLGESAMTVERSUCHE;
    SPIELZEIT = RESTZEIT = 0;
    ZEIT_GERATEN_KL100 = true;
    p = 0;
    NUMMER_PLUS = NUMMER + 6;

    auto break_off = [&] {
        RATEN_ZEITANZEIGE = false;
        abandon_match(pressed_key);
    };
    if (!ERLAUBT || !VERS) {  // no store: nothing can be guessed
        break_off();
        return;
    }

    // One candidate left: it is the secret.
    if (ZAHLGESAMTVERSUCHE == 1 || !ERLAUBT->link3) {
        AEQUI_KLASSE = false;
        p = static_cast<byte>(l);
        LOESUNG.blank();
        for (int i = 1; i <= l; ++i) LOESUNG[i] = static_cast<char>(FARBARRAY[ERLAUBT->d(i)]);
        // The guess is kept in the trial too, so the history holds what was shown.
        move = LOESUNG;
        for (int i = 1; i <= l; ++i) console::write(LOESUNG[i]);
        WX = static_cast<byte>(WX + 8 + l / 2);
        console::goto_xy(WX - 2, WY);
        console::write_num(p);
        console::goto_xy(WX, WY);
        console::write('0');
        z = 0;
        if (X.TON) beep();
        RATEN_ZEITANZEIGE = false;
        LISTEN_FREIGEBEN(true);
        return;
    }
    if (ZAHLGESAMTVERSUCHE == 2 || !ERLAUBT->link3->link3) {
        AEQUI_KLASSE = false;
        reduction = false;
    }
    PTR g0 = VERS;
    bool single_step = false;
    if (AEQUI_KLASSE) {
        g0 = &ANFANG;
        reduction = false;
        ZAHL_DER_VERSUCHE = 1;
        single_step = true;
    }
    const bool real_search = !AEQUI_KLASSE;
    show_code(g0);

    // With the reduction the guess shown is the one it starts with: the
    // canonical guess at once, since the pre-pass over a large store takes
    // a while; else the first guess that follows the rule, once the pre-pass
    // has found it.
    Reduction red;
    PTR start = g0, before_start = nullptr;
    if (reduction) {
        choose_reduction(red);
        if (red.canonical) show_signs(red.order, l);
        start = reduction_pre_pass(red, g0, before_start);
        if (red.on && !red.canonical) show_code(start);
    }

    begin_search_display(real_search);
    SearchResult e;
    score_guess_list({.start = start, .before_start = before_start, .single_step = single_step, .red = &red,
                      .real_search = real_search, .method = Method::packed},
                     e);
    if (e.esc || !e.chosen) {
        break_off();
        return;
    }

    // After a cut the next search begins with the guesses not looked at now.
    if (real_search && e.last && e.last->link2 && ZAHLGESAMTVERSUCHE > 2) {
        if (!e.predecessor) e.predecessor = SCHLUSSLICHT;
        SCHLUSSLICHT->link2 = VERS;
        VERS = e.last->link2;
        e.last->link2 = nullptr;
        SCHLUSSLICHT = e.last;
    }

    // Output of the chosen guess.
    end_search_display();
    AKTUELL = e.chosen;
    move.blank();
    for (int i = 1; i <= l; ++i) move[i] = static_cast<char>(FARBARRAY[AKTUELL->d(i)]);
    console::goto_xy(WX, WY);
    for (int i = 1; i <= l; ++i) console::write(move[i]);
    WX = static_cast<byte>(WX + 6 + l / 2);
    RATENDRAN = false;

    answer_and_narrow(AKTUELL, e.table, real_search, e.predecessor, move, p, z, pressed_key);
}

}  // namespace zqspiel
