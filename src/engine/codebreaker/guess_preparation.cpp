#include "engine/codebreaker/guess_preparation.h"

#include <string_view>

#include "console/console.h"
#include "engine/arena.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/candidate_store.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/opening_patterns.h"
#include "engine/codebreaker/packed_candidates.h"
#include "engine/codebreaker/release.h"
#include "engine/codebreaker/shuffle_table.h"
#include "engine/long_work.h"

namespace zqspiel {

void random_permutation(const byte* list, int k, byte* perm, byte& aux) {
    byte rest[37];
    for (int i = 1; i <= k; ++i) rest[i] = list[i];
    for (int i = 1; i <= k; ++i) {
        const int remaining = k + 1 - i;
        const int h = static_cast<int>(console::random(static_cast<std::uint32_t>(remaining))) + 1;
        aux = static_cast<byte>(h);
        perm[i] = rest[h];
        for (int j = h; j < remaining; ++j) rest[j] = rest[j + 1];
    }
}

namespace {

void shuffle_positions(ZAHLENFELD& work, ZAHLENFELD& perm, byte& aux, int l) {
    byte list[10] = {}, out[10] = {};
    for (int i = 1; i <= l; ++i) list[i] = work[i] = static_cast<byte>(i);
    random_permutation(list, l, out, aux);
    for (int i = 1; i <= l; ++i) perm[i] = out[i];
}

void shuffle_signs(FARBFELD& work, FARBFELD& perm, byte& aux, const byte* signs, int n) {
    byte list[37] = {}, out[37] = {};
    for (int i = 1; i <= n; ++i) list[i] = work[i] = signs[i];
    random_permutation(list, n, out, aux);
    for (int i = 1; i <= n; ++i) perm[i] = out[i];
}

}  // namespace

void SETZE_ANFANG(byte l, byte n, bool repeat, bool filler, bool first) {
    if (n < 1 || l < 1 || l > 9) return;
    OK = true;
    char pattern[10] = {};
    if (n == 1) {
        for (int j = 0; j < l; ++j) pattern[j] = '1';
    } else {
        const std::string_view m = raw_pattern(l, n, repeat, filler);
        if (m.size() == static_cast<std::size_t>(l)) {
            for (int j = 0; j < l; ++j) pattern[j] = m[j];
        } else if (l == 2 && n == 2) {
            pattern[0] = '1';
            pattern[1] = console::random(2) == 0 ? '1' : '2';
        } else {
            // No pattern tabled: as many different signs as there are.
            for (int j = 0; j < l; ++j) pattern[j] = static_cast<char>('1' + (j < n ? j : 0));
        }
    }
    for (int j = 1; j <= l; ++j) {
        const char c = pattern[j - 1];
        const byte sign = c == '*' ? PERMF[0] : PERMF[c - '0'];
        ANFANG.d(PERMZ[j]) = sign;
    }
    for (int i = FARBE0; i <= ENDFARBE; ++i) ANFANG.d(i) = 0;
    for (int i = 1; i <= l; ++i) {
        const byte sign = ANFANG.d(i);
        // A vacant sign has a count slot only when it is allowed in guesses;
        // elsewhere FARBEPL + 0 would be a position.
        if (sign == 0 && !X.LEERZEICHEN_ERLAUBT) continue;
        ++ANFANG.d(FARBEPL + sign);
    }
    if (first) {
        for (int i = 1; i <= l; ++i) console::write(static_cast<char>(FARBARRAY[ANFANG.d(i)]));
        console::goto_xy(WX, WY);
    }
}

void NEUER_ANFANG() {
    const int l = X.CODELAENGE;
    byte signs[37];
    int m = 0;
    for (int c = 1; c <= MAXFARBE; ++c)
        if (ERL_FARBE[c]) signs[++m] = static_cast<byte>(c);
    shuffle_positions(ZAHLENREIHENFOLGE, PERMZ, HILFZAHLREIHENFOLGE, l);
    PERMF[0] = FEHLZEICHEN;
    shuffle_signs(FARBENREIHENFOLGE, PERMF, HILFFARBREIHENFOLGE, signs, m);
    SETZE_ANFANG(static_cast<byte>(l), static_cast<byte>(m), X.WIEDERHOLUNG, true, false);
}

void INIT_RATEN(bool& ok) {
    const int l = X.CODELAENGE;
    const int n = MAXFARBE;
    const bool vacant = X.LEERZEICHEN_ERLAUBT;
    ok = true;
    release_search_buffer();  // a copy left from an earlier match
    ZAEHLE_VORH_FARBE = 0;
    VORH_FARBE.fill(false);
    GENUGPLATZ = (l + n + 24 + (vacant ? 1 : 0)) < SIZERATEN;
    ERL_FARBE.fill(false);
    for (int c = 1; c <= n; ++c) ERL_FARBE[c] = true;

    FARBE0 = static_cast<byte>(l + 1);
    FARBEPL = static_cast<byte>(vacant ? l + 1 : l);
    FARBE1 = static_cast<byte>(FARBEPL + 1);
    FARBE2 = static_cast<byte>(FARBEPL + 2);
    FARBE3 = static_cast<byte>(FARBEPL + 3);
    ENDFARBE = static_cast<byte>(FARBEPL + n);
    ENDFARBEPL1 = static_cast<byte>(ENDFARBE + 1);

    // The number of codes is counted here rather than taken on trust, so the
    // progress figures stay right even when the capacity check has not run.
    const std::int64_t count = candidate_count(l, n, vacant);
    VERS = VERSLOE = nullptr;
    ERLAUBT = nullptr;
    SCHLUSSLICHT = nullptr;
    AKTUELL = nullptr;
    ZAHL_DER_STERNE = 0;
    ZEITLIMIT_GR_0 = false;
    ZEIT_GERATEN_KL100 = true;
    NEUER_KANDIDAT = false;
    GERATENE_VERSUCHE = 0;
    ZAHLGESAMTVERSUCHE = ZAHL_DER_VERSUCHE = NUMMER_PLUS = static_cast<std::int32_t>(count);
    SETZE_RATE_ZEIT_AKT = SETZEZEITLETZTERVERSUCH = RATEN_ZEITANZEIGE = true;

    // Opening relabelling and the opening guess, shown before the build.
    shuffle_positions(ZAHLENREIHENFOLGE, PERMZ, HILFZAHLREIHENFOLGE, l);
    byte all[37];
    for (int c = 1; c <= n; ++c) all[c] = static_cast<byte>(c);
    PERMF[0] = 0;
    shuffle_signs(FARBENREIHENFOLGE, PERMF, HILFFARBREIHENFOLGE, all, n);
    SETZE_ANFANG(static_cast<byte>(l), static_cast<byte>(n), MERKE_WDHG || X.WIEDERHOLUNG, vacant, true);

    // Build relabelling: every code is stored under one fixed random renaming.
    shuffle_positions(ZAHLENREIHENFOLGETM, PERMZTM, HILFZAHLREIHENFOLGETM, l);
    PERMFTM[0] = 0;
    shuffle_signs(FARBENREIHENFOLGETM, PERMFTM, HILFFARBREIHENFOLGETM, all, n);

    bool done = build_store(l, n);
    if (done) {
        SCHREIBE_ZEIT();
        done = !keyboard_breaks_off();
    }
    if (done) {
        build_solution_chain();
        SCHREIBE_ZEIT();
        done = !keyboard_breaks_off();
    }
    if (!done) {
        RATEN_ZEITANZEIGE = false;
        abandon_match(A);
        INITFELD();
        ok = false;
        return;
    }
    ZEITLIMIT_GR_0 = ZEITLIMIT > 0;
}

}  // namespace zqspiel
