#include "engine/clock/clock.h"

#include <cstdio>
#include <string>

#include "console/console.h"
#include "engine/clock/date_texts.h"
#include "engine/joined.h"

namespace zqspiel {

namespace {

constexpr std::int32_t DAY_HUNDREDTHS = 8640000;  // hundredths in a day
constexpr std::int32_t HUNDRED_HOURS = 36000000;  // 100 hours in hundredths

// Month and year at the last redraw of the date: a clock moved by whole months
// lands on the same day number, and the date must still be redrawn.
std::uint16_t old_month = 0, old_year = 0;

std::int32_t difference(std::int32_t later, std::int32_t earlier) {
    std::int32_t d = later - earlier;
    if (d < 0) d += DAY_HUNDREDTHS;
    return d;
}

std::string two_digits(unsigned n) {
    char b[4];
    std::snprintf(b, sizeof b, "%02u", n % 100);
    return b;
}

void write_text(int col, int row, const std::string& s) { console::write_at(col, row, s); }

void write_digit(int col, int row, unsigned d) {
    console::goto_xy(col, row);
    console::write_num(d);
}

// Hours, minutes, seconds of a count of hundredths; 100 hours or more give
// 99.59.59 and report it.
bool split_hundredths(std::int64_t hundredths, std::uint16_t& h, std::uint16_t& m, std::uint16_t& s) {
    if (hundredths >= HUNDRED_HOURS) {
        h = 99;
        m = 59;
        s = 59;
        return true;
    }
    if (hundredths < 0) hundredths = 0;
    h = static_cast<std::uint16_t>(hundredths / 360000);
    m = static_cast<std::uint16_t>(hundredths / 6000 % 60);
    s = static_cast<std::uint16_t>(hundredths / 100 % 60);
    return false;
}

// A duration row (21..23): "hh Std. mm Min. ss" / "hh hours mm min. ss",
// redrawn from the largest part that changed.
void show_duration(int row, std::uint16_t h, std::uint16_t m, std::uint16_t s, std::uint16_t& old_h,
                   std::uint16_t& old_m, std::uint16_t& old_s) {
    if (h != old_h) {
        if (SP_D)
            write_text(16, row, two_digits(h) + " Std. " + two_digits(m) + " Min. " + two_digits(s));
        else
            write_text(15, row, two_digits(h) + " hours " + two_digits(m) + " min. " + two_digits(s));
    } else if (m != old_m) {
        write_text(24, row, two_digits(m) + (SP_D ? " Min. " : " min. ") + two_digits(s));
    } else if (s != old_s) {
        if (s / 10 != old_s / 10)
            write_text(32, row, two_digits(s));
        else
            write_digit(33, row, s % 10);
    }
    old_h = h;
    old_m = m;
    old_s = s;
}

// A time of the search line: "hh.mm.ss" from column col.
void show_search_time(int col, std::uint16_t h, std::uint16_t m, std::uint16_t s, std::uint16_t& old_h,
                      std::uint16_t& old_m, std::uint16_t& old_s) {
    if (h != old_h)
        write_text(col, 25, two_digits(h) + "." + two_digits(m) + "." + two_digits(s));
    else if (m != old_m)
        write_text(col + 3, 25, two_digits(m) + "." + two_digits(s));
    else if (s != old_s) {
        if (s / 10 != old_s / 10)
            write_text(col + 6, 25, two_digits(s));
        else
            write_digit(col + 7, 25, s % 10);
    }
    old_h = h;
    old_m = m;
    old_s = s;
}

void show_date() {
    std::string t;
    if (SP_D) {
        t = date_german(JAHR, MONAT, TAG, WOTAG);
        t.resize(23, ' ');
        write_text(16, 19, t);
    } else {
        t = date_english(JAHR, MONAT, TAG, WOTAG);
        t.resize(24, ' ');
        write_text(15, 19, t);
    }
}

const char* am_pm(unsigned h) { return h < 12 ? " a.m., " : " p.m., "; }

void show_time_of_day() {
    const unsigned h = STD_MOD24;
    if (h != STD_ALT) {
        if (SP_D)
            write_text(16, 20, two_digits(h) + "." + two_digits(MIN) + " Uhr, " + two_digits(SEK));
        else
            write_text(15, 20, two_digits(h % 12 == 0 ? 12 : h % 12) + ":" + two_digits(MIN) + am_pm(h) + two_digits(SEK));
        STD_ALT = static_cast<std::uint16_t>(h);
        MIN_ALT = MIN;
    } else if (MIN != MIN_ALT) {
        if (SP_D)
            write_text(19, 20, two_digits(MIN) + " Uhr, " + two_digits(SEK));
        else
            write_text(18, 20, two_digits(MIN) + am_pm(h) + two_digits(SEK));
        MIN_ALT = MIN;
    } else if (SEK / 10 != SEK_ALT / 10) {
        write_text(27, 20, two_digits(SEK));
    } else {
        write_digit(28, 20, SEK % 10);
    }
    SEK_ALT = SEK;
}

std::int32_t clamp32(std::int64_t v) { return v > 2147483647 ? 2147483647 : static_cast<std::int32_t>(v); }

void write_stars(std::int32_t n) { write_text(44, 25, std::string(static_cast<std::size_t>(n), '*')); }

void search_line(std::int32_t now, int sx, int sy) {
    if (NEUER_KANDIDAT) {
        NEUER_KANDIDAT = false;
        if (AKTUELL != nullptr) {
            std::string c;
            const int length = X.CODELAENGE <= 9 ? X.CODELAENGE : 9;
            for (int i = 1; i <= length; ++i) {
                const byte n = AKTUELL->d(i);
                c += static_cast<char>(FARBARRAY[n <= 36 ? n : 0]);
            }
            write_text(sx, sy, c);
        }
    }

    const std::int32_t span = difference(MERKEZEITLETZTERVERSUCH, MERKE_RATE_ZEIT_AKT);
    const std::int32_t g = GERATENE_VERSUCHE;
    if (span < 1 || g < 1 || g >= ZAHL_DER_VERSUCHE) {
        RESTZEIT = 0;
        if (g >= ZAHL_DER_VERSUCHE) {
            ZAHL_DER_STERNE = 10;
            write_stars(10);
        }
    } else {
        const std::int32_t since = difference(now, MERKEZEITLETZTERVERSUCH);
        const std::int32_t per_trial = span / g;
        const std::int32_t credit = since < per_trial ? since : per_trial;
        RESTZEIT = clamp32(static_cast<std::int64_t>(ZAHL_DER_VERSUCHE - g) * span / g - credit);
        if (ZEITLIMIT_GR_0 && ZEITLIMIT99 - span < RESTZEIT) {
            RESTZEIT = ZEITLIMIT99 - span;
            if (RESTZEIT < 0) RESTZEIT = 0;
            if (g <= NUMMER_PLUS) {
                RESTZEIT2 = clamp32(static_cast<std::int64_t>(NUMMER_PLUS - g) * span / g - credit);
                if (RESTZEIT2 > RESTZEIT) RESTZEIT = RESTZEIT2;
            }
            // A bar for the share of the time limit used, never beyond the
            // share of the trials the search must make at least.
            std::int64_t stars = 10;
            if (ZEITLIMIT_DIV_10 > 0 && span / ZEITLIMIT_DIV_10 < stars) stars = span / ZEITLIMIT_DIV_10;
            if (NUMMER_PLUS > 0) {
                const std::int64_t share = static_cast<std::int64_t>(g) * 10 / NUMMER_PLUS;
                if (share < stars) stars = share;
            }
            if (stars > ZAHL_DER_STERNE) {
                ZAHL_DER_STERNE = static_cast<std::int32_t>(stars);
                write_stars(ZAHL_DER_STERNE);
            }
        }
    }

    SPIELZEIT = difference(now, MERKE_RATE_ZEIT_AKT);
    if (ZEIT_GERATEN_KL100) {
        if (split_hundredths(SPIELZEIT, STD_GERATEN, MIN_GERATEN, SEK_GERATEN)) ZEIT_GERATEN_KL100 = false;
        show_search_time(35, STD_GERATEN, MIN_GERATEN, SEK_GERATEN, STD_GERATEN_ALT, MIN_GERATEN_ALT,
                         SEK_GERATEN_ALT);
    }
    if (RESTZEIT >= 0) {
        split_hundredths(RESTZEIT, STD_REST, MIN_REST, SEK_REST);
        show_search_time(72, STD_REST, MIN_REST, SEK_REST, STD_REST_ALT, MIN_REST_ALT, SEK_REST_ALT);
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
        const std::int32_t now = STD_MOD24 * 360000 + MIN * 6000 + SEK * 100 + HSEK;
        if (RATENDRAN != RATENDRAN_ALT) {
            RATENDRAN_ALT = RATENDRAN;
            if (RATENDRAN)
                MERKE_RATE_ZEIT = now;
            else
                HILFSZEIT += difference(now, MERKE_RATE_ZEIT);
        }
        if (SETZE_RATE_ZEIT_AKT) {
            MERKE_RATE_ZEIT_AKT = now;
            SETZE_RATE_ZEIT_AKT = false;
        }
        if (SETZEZEITLETZTERVERSUCH) {
            MERKEZEITLETZTERVERSUCH = now;
            SETZEZEITLETZTERVERSUCH = false;
        }

        if (SEK != SEK_ALT) {
            console::text_attr(NORMALFARBE);
            AKTUELLEZEIT = now - HSEK;
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
            const std::int32_t duration = difference(AKTUELLEZEIT, ANFANGSZEIT);
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
            RATE_ZEIT = HILFSZEIT + (RATENDRAN ? difference(now, MERKE_RATE_ZEIT) : 0);
            const std::int32_t guessed = RATE_ZEIT / 100 * 100;
            std::int32_t answer = duration - guessed;
            if (answer < 0) answer = 0;

            if (TAG != TAG_ALT || MONAT != old_month || JAHR != old_year) {
                TAG_ALT = TAG;
                old_month = MONAT;
                old_year = JAHR;
                show_date();
            }
            show_time_of_day();

            if (STD_SPIEL_KL100) {
                if (split_hundredths(duration, STD_SPIEL, MIN_SPIEL, SEK_SPIEL)) STD_SPIEL_KL100 = false;
                show_duration(21, STD_SPIEL, MIN_SPIEL, SEK_SPIEL, STD_ALT_SPIEL, MIN_ALT_SPIEL, SEK_ALT_SPIEL);
            }
            if (STD_RATEN_KL100) {
                if (split_hundredths(guessed, STD_RATEN, MIN_RATEN, SEK_RATEN)) STD_RATEN_KL100 = false;
                show_duration(22, STD_RATEN, MIN_RATEN, SEK_RATEN, STD_ALT_RATEN, MIN_ALT_RATEN, SEK_ALT_RATEN);
            }
            if (STD_ANTW_KL100) {
                if (split_hundredths(answer, STD_ANTW, MIN_ANTW, SEK_ANTW)) STD_ANTW_KL100 = false;
                show_duration(23, STD_ANTW, MIN_ANTW, SEK_ANTW, STD_ALT_ANTW, MIN_ALT_ANTW, SEK_ALT_ANTW);
            }
            if (RATEN_ZEITANZEIGE) search_line(now, sx, sy);
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

void set_clock_for_match() {
    ZAHL_DER_STERNE = 0;
    STD_SPIEL_KL100 = STD_RATEN_KL100 = STD_ANTW_KL100 = ZEIT_GERATEN_KL100 = true;
    SETZE_RATE_ZEIT_AKT = NEUER_KANDIDAT = RATEN_ZEITANZEIGE = SETZEZEITLETZTERVERSUCH = false;
}

void write_match_start() {
    const int sx = console::where_x(), sy = console::where_y();
    for (int row : {17, 19}) {
        if (SP_D) {
            std::string d = date_german(JAHR, MONAT, TAG, WOTAG);
            d.resize(23, ' ');
            console::write_at(16, row, d);
            console::write_at(16, row + 1, two_digits(STD % 24));
            console::write_at(19, row + 1, two_digits(MIN));
        } else {
            std::string d = date_english(JAHR, MONAT, TAG, WOTAG);
            d.resize(24, ' ');
            console::write_at(15, row, d);
            const unsigned h = STD % 24;
            // The row's frame has no colon between hour and minutes (its colon
            // stands under those of the rows above), so it is written here, as
            // the clock writes it when the hour changes.
            console::write_at(15, row + 1, joined(two_digits(h % 12 == 0 ? 12 : h % 12), ':', two_digits(MIN)));
            console::write_at(21, row + 1, h < 12 ? "a" : "p");
        }
        console::write_at(27, row + 1, two_digits(SEK));
    }
    console::goto_xy(sx, sy);
}

void start_match_clock() {
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
    old_month = MONAT;
    old_year = JAHR;
    STD_ALT = STD_MOD24;
    MIN_ALT = MIN;
    SEK_ALT = SEK;
    const std::int32_t stamp = STD_MOD24 * 360000 + MIN * 6000 + SEK * 100;
    ANFANGSZEIT = AKTUELLEZEIT = MERKE_RATE_ZEIT = stamp;
    MERKE_RATE_ZEIT_AKT = MERKEZEITLETZTERVERSUCH = stamp + HSEK;
    HSEK = 0;
    write_match_start();
    ZEITEIN = true;
}

void begin_search_display(bool real_search) {
    ZAHL_DER_STERNE = 0;
    GERATENE_VERSUCHE = 0;
    STD_GERATEN = MIN_GERATEN = SEK_GERATEN = STD_GERATEN_ALT = MIN_GERATEN_ALT = SEK_GERATEN_ALT = 0;
    STD_REST = MIN_REST = SEK_REST = STD_REST_ALT = MIN_REST_ALT = SEK_REST_ALT = 0;
    SETZEZEITLETZTERVERSUCH = SETZE_RATE_ZEIT_AKT = true;
    if (real_search) RATEN_ZEITANZEIGE = true;
}

void end_search_display() {
    RATEN_ZEITANZEIGE = false;
    const int sx = console::where_x(), sy = console::where_y();
    const std::uint8_t attr = console::text_attr();
    console::text_attr(NORMALFARBE);
    write_text(35, 25, SP_D ? "00.00.00 .......... benoetigte Zeit: 00.00.00"
                          : "00.00.00 .......... time yet needed: 00.00.00");
    console::text_attr(attr);
    console::goto_xy(sx, sy);
}

}  // namespace zqspiel
