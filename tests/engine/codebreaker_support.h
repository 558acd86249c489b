// Shared set-up of the codebreaker tests: conditions of a match in which the
// computer guesses, on a virtual console, without the match loop around it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "console/virtual_console.h"
#include "engine/answer_order.h"
#include "engine/arena.h"
#include "engine/candidate_store.h"
#include "engine/capacity.h"
#include "engine/clock.h"
#include "engine/codebreaker.h"
#include "engine/conditions.h"
#include "engine/guess_preparation.h"
#include "engine/narrowing.h"
#include "engine/scoring.h"
#include "engine/zqspiel.h"

namespace cbtest {

using namespace zqspiel;

struct Bedingungen {
    int l = 4;
    char erstes = '1', letztes = '6';
    bool wdh = true;
    bool leer = false;
    bool pc_loesung = true;  // the computer answers
    bool fest = true;
    int zeitstufe = 0;
    bool ton = false;
    int stufe = 10;  // memory step
};

// The state the match loop leaves before the computer's first guess, the
// clock running.
inline void bereite_vor(const Bedingungen& b) {
    LISTEN_FREIGEBEN(true);
    INITFELD();
    INITIALISIERE();
    X.CODELAENGE = static_cast<byte>(b.l);
    X.ERSTES_ZEICHEN = b.erstes;
    X.LETZTES_ZEICHEN = b.letztes;
    X.WIEDERHOLUNG = b.wdh;
    X.LEERZEICHEN_ERLAUBT = b.leer;
    X.PC_LOESUNG = b.pc_loesung;
    X.PC_RAET = true;
    X.LOESUNG_FEST = b.fest;
    X.ZEITSTUFE = static_cast<byte>(b.zeitstufe);
    X.TON = b.ton;
    baue_zeichentabellen();
    setze_zeitlimit();
    setze_memavail(static_cast<byte>(b.stufe));
    MERKEMEMAVAIL = -5;  // the capacity table and MEMGES made afresh
    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT, false, true);
    SP_D = true;
    MERKE_WDHG = b.wdh;
    LEERZEICHEN = FEHLZ_BENUTZT = ALLE_F_LOESCHEN = b.leer;
    KENNEALLEFARBEN = !b.wdh && b.l == MAXFARBE;
    ALLESTERNEDRUCKEN = true;
    REIHENFOLGE();
    GESPIELT.fill(0);
    LOESUNG.blank();
    PL_0 = static_cast<byte>(std::min<int>(b.l, MAXFARBE));
    PL_1 = static_cast<byte>(PL_0 + 1);
    AEQUI_KLASSE = true;
    FEHLZEICHEN = 0;
    NUMMER = 0;
    UNTERBR = 0;
    NEUER_KANDIDAT = true;
    ZAHL_DER_STERNE = 0;
    X2 = POSITION{{static_cast<std::uint16_t>((101 - b.l) / 2), static_cast<std::uint16_t>((141 - b.l) / 2)}};
    WX = static_cast<byte>(X2[1]);
    WY = 9;
    starte_spieluhr();
    console::goto_xy(WX, WY);
}

// Sets the computer's fixed secret code (sign characters) and its counts.
inline void setze_loesung(const std::string& code) {
    LOESUNG.blank();
    LOESUNGSFARBEN.fill(0);
    for (std::size_t i = 0; i < code.size(); ++i) {
        LOESUNG[static_cast<int>(i) + 1] = code[i];
        ++LOESUNGSFARBEN[NRFUNKTION(code[i])];
    }
}

inline std::string code_von(const LISTE* n) {
    std::string s;
    for (int i = 1; i <= X.CODELAENGE; ++i) s += FARBARRAY[n->d(i)];
    return s;
}

inline CODE als_code(const std::string& s) {
    CODE c;
    c.blank();
    for (std::size_t i = 0; i < s.size(); ++i) c[static_cast<int>(i) + 1] = s[i];
    return c;
}

inline std::vector<std::string> rateliste() {
    std::vector<std::string> v;
    for (PTR p = VERS; p; p = p->link2) v.push_back(code_von(p));
    return v;
}
inline std::vector<std::string> loesungsliste() {
    std::vector<std::string> v;
    for (PTR p = ERLAUBT; p; p = p->link3) v.push_back(code_von(p));
    return v;
}

// One trial as the match loop makes it: row and column of the slot.
inline void naechster_versuch() {
    ++NUMMER;
    F6_GEDR = false;
    const int slot = (NUMMER - 1) % 30;
    WX = static_cast<byte>(X2[slot / 15 + 1]);
    WY = static_cast<byte>(slot % 15 + 9);
    console::goto_xy(WX, WY);
}

// Plays the computer against its own fixed code to the end. Returns the
// number of trials, or -1 when the match was broken off or ran away.
inline int spiele_gegen_sich(int grenze = 60) {
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    if (!ok) return -1;
    for (int i = 0; i < grenze; ++i) {
        naechster_versuch();
        CODE zug;
        zug.blank();
        byte p = 0, z = 0;
        unsigned char taste = 0;
        RATE_CODE(zug, p, z, taste);
        if (taste == 27) return -1;
        if (p == X.CODELAENGE) return NUMMER;
    }
    return -1;
}

}  // namespace cbtest
