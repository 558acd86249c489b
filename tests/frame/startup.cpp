#include <gtest/gtest.h>

#include <chrono>

#include "console/virtual_console.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_file.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"
#include "frame/temp_dir.h"

using namespace zqspiel;

namespace {

struct Day {
    int y, m, d, wd;
    bool operator==(const Day&) const = default;
};

Day next(Day a) {
    VIRJ1 = static_cast<std::uint16_t>(a.y);
    VIRM1 = static_cast<std::uint16_t>(a.m);
    VIRT1 = static_cast<std::uint16_t>(a.d);
    VIRWT1 = static_cast<std::uint16_t>(a.wd);
    frame::ZWEITESDATUM();
    return {VIRJ2, VIRM2, VIRT2, VIRWT2};
}

std::ostream& operator<<(std::ostream& o, const Day& d) {
    return o << d.y << "-" << d.m << "-" << d.d << " wd " << d.wd;
}

struct Start : ::testing::Test {
    console::ScopedVirtualConsole s;
    TempDir tmp;
    void SetUp() override { console::active().program_path = (tmp.dir / "zentrovalquist").string(); }
};

}  // namespace

TEST(SecondDate, TurnsOfMonthAndYear) {
    EXPECT_EQ(next({1900, 2, 28, 3}), (Day{1900, 3, 1, 4}));
    EXPECT_EQ(next({1500, 2, 28, 0}), (Day{1500, 2, 29, 1}));  // Julian: every fourth year
    EXPECT_EQ(next({1500, 2, 29, 1}), (Day{1500, 3, 1, 2}));
    EXPECT_EQ(next({1582, 10, 4, 4}), (Day{1582, 10, 15, 5}));
    EXPECT_EQ(next({9999, 12, 31, 5}), (Day{10000, 1, 1, 6}));
    EXPECT_EQ(next({2000, 2, 28, 1}), (Day{2000, 2, 29, 2}));
    EXPECT_EQ(next({2023, 2, 28, 2}), (Day{2023, 3, 1, 3}));
    EXPECT_EQ(next({2026, 4, 30, 4}), (Day{2026, 5, 1, 5}));
    EXPECT_EQ(next({2026, 1, 30, 5}), (Day{2026, 1, 31, 6}));
    EXPECT_EQ(next({2026, 1, 31, 6}), (Day{2026, 2, 1, 0}));
    EXPECT_EQ(next({1581, 10, 4, 3}), (Day{1581, 10, 5, 4}));  // the reform was in 1582 only
}

// From the reform on, stepping day by day must stay on the Gregorian calendar
// with its weekdays, for every day up to the last year.
TEST(SecondDate, AgreesWithTheGregorianCalendarFrom1582) {
    Day d{1582, 10, 15, console::weekday_of(1582, 10, 15)};
    int days = 0;
    while (d.y <= 9999) {
        const Day n = next(d);
        if (n.y > 9999) break;
        ASSERT_EQ(n.wd, console::weekday_of(n.y, n.m, n.d)) << d;
        ASSERT_TRUE(n.d == d.d + 1 || n.d == 1) << d;
        d = n;
        ++days;
    }
    EXPECT_EQ(d, (Day{9999, 12, 31, console::weekday_of(9999, 12, 31)}));
    using namespace std::chrono;
    const auto span = sys_days(year(9999) / 12 / 31) - sys_days(year(1582) / 10 / 15);
    EXPECT_EQ(days, span.count());
}

TEST_F(Start, YearBefore1980IsMovedIntoThisCentury) {
    s.vc.set_clock(1975, 6, 1, 12, 0, 0);
    frame::ANFANGEN();
    EXPECT_EQ(s.vc.clock_settings, 1);
    EXPECT_EQ(console::get_date().year, 2075);
    EXPECT_EQ(JAHR, 2075);
    EXPECT_EQ(VIRJ1, 2075);
    EXPECT_EQ(WOTAG, console::weekday_of(2075, 6, 1));
    EXPECT_EQ(VIRWT2, (WOTAG + 1) % 7);
}

TEST_F(Start, RefusedClockSettingCorrectsOnlyTheProgramsCopy) {
    s.vc.set_clock(1900, 3, 2, 12, 0, 0);
    s.vc.refuse_clock_setting = true;
    frame::ANFANGEN();
    EXPECT_EQ(s.vc.clock_settings, 0);
    EXPECT_EQ(console::get_date().year, 1900);
    EXPECT_EQ(JAHR, 2000);
    EXPECT_EQ(MONAT, 3);
    EXPECT_EQ(TAG, 2);
}

TEST_F(Start, YearAfter9999) {
    s.vc.set_clock(10004, 2, 29, 12, 0, 0);
    frame::ANFANGEN();
    EXPECT_EQ(JAHR, 9999);
    EXPECT_EQ(MONAT, 2);
    EXPECT_EQ(TAG, 28);  // 9999 has no 29 February
}

TEST_F(Start, AnOrdinaryYearIsLeftAlone) {
    s.vc.set_clock(2026, 12, 31, 23, 59, 58, 50);
    frame::ANFANGEN();
    EXPECT_EQ(s.vc.clock_settings, 0);
    EXPECT_EQ(JAHR, 2026);
    EXPECT_EQ(STD, 23);
    EXPECT_EQ(MIN, 59);
    EXPECT_EQ(SEK, 58);
    EXPECT_EQ(HSEK, 50);
    EXPECT_FALSE(VIRTUALDATE);
    EXPECT_TRUE(VIRTUALOLDDATE);
    EXPECT_EQ(VIRJ2, 2027);
    EXPECT_EQ(VIRM2, 1);
    EXPECT_EQ(VIRT2, 1);
    EXPECT_FALSE(ZEITEIN);
}

TEST_F(Start, WithoutAFileTheDefaultsAreInForce) {
    frame::ANFANGEN();
    EXPECT_FALSE(KANN_LESEN);
    EXPECT_EQ(X.CODELAENGE, 4);
    EXPECT_EQ(MAXFARBE, 10);
    EXPECT_EQ(SPEICHERSTUFE, 10);
    EXPECT_EQ(MEMAVAIL, memavail_of(10));
    EXPECT_EQ(MERKEMEMAVAIL, MEMAVAIL);  // the capacity table is made
    EXPECT_EQ(ZAEHLEFARBEN[5], 35);
    EXPECT_EQ(MERKEZAEHLEFARBEN[5], 35);
    EXPECT_EQ(NORMALFARBE, 31);
    EXPECT_EQ(HERVORFARBE, 30);
    EXPECT_EQ(console::text_attr(), 31);
    EXPECT_EQ(ZEITLIMIT, 1000);
    EXPECT_TRUE(NAMEN_UEBERSPRINGEN);
    EXPECT_TRUE(FARBSCHIRM);
    EXPECT_EQ(X1[1], 42);
    EXPECT_EQ(X1[2], 62);
    EXPECT_EQ(X3[2], 76);
    EXPECT_EQ(X4[1], 58);
    EXPECT_FALSE(std::filesystem::exists(tmp.file()));  // start-up reads only
}

TEST_F(Start, TheFileIsReadCheckedAndCorrected) {
    INITIALISIERE();
    X.NORMALATTR = 0x11;  // invisible text
    X.HERVORATTR = 0x3E;
    X.ZEITSTUFE = 5;
    X.CODELAENGE = 6;
    X.SPEICHER = 1;
    X.ERSTES_ZEICHEN = 'A';
    X.LETZTES_ZEICHEN = '9';
    X.WIEDERHOLUNG = true;
    X.LEERZEICHEN_ERLAUBT = true;
    X.PC_RAET = true;  // 36^6 candidates: far too many for 1 MiB
    X.LOESUNG_FEST = false;
    std::memcpy(&X.NAME1[1], "ANNA", 4);
    std::vector<unsigned char> rec(80);
    std::memcpy(rec.data(), &X, 80);
    tmp.write(rec);

    frame::ANFANGEN();
    EXPECT_TRUE(KANN_LESEN);
    EXPECT_EQ(X.ERSTES_ZEICHEN, 'a');
    EXPECT_EQ(MAXFARBE, 36);
    EXPECT_EQ(SPEICHERSTUFE, 1);
    EXPECT_EQ(MEMAVAIL, 673280);
    EXPECT_FALSE(X.PC_RAET);
    EXPECT_TRUE(X.LOESUNG_FEST);
    EXPECT_TRUE(LEERZ_MERKER);
    EXPECT_EQ(ZEITLIMIT, 5000);
    EXPECT_EQ(NORMALFARBE, 7);
    EXPECT_EQ(HERVORFARBE, 0x0E);
    EXPECT_EQ(std::string(&X.NAME1[1], 5), "Anna ");
}

TEST_F(Start, SeedsTheRandomSourceFromTheClock) {
    s.vc.set_clock(2026, 5, 5, 10, 0, 0);
    frame::ANFANGEN();
    const auto a = console::active().rng.next();
    s.vc.set_clock(2026, 5, 5, 10, 0, 1);
    frame::ANFANGEN();
    const auto b = console::active().rng.next();
    s.vc.set_clock(2026, 5, 5, 10, 0, 0);
    frame::ANFANGEN();
    EXPECT_NE(a, b);
    EXPECT_EQ(console::active().rng.next(), a);
}
