#include "engine/clock.h"

#include <cstdio>
#include <string>

#include "console/console.h"
#include "engine/board.h"

namespace zqspiel {

namespace {

constexpr std::int32_t TAG_HSEK = 8640000;      // hundredths in a day
constexpr std::int32_t HUNDERT_STD = 36000000;  // 100 hours in hundredths

// Month and year at the last redraw of the date: a clock moved by whole months
// lands on the same day number, and the date must still be redrawn.
std::uint16_t monat_alt = 0, jahr_alt = 0;

std::int32_t differenz(std::int32_t spaeter, std::int32_t frueher) {
    std::int32_t d = spaeter - frueher;
    if (d < 0) d += TAG_HSEK;
    return d;
}

std::string zwei(unsigned n) {
    char b[4];
    std::snprintf(b, sizeof b, "%02u", n % 100);
    return b;
}

void schreibe(int col, int row, const std::string& s) { console::write_at(col, row, s); }

void schreibe_ziffer(int col, int row, unsigned d) {
    console::goto_xy(col, row);
    console::write_num(d);
}

// Hours, minutes, seconds of a count of hundredths; 100 hours or more give
// 99.59.59 and report it.
bool zerlege(std::int64_t hsek, std::uint16_t& h, std::uint16_t& m, std::uint16_t& s) {
    if (hsek >= HUNDERT_STD) {
        h = 99;
        m = 59;
        s = 59;
        return true;
    }
    if (hsek < 0) hsek = 0;
    h = static_cast<std::uint16_t>(hsek / 360000);
    m = static_cast<std::uint16_t>(hsek / 6000 % 60);
    s = static_cast<std::uint16_t>(hsek / 100 % 60);
    return false;
}

// A duration row (21..23): "hh Std. mm Min. ss" / "hh hours mm min. ss",
// redrawn from the largest part that changed.
void zeige_dauer(int row, std::uint16_t h, std::uint16_t m, std::uint16_t s, std::uint16_t& h_alt,
                 std::uint16_t& m_alt, std::uint16_t& s_alt) {
    if (h != h_alt) {
        if (SP_D)
            schreibe(16, row, zwei(h) + " Std. " + zwei(m) + " Min. " + zwei(s));
        else
            schreibe(15, row, zwei(h) + " hours " + zwei(m) + " min. " + zwei(s));
    } else if (m != m_alt) {
        schreibe(24, row, zwei(m) + (SP_D ? " Min. " : " min. ") + zwei(s));
    } else if (s != s_alt) {
        if (s / 10 != s_alt / 10)
            schreibe(32, row, zwei(s));
        else
            schreibe_ziffer(33, row, s % 10);
    }
    h_alt = h;
    m_alt = m;
    s_alt = s;
}

// A time of the search line: "hh.mm.ss" from column col.
void zeige_suchzeit(int col, std::uint16_t h, std::uint16_t m, std::uint16_t s, std::uint16_t& h_alt,
                    std::uint16_t& m_alt, std::uint16_t& s_alt) {
    if (h != h_alt)
        schreibe(col, 25, zwei(h) + "." + zwei(m) + "." + zwei(s));
    else if (m != m_alt)
        schreibe(col + 3, 25, zwei(m) + "." + zwei(s));
    else if (s != s_alt) {
        if (s / 10 != s_alt / 10)
            schreibe(col + 6, 25, zwei(s));
        else
            schreibe_ziffer(col + 7, 25, s % 10);
    }
    h_alt = h;
    m_alt = m;
    s_alt = s;
}

void zeige_datum() {
    std::string t;
    if (SP_D) {
        t = datum_deutsch(JAHR, MONAT, TAG, WOTAG);
        t.resize(23, ' ');
        schreibe(16, 19, t);
    } else {
        t = datum_englisch(JAHR, MONAT, TAG, WOTAG);
        t.resize(24, ' ');
        schreibe(15, 19, t);
    }
}

const char* vor_nach(unsigned h) { return h < 12 ? " a.m., " : " p.m., "; }

void zeige_uhrzeit() {
    const unsigned h = STD_MOD24;
    if (h != STD_ALT) {
        if (SP_D)
            schreibe(16, 20, zwei(h) + "." + zwei(MIN) + " Uhr, " + zwei(SEK));
        else
            schreibe(15, 20, zwei(h % 12 == 0 ? 12 : h % 12) + ":" + zwei(MIN) + vor_nach(h) + zwei(SEK));
        STD_ALT = static_cast<std::uint16_t>(h);
        MIN_ALT = MIN;
    } else if (MIN != MIN_ALT) {
        if (SP_D)
            schreibe(19, 20, zwei(MIN) + " Uhr, " + zwei(SEK));
        else
            schreibe(18, 20, zwei(MIN) + vor_nach(h) + zwei(SEK));
        MIN_ALT = MIN;
    } else if (SEK / 10 != SEK_ALT / 10) {
        schreibe(27, 20, zwei(SEK));
    } else {
        schreibe_ziffer(28, 20, SEK % 10);
    }
    SEK_ALT = SEK;
}

std::int32_t kappe(std::int64_t v) { return v > 2147483647 ? 2147483647 : static_cast<std::int32_t>(v); }

void schreibe_sterne(std::int32_t n) { schreibe(44, 25, std::string(static_cast<std::size_t>(n), '*')); }

void suchzeile(std::int32_t jetzt, int sx, int sy) {
    if (NEUER_KANDIDAT) {
        NEUER_KANDIDAT = false;
        if (AKTUELL != nullptr) {
            std::string c;
            const int laenge = X.CODELAENGE <= 9 ? X.CODELAENGE : 9;
            for (int i = 1; i <= laenge; ++i) {
                const byte n = AKTUELL->d(i);
                c += static_cast<char>(FARBARRAY[n <= 36 ? n : 0]);
            }
            schreibe(sx, sy, c);
        }
    }

    const std::int32_t spanne = differenz(MERKEZEITLETZTERVERSUCH, MERKE_RATE_ZEIT_AKT);
    const std::int32_t g = GERATENE_VERSUCHE;
    if (spanne < 1 || g < 1 || g >= ZAHL_DER_VERSUCHE) {
        RESTZEIT = 0;
        if (g >= ZAHL_DER_VERSUCHE) {
            ZAHL_DER_STERNE = 10;
            schreibe_sterne(10);
        }
    } else {
        const std::int32_t seit = differenz(jetzt, MERKEZEITLETZTERVERSUCH);
        const std::int32_t pro_versuch = spanne / g;
        const std::int32_t gutschrift = seit < pro_versuch ? seit : pro_versuch;
        RESTZEIT = kappe(static_cast<std::int64_t>(ZAHL_DER_VERSUCHE - g) * spanne / g - gutschrift);
        if (ZEITLIMIT_GR_0 && ZEITLIMIT99 - spanne < RESTZEIT) {
            RESTZEIT = ZEITLIMIT99 - spanne;
            if (RESTZEIT < 0) RESTZEIT = 0;
            if (g <= NUMMER_PLUS) {
                RESTZEIT2 = kappe(static_cast<std::int64_t>(NUMMER_PLUS - g) * spanne / g - gutschrift);
                if (RESTZEIT2 > RESTZEIT) RESTZEIT = RESTZEIT2;
            }
            // A bar for the share of the time limit used, never beyond the
            // share of the trials the search must make at least.
            std::int64_t sterne = 10;
            if (ZEITLIMIT_DIV_10 > 0 && spanne / ZEITLIMIT_DIV_10 < sterne) sterne = spanne / ZEITLIMIT_DIV_10;
            if (NUMMER_PLUS > 0) {
                const std::int64_t anteil = static_cast<std::int64_t>(g) * 10 / NUMMER_PLUS;
                if (anteil < sterne) sterne = anteil;
            }
            if (sterne > ZAHL_DER_STERNE) {
                ZAHL_DER_STERNE = static_cast<std::int32_t>(sterne);
                schreibe_sterne(ZAHL_DER_STERNE);
            }
        }
    }

    SPIELZEIT = differenz(jetzt, MERKE_RATE_ZEIT_AKT);
    if (ZEIT_GERATEN_KL100) {
        if (zerlege(SPIELZEIT, STD_GERATEN, MIN_GERATEN, SEK_GERATEN)) ZEIT_GERATEN_KL100 = false;
        zeige_suchzeit(35, STD_GERATEN, MIN_GERATEN, SEK_GERATEN, STD_GERATEN_ALT, MIN_GERATEN_ALT,
                       SEK_GERATEN_ALT);
    }
    if (RESTZEIT >= 0) {
        zerlege(RESTZEIT, STD_REST, MIN_REST, SEK_REST);
        zeige_suchzeit(72, STD_REST, MIN_REST, SEK_REST, STD_REST_ALT, MIN_REST_ALT, SEK_REST_ALT);
    }
}

}  // namespace

void SCHREIBE_ZEIT() {
    const int sx = console::where_x(), sy = console::where_y();
    const std::uint8_t attr = console::text_attr();
    const console::Time t = console::get_time();
    STD = t.hour;
    MIN = t.minute;
    SEK = t.second;
    HSEK = t.hundredth;
    if (ZEITEIN) {
        STD_MOD24 = static_cast<std::uint16_t>(STD % 24);
        const std::int32_t jetzt = STD_MOD24 * 360000 + MIN * 6000 + SEK * 100 + HSEK;
        if (RATENDRAN != RATENDRAN_ALT) {
            RATENDRAN_ALT = RATENDRAN;
            if (RATENDRAN)
                MERKE_RATE_ZEIT = jetzt;
            else
                HILFSZEIT += differenz(jetzt, MERKE_RATE_ZEIT);
        }
        if (SETZE_RATE_ZEIT_AKT) {
            MERKE_RATE_ZEIT_AKT = jetzt;
            SETZE_RATE_ZEIT_AKT = false;
        }
        if (SETZEZEITLETZTERVERSUCH) {
            MERKEZEITLETZTERVERSUCH = jetzt;
            SETZEZEITLETZTERVERSUCH = false;
        }

        if (SEK != SEK_ALT) {
            console::text_attr(NORMALFARBE);
            AKTUELLEZEIT = jetzt - HSEK;
            // Once a second, not only when the time of day goes backwards: after a
            // suspend or a clock put forward the time may lie ahead of where it
            // was and still be on another day.
            if (!VIRTUALDATE) {
                const console::Date d = console::get_date();
                JAHR = d.year;
                MONAT = d.month;
                TAG = d.day;
                WOTAG = d.weekday;
            }
            const std::int32_t dauer = differenz(AKTUELLEZEIT, ANFANGSZEIT);
            if (VIRTUALDATE) {
                if (AKTUELLEZEIT < ANFANGSZEIT && VIRTUALOLDDATE) {
                    JAHR = VIRJ2;
                    MONAT = VIRM2;
                    TAG = VIRT2;
                    WOTAG = VIRWT2;
                    VIRTUALOLDDATE = false;
                } else if (AKTUELLEZEIT >= ANFANGSZEIT && !VIRTUALOLDDATE) {
                    JAHR = VIRJ1;
                    MONAT = VIRM1;
                    TAG = VIRT1;
                    WOTAG = VIRWT1;
                    VIRTUALOLDDATE = true;
                }
            }
            RATE_ZEIT = HILFSZEIT + (RATENDRAN ? differenz(jetzt, MERKE_RATE_ZEIT) : 0);
            const std::int32_t geraten = RATE_ZEIT / 100 * 100;
            std::int32_t antwort = dauer - geraten;
            if (antwort < 0) antwort = 0;

            if (TAG != TAG_ALT || MONAT != monat_alt || JAHR != jahr_alt) {
                TAG_ALT = TAG;
                monat_alt = MONAT;
                jahr_alt = JAHR;
                zeige_datum();
            }
            zeige_uhrzeit();

            if (STD_SPIEL_KL100) {
                if (zerlege(dauer, STD_SPIEL, MIN_SPIEL, SEK_SPIEL)) STD_SPIEL_KL100 = false;
                zeige_dauer(21, STD_SPIEL, MIN_SPIEL, SEK_SPIEL, STD_ALT_SPIEL, MIN_ALT_SPIEL, SEK_ALT_SPIEL);
            }
            if (STD_RATEN_KL100) {
                if (zerlege(geraten, STD_RATEN, MIN_RATEN, SEK_RATEN)) STD_RATEN_KL100 = false;
                zeige_dauer(22, STD_RATEN, MIN_RATEN, SEK_RATEN, STD_ALT_RATEN, MIN_ALT_RATEN, SEK_ALT_RATEN);
            }
            if (STD_ANTW_KL100) {
                if (zerlege(antwort, STD_ANTW, MIN_ANTW, SEK_ANTW)) STD_ANTW_KL100 = false;
                zeige_dauer(23, STD_ANTW, MIN_ANTW, SEK_ANTW, STD_ALT_ANTW, MIN_ALT_ANTW, SEK_ALT_ANTW);
            }
            if (RATEN_ZEITANZEIGE) suchzeile(jetzt, sx, sy);
        }
    }
    console::text_attr(attr);
    console::goto_xy(sx, sy);
}

unsigned char wait_for_key(Redraw redraw) {
    if (redraw == Redraw::before_every_look) SCHREIBE_ZEIT();
    while (!console::key_pressed()) SCHREIBE_ZEIT();
    return console::read_key();
}

void setze_uhr_fuer_partie() {
    ZAHL_DER_STERNE = 0;
    STD_SPIEL_KL100 = STD_RATEN_KL100 = STD_ANTW_KL100 = ZEIT_GERATEN_KL100 = true;
    SETZE_RATE_ZEIT_AKT = NEUER_KANDIDAT = RATEN_ZEITANZEIGE = SETZEZEITLETZTERVERSUCH = false;
}

void starte_spieluhr() {
    ZEITEIN = false;
    NEUER_KANDIDAT = true;
    RATENDRAN = RATENDRAN_ALT = X.PC_RAET;
    SPIELZEIT = RESTZEIT = HILFSZEIT = 0;
    RATE_ZEIT = 0;
    STD_SPIEL = MIN_SPIEL = SEK_SPIEL = STD_ALT_SPIEL = MIN_ALT_SPIEL = SEK_ALT_SPIEL = 0;
    STD_RATEN = MIN_RATEN = SEK_RATEN = STD_ALT_RATEN = MIN_ALT_RATEN = SEK_ALT_RATEN = 0;
    STD_ANTW = MIN_ANTW = SEK_ANTW = STD_ALT_ANTW = MIN_ALT_ANTW = SEK_ALT_ANTW = 0;
    STD_GERATEN = MIN_GERATEN = SEK_GERATEN = STD_GERATEN_ALT = MIN_GERATEN_ALT = SEK_GERATEN_ALT = 0;
    STD_REST = MIN_REST = SEK_REST = STD_REST_ALT = MIN_REST_ALT = SEK_REST_ALT = 0;

    const console::Date d = console::get_date();
    JAHR = d.year;
    MONAT = d.month;
    TAG = d.day;
    WOTAG = d.weekday;
    SCHREIBE_ZEIT();  // the clock is stopped: this only reads the time
    STD_MOD24 = static_cast<std::uint16_t>(STD % 24);
    if (VIRTUALDATE) {
        JAHR = VIRJ1;
        MONAT = VIRM1;
        TAG = VIRT1;
        WOTAG = VIRWT1;
        VIRTUALOLDDATE = true;
    }
    TAG_ALT = TAG;
    monat_alt = MONAT;
    jahr_alt = JAHR;
    STD_ALT = STD_MOD24;
    MIN_ALT = MIN;
    SEK_ALT = SEK;
    const std::int32_t stempel = STD_MOD24 * 360000 + MIN * 6000 + SEK * 100;
    ANFANGSZEIT = AKTUELLEZEIT = MERKE_RATE_ZEIT = stempel;
    MERKE_RATE_ZEIT_AKT = MERKEZEITLETZTERVERSUCH = stempel + HSEK;
    HSEK = 0;
    schreibe_spielbeginn();
    ZEITEIN = true;
}

void beginne_suchanzeige(bool echte_suche) {
    ZAHL_DER_STERNE = 0;
    GERATENE_VERSUCHE = 0;
    STD_GERATEN = MIN_GERATEN = SEK_GERATEN = STD_GERATEN_ALT = MIN_GERATEN_ALT = SEK_GERATEN_ALT = 0;
    STD_REST = MIN_REST = SEK_REST = STD_REST_ALT = MIN_REST_ALT = SEK_REST_ALT = 0;
    SETZEZEITLETZTERVERSUCH = SETZE_RATE_ZEIT_AKT = true;
    if (echte_suche) RATEN_ZEITANZEIGE = true;
}

void beende_suchanzeige() {
    RATEN_ZEITANZEIGE = false;
    const int sx = console::where_x(), sy = console::where_y();
    const std::uint8_t attr = console::text_attr();
    console::text_attr(NORMALFARBE);
    schreibe(35, 25, SP_D ? "00.00.00 .......... benoetigte Zeit: 00.00.00"
                          : "00.00.00 .......... time yet needed: 00.00.00");
    console::text_attr(attr);
    console::goto_xy(sx, sy);
}

}  // namespace zqspiel
