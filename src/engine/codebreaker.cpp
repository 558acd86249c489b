#include "engine/codebreaker.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "console/console.h"
#include "console/keys.h"
#include "engine/beep.h"
#include "engine/capacity.h"
#include "engine/clock.h"
#include "engine/guess_preparation.h"
#include "engine/long_work.h"
#include "engine/narrowing.h"
#include "engine/packed_candidates.h"

namespace zqspiel {

namespace {

// Class tables are kept flat while searching: index common + 16 * P.
constexpr int FLACH = 160;
inline int flach(int common, int p) { return common + 16 * p; }

// The indices a table of code length l can use (0 <= P <= common <= l).
struct Indizes {
    int n = 0;
    std::uint8_t i[64];
    explicit Indizes(int l) {
        for (int c = 0; c <= l; ++c)
            for (int p = 0; p <= c; ++p) i[n++] = static_cast<std::uint8_t>(flach(c, p));
    }
};

SuchFiguren figuren(const std::int32_t* t, const Indizes& ix, int l) {
    SuchFiguren f;
    f.max = 0;
    f.summe = 0;
    for (int j = 0; j < ix.n; ++j) {
        const std::int32_t v = t[ix.i[j]];
        if (v > f.max) f.max = v;
        f.summe += static_cast<std::int64_t>(v) * v;
        if (v > 0) ++f.klassen;
    }
    f.treffer = t[flach(l, l)] == 1;
    return f;
}

bool gleich(const SuchFiguren& a, const SuchFiguren& b) {
    return a.max == b.max && a.summe == b.summe && a.klassen == b.klassen && a.treffer == b.treffer;
}

bool besser(const SuchFiguren& g, const SuchFiguren& b) {
    if (g.max != b.max) return g.max < b.max;
    if (g.summe != b.summe) return g.summe < b.summe;
    if (g.klassen != b.klassen) return g.klassen > b.klassen;
    return g.treffer && !b.treffer;
}

// ---- the guess's signs -------------------------------------------------------

struct Rateinfo {
    int anzahl = 0;         // signs of the guess that may still be shared
    byte zeichen[9] = {};
    byte zaehl[9] = {};
    int konstant = -1;      // common when the secret's sign counts are known, else -1
};

Rateinfo rateinfo(const LISTE* g) {
    Rateinfo r;
    const int n = MAXFARBE;
    if (KENNEALLEFARBEN && ERLAUBT) {
        int c = 0;
        for (int s = 1; s <= n; ++s) c += std::min(g->d(FARBEPL + s), ERLAUBT->d(FARBEPL + s));
        r.konstant = c;
        return r;
    }
    for (int s = 1; s <= n && r.anzahl < 9; ++s) {
        const byte k = g->d(FARBEPL + s);
        if (k > 0 && ERL_FARBE[s]) {
            r.zeichen[r.anzahl] = static_cast<byte>(s);
            r.zaehl[r.anzahl] = k;
            ++r.anzahl;
        }
    }
    return r;
}

// ---- sign-class reduction -----------------------------------------------------

bool besteht(const LISTE* g, const Reduktion& red) {
    const int l = X.CODELAENGE;
    for (int c = 1; c <= MAXFARBE; ++c)
        if (red.ausgeschlossen[c] && g->d(FARBEPL + c) != 0) return false;
    byte erste[37];
    for (int j = 1; j <= red.laenge; ++j) erste[red.folge[j]] = 100;
    for (int i = l; i >= 1; --i) {
        const byte c = g->d(i);
        if (c != 0 && c <= 36) erste[c] = static_cast<byte>(i);
    }
    // erste holds garbage for signs outside the order, which are not read.
    int vorher = 0;
    for (int j = 1; j <= red.laenge; ++j) {
        const int pos = erste[red.folge[j]];
        if (pos < vorher) return false;
        vorher = pos;
    }
    return true;
}

inline bool ueberspringen(const LISTE* g, const Reduktion& red) {
    if (!red.an) return false;
    if (GENUGPLATZ) return g->d(ENDFARBEPL1) == 0;
    return !besteht(g, red);
}

// ---- scoring one guess --------------------------------------------------------

// Straight over the nodes, pruning candidate by candidate. Returns false when
// the guess cannot beat the best any more.
bool bewerte_knoten(const LISTE* g, const Rateinfo& ri, const SuchFiguren& best, std::int32_t* t,
                    std::int64_t& paare) {
    const int l = X.CODELAENGE;
    bool gleichstand = false;
    bool summe_da = false;
    std::int64_t summe = 0;
    const Indizes ix(l);
    for (const LISTE* s = ERLAUBT; s; s = s->link3) {
        int p = 0;
        for (int i = 1; i <= l; ++i) p += (g->d(i) == s->d(i) && g->d(i) != 0) ? 1 : 0;
        int common = ri.konstant;
        if (common < 0) {
            common = 0;
            for (int j = 0; j < ri.anzahl; ++j) common += std::min(ri.zaehl[j], s->d(FARBEPL + ri.zeichen[j]));
        }
        const std::int32_t n = ++t[flach(common, p)];
        ++paare;
        if (!gleichstand && n < best.max) continue;
        if (n > best.max) return false;
        if (!summe_da) {
            summe = 0;
            for (int j = 0; j < ix.n; ++j) summe += static_cast<std::int64_t>(t[ix.i[j]]) * t[ix.i[j]];
            summe_da = true;
        } else {
            summe += 2 * static_cast<std::int64_t>(n) - 1;
        }
        if (summe > best.summe || (summe == best.summe && s->link3)) return false;
        gleichstand = true;
    }
    return true;
}

// Over the packed copy, four tables in turn so that equal classes do not wait
// on each other, pruning after each block: a guess is given up only when it
// is certainly worse, so the choice is the same as candidate by candidate.
bool bewerte_kompakt(const LISTE* g, const Rateinfo& ri, const SuchFiguren& best, std::int32_t* t,
                     std::int64_t& paare, const Indizes& ix) {
    const int l = X.CODELAENGE;
    const PackedCopy& kopie = packed_copy();
    const int satz = kopie.record;
    alignas(16) byte code[48], zaehl[48], gewicht[48];
    std::memset(code, 0xFF, sizeof code);
    std::memset(zaehl, 0, sizeof zaehl);
    std::memset(gewicht, 0, sizeof gewicht);
    for (int i = 1; i <= l; ++i) {
        const byte c = g->d(i);
        code[i - 1] = c == 0 ? 0xFF : c;  // a vacant sign never matches
        gewicht[i - 1] = 16;
    }
    const int konstant = ri.konstant < 0 ? 0 : ri.konstant;
    if (ri.konstant < 0)
        for (int j = 0; j < ri.anzahl; ++j) zaehl[l + ri.zeichen[j] - 1] = ri.zaehl[j];

    alignas(64) std::int32_t sub[4][FLACH];
    std::memset(sub, 0, sizeof sub);
    const std::size_t anzahl = kopie.count;
    const byte* basis = kopie.data;
    constexpr std::size_t BLOCK = 128;

#if defined(__SSE2__)
    const __m128i vcode = _mm_load_si128(reinterpret_cast<const __m128i*>(code));
    const __m128i vgew = _mm_load_si128(reinterpret_cast<const __m128i*>(gewicht));
    const __m128i vz0 = _mm_load_si128(reinterpret_cast<const __m128i*>(zaehl));
    const __m128i vz1 = _mm_load_si128(reinterpret_cast<const __m128i*>(zaehl + 16));
    const __m128i vz2 = _mm_load_si128(reinterpret_cast<const __m128i*>(zaehl + 32));
    const __m128i null = _mm_setzero_si128();
    auto index = [&](const byte* r) -> int {
        const __m128i s0 = _mm_load_si128(reinterpret_cast<const __m128i*>(r));
        __m128i v = _mm_add_epi8(_mm_min_epu8(vz0, s0), _mm_and_si128(_mm_cmpeq_epi8(vcode, s0), vgew));
        __m128i sad = _mm_sad_epu8(v, null);
        if (satz > 16) {
            const __m128i s1 = _mm_load_si128(reinterpret_cast<const __m128i*>(r + 16));
            sad = _mm_add_epi64(sad, _mm_sad_epu8(_mm_min_epu8(vz1, s1), null));
            if (satz > 32) {
                const __m128i s2 = _mm_load_si128(reinterpret_cast<const __m128i*>(r + 32));
                sad = _mm_add_epi64(sad, _mm_sad_epu8(_mm_min_epu8(vz2, s2), null));
            }
        }
        return _mm_cvtsi128_si32(_mm_add_epi64(sad, _mm_unpackhi_epi64(sad, sad))) + konstant;
    };
#else
    auto index = [&](const byte* r) -> int {
        int v = konstant;
        for (int i = 0; i < satz; ++i) {
            v += (code[i] == r[i]) ? gewicht[i] : 0;
            v += std::min(zaehl[i], r[i]);
        }
        return v;
    };
#endif

    for (std::size_t b0 = 0; b0 < anzahl; b0 += BLOCK) {
        const std::size_t ende = std::min(anzahl, b0 + BLOCK);
        const byte* r = basis + b0 * static_cast<std::size_t>(satz);
        std::size_t i = b0;
        for (; i + 4 <= ende; i += 4, r += 4 * satz) {
            const int a = index(r), b = index(r + satz), c = index(r + 2 * satz), d = index(r + 3 * satz);
            ++sub[0][a];
            ++sub[1][b];
            ++sub[2][c];
            ++sub[3][d];
        }
        for (; i < ende; ++i, r += satz) ++sub[0][index(r)];
        std::int32_t m = 0;
        for (int j = 0; j < ix.n; ++j) {
            const int k = ix.i[j];
            const std::int32_t v = t[k] + sub[0][k] + sub[1][k] + sub[2][k] + sub[3][k];
            sub[0][k] = sub[1][k] = sub[2][k] = sub[3][k] = 0;
            t[k] = v;
            if (v > m) m = v;
        }
        paare += static_cast<std::int64_t>(ende - b0);
        if (m > best.max) return false;
        if (m == best.max) {
            std::int64_t summe = 0;
            for (int j = 0; j < ix.n; ++j) summe += static_cast<std::int64_t>(t[ix.i[j]]) * t[ix.i[j]];
            if (summe > best.summe || (summe == best.summe && ende < anzahl)) return false;
        }
    }
    return true;
}

// ---- screen helpers -------------------------------------------------------------

void zeige_code(const LISTE* g) {
    for (int i = 1; i <= X.CODELAENGE; ++i) console::write(static_cast<char>(FARBARRAY[g->d(i)]));
    console::goto_xy(WX, WY);
}

void sterne() {
    if (ZAHL_DER_VERSUCHE <= 0) return;
    draw_star_bar(stars_due(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE));
}

void zaehle_unterbrechung() {
    if (UNTERBR >= 999) return;
    ++UNTERBR;
    if (UNTERBR == 1) {
        console::write_at(3, 15, SP_D ? "Zahl der Unterbrechungen: 1." : "Number of breaks: 1.");
    } else {
        console::goto_xy(SP_D ? 29 : 21, 15);
        console::write_num(UNTERBR);
        console::write('.');
    }
    console::goto_xy(WX, WY);
}

void zeitlimit_hinweis() {
    if (!ALLESTERNEDRUCKEN) return;
    ALLESTERNEDRUCKEN = false;
    console::goto_xy(1, 11);
    console::write('|');
    console::write(SP_D ? " Zeit begrenzt auf " : " The timelimit is ");
    console::write_num(X.ZEITSTUFE);
    console::write(SP_D ? "0 Sek./Versuch.  " : "0 seconds/trial.  ");
    console::write('|');
    console::goto_xy(WX, WY);
}

// F6 in any of its forms asks the same as F4: F6 is the sixth key of each
// run of ten function keys.
constexpr bool ist_f6(unsigned char s) {
    namespace scan = console::key::scan;
    return s == scan::F1 + 5 || s == scan::SHIFT_F1 + 5 || s == scan::CTRL_F1 + 5 || s == scan::ALT_F1 + 5;
}

// The keyboard during the search: true on Esc or Ctrl-C; F4 or F6 in a real
// search asks it to decide soon.
bool suchtastatur(bool echte_suche) {
    unsigned char scan = 0;
    const bool bricht_ab = tastatur_bricht_ab(&scan);
    if (echte_suche && (console::key::decides_soon(scan) || ist_f6(scan))) F6_GEDR = true;
    return bricht_ab;
}

// The clock and the keyboard are looked at after this much work (pairs
// scored, plus a share per guess), not after every guess.
constexpr std::int64_t ARBEIT_JE_BLICK = 1 << 16;

}  // namespace

PTR bereite_reduktion_vor(Reduktion& red, PTR g0, PTR& vor_start) {
    const int l = X.CODELAENGE, n = MAXFARBE;
    vor_start = nullptr;
    red = Reduktion{};
    byte frei[37];
    int u = 0;
    for (int c = 1; c <= n; ++c)
        if (!GESPIELT[c]) frei[++u] = static_cast<byte>(c);
    if (u < 2) return g0;
    red.an = true;
    byte folge[37] = {};
    byte hilf = 0;
    zufallspermutation(frei, u, folge, hilf);
    const int weg = l < u ? u - l : 0;
    for (int j = 1; j <= weg; ++j) red.ausgeschlossen[folge[j]] = true;
    red.laenge = u - weg;
    for (int j = 1; j <= red.laenge; ++j) red.folge[j] = folge[weg + j];

    // With no more positions than free signs the canonical guess holds the
    // ordered signs one by one; it is shown and evaluated first.
    byte kanon[10] = {};
    const bool mit_kanon = l <= u;
    if (mit_kanon) {
        for (int i = 1; i <= l; ++i) {
            kanon[i] = red.folge[i];
            console::write(static_cast<char>(FARBARRAY[kanon[i]]));
        }
        console::goto_xy(WX, WY);
    }
    std::int32_t zahl = 0;
    PTR erster = nullptr, vor_erster = nullptr;
    bool kanon_gefunden = false;
    PTR vor = nullptr;
    for (PTR g = g0; g;) {
        PTR weiter = g->link2;
        const bool ok = besteht(g, red);
        if (GENUGPLATZ) g->d(ENDFARBEPL1) = ok ? 1 : 0;
        if (ok) {
            ++zahl;
            if (!erster) {
                erster = g;
                vor_erster = vor;
            }
            if (mit_kanon && !kanon_gefunden) {
                bool gleich_kanon = true;
                for (int i = 1; i <= l; ++i) gleich_kanon = gleich_kanon && g->d(i) == kanon[i];
                if (gleich_kanon) {
                    kanon_gefunden = true;
                    if (vor) {
                        // Unlink it here and put it at the head of the chain.
                        vor->link2 = weiter;
                        if (SCHLUSSLICHT == g) SCHLUSSLICHT = vor;
                        g->link2 = VERS;
                        VERS = g;
                        g = weiter;
                        continue;  // vor stays
                    }
                }
            }
        }
        vor = g;
        g = weiter;
    }
    if (zahl == 0) {
        red.an = false;
        return g0;
    }
    ZAHL_DER_VERSUCHE = zahl;
    NUMMER_PLUS = std::min(NUMMER_PLUS, ZAHL_DER_VERSUCHE);
    if (kanon_gefunden) return VERS;
    if (!mit_kanon) zeige_code(erster);
    vor_start = vor_erster;
    return erster;
}

void bewerte_rateliste(PTR start, PTR vor_start, bool einzeln, const Reduktion& red, bool echte_suche,
                       Verfahren v, SuchErgebnis& e) {
    const int l = X.CODELAENGE;
    e = SuchErgebnis{};
    SuchFiguren& best = e.fig;
    best.summe = OBERGRENZE;
    std::int32_t k = 2;
    const Indizes ix(l);
    const bool kompakt = v == Verfahren::kompakt && !einzeln && baue_kompaktkopie();
    alignas(64) std::int32_t t[FLACH];
    alignas(64) std::int32_t beste_t[FLACH] = {};
    Pacer blick(ARBEIT_JE_BLICK, true);  // look at the clock with the first guess
    PTR vor = vor_start;
    for (PTR g = start; g;) {
        if (ueberspringen(g, red)) {
            if (einzeln) break;
            vor = g;
            g = g->link2;
            continue;
        }
        for (int j = 0; j < ix.n; ++j) t[ix.i[j]] = 0;
        const Rateinfo ri = rateinfo(g);
        const std::int64_t vorher = e.paare;
        const bool ganz = kompakt ? bewerte_kompakt(g, ri, best, t, e.paare, ix)
                                  : bewerte_knoten(g, ri, best, t, e.paare);
        if (ganz) {
            const SuchFiguren f = figuren(t, ix, l);
            bool gleichstand = false;
            if (gleich(f, best)) {
                if (console::random(static_cast<std::uint32_t>(k)) == 0) ++best.max;
                ++k;
                gleichstand = true;
            }
            if (besser(f, best)) {
                NEUER_KANDIDAT = true;
                if (!gleichstand) k = 2;
                std::memcpy(beste_t, t, sizeof t);
                best = f;
                e.vorgaenger = vor;
                e.beste = g;
                AKTUELL = g;
            }
        }
        e.letzte = g;
        ++e.bewertet;
        PTR weiter = einzeln ? nullptr : g->link2;
        ++GERATENE_VERSUCHE;
        SETZEZEITLETZTERVERSUCH = true;
        sterne();
        if (blick.due(e.paare - vorher + 64) || !weiter) {
            SCHREIBE_ZEIT();
            if (suchtastatur(echte_suche)) {
                e.esc = true;
                return;
            }
        }
        bool schluss = false;
        if (F6_GEDR && GERATENE_VERSUCHE > NUMMER_PLUS && SPIELZEIT > 500 && (RESTZEIT > 500 || RESTZEIT < 0) &&
            (static_cast<std::int64_t>(SPIELZEIT) + RESTZEIT > 1300 || RESTZEIT < 0)) {
            schluss = true;
            if (weiter) zaehle_unterbrechung();
        }
        if (ZEITLIMIT_GR_0 && SPIELZEIT >= ZEITLIMIT && GERATENE_VERSUCHE > NUMMER_PLUS) {
            if (weiter) zeitlimit_hinweis();
            schluss = true;
        }
        if (schluss) break;
        vor = g;
        g = weiter;
    }
    for (int c = 0; c < 10; ++c)
        for (int p = 0; p < 10; ++p) e.tabelle[c][p] = (p <= c && c <= l) ? beste_t[flach(c, p)] : 0;
}

void RATE_CODE(CODE& zug, byte& p, byte& z, unsigned char& taste) {
    // A code has at most 9 places; saying so lets the compiler see the
    // writes into zug stay inside it.
    const int l = std::min<int>(X.CODELAENGE, 9);
    F6_GEDR = false;
    RATENDRAN = true;
    bool reduktion = ZAEHLE_VORH_FARBE > 2;
    ZAEHLE_VORH_FARBE = 0;
    ZAHL_DER_VERSUCHE = ZAHLGESAMTVERSUCHE;
    SPIELZEIT = RESTZEIT = 0;
    ZEIT_GERATEN_KL100 = true;
    p = 0;
    NUMMER_PLUS = NUMMER + 6;

    auto abbrechen = [&] {
        RATEN_ZEITANZEIGE = false;
        abandon_match(taste);
    };
    if (!ERLAUBT || !VERS) {  // no store: nothing can be guessed
        abbrechen();
        return;
    }

    // One candidate left: it is the secret.
    if (ZAHLGESAMTVERSUCHE == 1 || !ERLAUBT->link3) {
        AEQUI_KLASSE = false;
        p = static_cast<byte>(l);
        LOESUNG.blank();
        for (int i = 1; i <= l; ++i) LOESUNG[i] = static_cast<char>(FARBARRAY[ERLAUBT->d(i)]);
        // The guess is kept in the trial too, so the history holds what was shown.
        zug = LOESUNG;
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
        reduktion = false;
    }
    PTR g0 = VERS;
    bool einzeln = false;
    if (AEQUI_KLASSE) {
        g0 = &ANFANG;
        reduktion = false;
        ZAHL_DER_VERSUCHE = 1;
        einzeln = true;
    }
    const bool echte_suche = !AEQUI_KLASSE;
    zeige_code(g0);

    Reduktion red;
    PTR start = g0, vor_start = nullptr;
    if (reduktion) start = bereite_reduktion_vor(red, g0, vor_start);

    beginne_suchanzeige(echte_suche);
    SuchErgebnis e;
    bewerte_rateliste(start, vor_start, einzeln, red, echte_suche, Verfahren::kompakt, e);
    if (e.esc || !e.beste) {
        abbrechen();
        return;
    }

    // After a cut the next search begins with the guesses not looked at now.
    if (echte_suche && e.letzte && e.letzte->link2 && ZAHLGESAMTVERSUCHE > 2) {
        if (!e.vorgaenger) e.vorgaenger = SCHLUSSLICHT;
        SCHLUSSLICHT->link2 = VERS;
        VERS = e.letzte->link2;
        e.letzte->link2 = nullptr;
        SCHLUSSLICHT = e.letzte;
    }

    // Output of the chosen guess.
    beende_suchanzeige();
    AKTUELL = e.beste;
    zug.blank();
    for (int i = 1; i <= l; ++i) zug[i] = static_cast<char>(FARBARRAY[AKTUELL->d(i)]);
    console::goto_xy(WX, WY);
    for (int i = 1; i <= l; ++i) console::write(zug[i]);
    WX = static_cast<byte>(WX + 6 + l / 2);
    RATENDRAN = false;

    antworte_und_verenge(AKTUELL, e.tabelle, echte_suche, e.vorgaenger, zug, p, z, taste);
}

}  // namespace zqspiel
