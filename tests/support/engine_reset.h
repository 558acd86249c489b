// Putting the engine into a known state without the screens around it: the
// conditions of a match in force, and the computer codebreaker ready for its
// first guess. Shared by the tests, the benchmarks and the soak run, so that
// all of them start a match from the same state.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "console/console.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/release.h"
#include "engine/codebreaker/shuffle_table.h"
#include "engine/encoder/answer_order.h"
#include "engine/play/match.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_screen.h"
#include "engine/zqspiel.h"

namespace zqtest {

struct Conditions {
    int l = 4;
    char first_sign = '1', last_sign = '6';
    bool repeat = true;
    bool vacant = false;
    bool computer_encodes = true;  // the computer answers
    bool fixed = true;
    int time_step = 0;
    bool sound = false;
    int step = 10;  // memory step
};

// The store and the list released, the shuffle table empty, the defaults
// with b in X (checked as when they are loaded), and the sign tables, time
// limit and memory budget that follow;
// then the capacity check of match start, which may take the computer's roles
// away (X.PC_RAET, X.LOESUNG_FEST say what is left).
inline void apply_conditions(const Conditions& b) {
    using namespace zqspiel;
    LISTEN_FREIGEBEN(true);
    INITFELD();
    INITIALISIERE();
    X.CODELAENGE = static_cast<byte>(b.l);
    X.ERSTES_ZEICHEN = b.first_sign;
    X.LETZTES_ZEICHEN = b.last_sign;
    X.WIEDERHOLUNG = b.repeat;
    X.LEERZEICHEN_ERLAUBT = b.vacant;
    X.PC_LOESUNG = b.computer_encodes;
    X.PC_RAET = true;
    X.LOESUNG_FEST = b.fixed;
    X.ZEITSTUFE = static_cast<byte>(b.time_step);
    X.TON = b.sound;
    X.SPEICHER = static_cast<byte>(b.step);
    check_conditions();  // a code longer than the set goes with repetition
    set_zeitlimit();
    SPEICHERSTUFE = static_cast<byte>(b.step);
    set_memavail(SPEICHERSTUFE);
    MERKEMEMAVAIL = -5;  // the capacity table and MEMGES made afresh
    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT, false, true);
}

// The state the match loop leaves before the computer's first guess, with
// the conditions of b, in German, the clock running and the cursor on the
// first trial row.
inline void prepare_computer_guessing(const Conditions& b) {
    using namespace zqspiel;
    apply_conditions(b);
    SP_D = true;
    MERKE_WDHG = b.repeat;
    LEERZEICHEN = FEHLZ_BENUTZT = ALLE_F_LOESCHEN = b.vacant;
    KENNEALLEFARBEN = !b.repeat && b.l == MAXFARBE;
    ALLESTERNEDRUCKEN = true;
    REIHENFOLGE();
    GESPIELT.fill(0);
    LOESUNG.blank();
    PL_0 = static_cast<byte>(std::min<int>(b.l, MAXFARBE));
    PL_1 = static_cast<byte>(PL_0 + 1);
    AEQUI_KLASSE = true;
    FEHLZEICHEN = 0;
    ZAEHLE_VORH_FARBE = 0;
    NUMMER = 0;
    UNTERBR = 0;
    NEUER_KANDIDAT = true;
    ZAHL_DER_STERNE = 0;
    X2 = POSITION{{static_cast<std::uint16_t>((101 - b.l) / 2), static_cast<std::uint16_t>((141 - b.l) / 2)}};
    WX = static_cast<byte>(X2[1]);
    WY = 9;
    start_match_clock();
    console::goto_xy(WX, WY);
}

// Sets the computer's fixed secret code (sign characters) and its counts.
inline void set_solution(const std::string& code) {
    using namespace zqspiel;
    LOESUNG.blank();
    LOESUNGSFARBEN.fill(0);
    for (std::size_t i = 0; i < code.size(); ++i) {
        LOESUNG[static_cast<int>(i) + 1] = code[i];
        ++LOESUNGSFARBEN[NRFUNKTION(code[i])];
    }
}

// One trial begins as the match loop begins it: the next number, the row and
// column of its slot on the board.
inline void next_trial() {
    using namespace zqspiel;
    ++NUMMER;
    F6_GEDR = false;
    const int slot = (NUMMER - 1) % 30;
    WX = static_cast<byte>(X2[slot / 15 + 1]);
    WY = static_cast<byte>(slot % 15 + 9);
    console::goto_xy(WX, WY);
}

}  // namespace zqtest
