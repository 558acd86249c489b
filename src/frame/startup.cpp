// Start-up: the system date, the defaults, the conditions file, the checks,
// the memory budget, the colours, and the day after the virtual game date.
#include <cstdint>

#include "console/console.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/shuffle_table.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_file.h"
#include "engine/setup/conditions_screen.h"
#include "engine/setup/names.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"

namespace frame {

using namespace zqspiel;

namespace {

// The console's record of the text mode in force before the start; the
// terminal always reports the 80-column colour mode.
constexpr int LAST_TEXT_MODE = 3;

// A signal that ends the program (SIGTERM, SIGHUP and the like) ends it
// through here: the conditions are kept as on a normal exit.
void save_on_signal() { BEDINGUNGENSPEICHERN(); }

bool leap_year(int year) {
    if (year > 1582) return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return year % 4 == 0;
}

}  // namespace

void ZWEITESDATUM() {
    int j = VIRJ1, m = VIRM1, t = VIRT1;
    VIRWT2 = VIRWT1 == 6 ? 0 : static_cast<std::uint16_t>(VIRWT1 + 1);
    const bool short_month = m == 4 || m == 6 || m == 9 || m == 11;
    if (m == 12 && t == 31) {
        ++j;
        m = 1;
        t = 1;
    } else if (t == 31 || (t == 30 && short_month)) {
        ++m;
        t = 1;
    } else if (m == 2 && (t == 29 || (t == 28 && !leap_year(j)))) {
        m = 3;
        t = 1;
    } else if (j == 1582 && m == 10 && t == 4) {
        t = 15;  // the calendar reform skipped ten days
    } else {
        ++t;
    }
    VIRJ2 = static_cast<std::uint16_t>(j);
    VIRM2 = static_cast<std::uint16_t>(m);
    VIRT2 = static_cast<std::uint16_t>(t);
}

void ANFANGEN() {
    // Ctrl-C arriving as key 3, the terminal's state and failed allocations
    // returning nothing are the console's and the arena's business.
    FARBSCHIRM = true;

    console::Date d = console::get_date();
    const console::Time t = console::get_time();
    if (d.year < 1980 || d.year > 9999) {
        d.year = d.year < 1980 ? static_cast<std::uint16_t>(d.year % 100 + 2000) : std::uint16_t{9999};
        if (d.month == 2 && d.day == 29 && !leap_year(d.year)) d.day = 28;  // no such day in the new year
        d.weekday = console::weekday_of(d.year, d.month, d.day);
        console::set_date(d);  // a refusal leaves the program's copy corrected
    }
    JAHR = d.year;
    MONAT = d.month;
    TAG = d.day;
    WOTAG = d.weekday;
    STD = t.hour;
    MIN = t.minute;
    SEK = t.second;
    HSEK = t.hundredth;

    ZEITEIN = false;
    INITFELD();
    VIRTUALDATE = false;
    VIRTUALOLDDATE = true;
    VIRJ1 = d.year;
    VIRM1 = d.month;
    VIRT1 = d.day;
    VIRWT1 = d.weekday;
    ZWEITESDATUM();

    bind_conditions_file();
    const std::uint64_t stamp = ((static_cast<std::uint64_t>(d.year) * 13 + d.month) * 32 + d.day) * 8640000ULL +
                                ((t.hour * 60ULL + t.minute) * 60 + t.second) * 100 + t.hundredth;
    console::active().rng.seed(stamp);
    NAMEN_UEBERSPRINGEN = true;
    INITIALISIERE();

    read_conditions();

    LETZTEZAHL = 0;
    X1 = POSITION{{42, 62}};
    X3 = POSITION{{56, 76}};
    X4 = POSITION{{58, 78}};
    VERS = nullptr;
    ERL = nullptr;
    VERSLOE = nullptr;
    ERLLOE = nullptr;
    ANFANG.link2 = nullptr;
    ANFANG.link3 = nullptr;
    MERKEMEMAVAIL = -5;  // no budget has it: the first check makes the capacity table

    check_conditions();

    SPEICHERSTUFE = X.SPEICHER;
    set_memavail(SPEICHERSTUFE);

    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT, false, false);

    LEERZ_MERKER = X.LEERZEICHEN_ERLAUBT;
    set_zeitlimit();
    NAMEOK(false);

    FARBSCHIRM = choose_text_mode(LAST_TEXT_MODE) == 3;
    NORMALFARBE = X.NORMALATTR;
    HERVORFARBE = X.HERVORATTR;
    check_colour_pair(FARBSCHIRM, NORMALFARBE, HERVORFARBE);
    console::text_attr(NORMALFARBE);
    console::set_exit_hook(save_on_signal);
    SCHREIBE_ZEIT();
}

}  // namespace frame
