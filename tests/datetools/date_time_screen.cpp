#include <gtest/gtest.h>

#include <string>

#include "console/keys.h"
#include "console/virtual_console.h"
#include "datetools/zuf.h"
#include "support/screen_check.h"

using console::screen;

namespace {

using console::key::scan::UP, console::key::scan::DOWN, console::key::scan::LEFT, console::key::scan::F1;

void run(console::ScopedVirtualConsole& s, bool german = true) {
    s.vc.key(13);
    zuf::KORRIGIERE_ZEIT(german, 0x1F, 0x1E);
    EXPECT_EQ(s.vc.pending(), 0u);
}

}  // namespace

TEST(TimeCorrection, GermanScreenWithTheClockOfEntry) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 9, 5, 7);
    run(s);
    EXPECT_EQ(row_of(1), "Bitte stellen Sie Datum und Uhrzeit ein (benoetigt Administrationsrechte):");
    EXPECT_EQ(screen().attr_at(1, 1), 0x1E);
    EXPECT_EQ(row_of(11), "Jede Eingabe bewirkt eine sofortige Aenderung von Datum, bzw. Uhrzeit.");
    EXPECT_EQ(screen().attr_at(26, 11), 0x1F);
    EXPECT_EQ(screen().attr_at(27, 11), 0x1E);
    EXPECT_EQ(screen().attr_at(69, 11), 0x1E);
    EXPECT_EQ(screen().attr_at(70, 11), 0x1F);
    EXPECT_EQ(row_of(14), "Sie koennen diesen Programmteil auch als Wochentagskalender ab 1980 verwenden.");
    EXPECT_EQ(row_of(18), "                Jahr (1980 - ???\?): 2026 (ist kein Schaltjahr.)");
    EXPECT_EQ(row_of(19), "                Monat    (01 - 12): 12.  (Dezember)");
    EXPECT_EQ(row_of(20), "                Tag      (01 - 31): 08.");
    EXPECT_EQ(row_of(21), "                Wochentag         : Dienstag.");
    EXPECT_EQ(row_of(23), "                Stunde   (00 - 23): 09 Uhr,");
    EXPECT_EQ(row_of(24), "                Minute   (00 - 59): 05 Minuten und");
    EXPECT_EQ(row_of(25), "                Sekunde  (00 - 59): 07 Sekunden.");
    EXPECT_EQ(s.vc.clock_settings, 0);  // looking changes nothing
}

TEST(TimeCorrection, EnglishHourLineWithTheTwelveHourForm) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 13, 5, 0);
    run(s, false);
    EXPECT_EQ(row_of(18), "                Year (1980 - ???\?): 2026 (is no leap-year.)");
    EXPECT_EQ(row_of(23), "                Hour     (00 - 23): 13 (= 01 p.m.)");
    EXPECT_EQ(row_of(24), "                Minute   (00 - 59): 05 minutes and");
    EXPECT_EQ(row_of(25), "                Second   (00 - 59): 00 seconds.");
    EXPECT_EQ(row_of(16), "the initial date rememberd by the computer by pressing the 'F1'-key.");

    console::ScopedVirtualConsole m;
    m.vc.set_clock(2026, 12, 8, 0, 30, 0);
    run(m, false);
    EXPECT_EQ(row_of(23), "                Hour     (00 - 23): 00 (= 12 a.m.)");
    console::ScopedVirtualConsole n;
    n.vc.set_clock(2026, 12, 8, 12, 30, 0);
    run(n, false);
    EXPECT_EQ(row_of(23), "                Hour     (00 - 23): 12 (= 12 p.m.)");
}

TEST(TimeCorrection, YearDigitsSetTheClockAtOnce) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    // 2 and 0 leave the year as it is (no setting); 3 gives 2036, 0 gives 2030
    s.vc.keys("2030");
    run(s);
    EXPECT_EQ(s.vc.clock_settings, 2);
    const console::Date d = console::get_date();
    EXPECT_EQ(d.year, 2030);
    EXPECT_EQ(d.month, 12);
    EXPECT_EQ(d.day, 8);
    EXPECT_EQ(console::get_time().hour, 10);
    EXPECT_EQ(row_of(18), "                Jahr (1980 - ???\?): 2030 (ist kein Schaltjahr.)");
    EXPECT_EQ(row_of(21), "                Wochentag         : Sonntag.");
}

TEST(TimeCorrection, DayDigitCorrectedBeforeItIsSet) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 6, 8, 10, 0, 0);
    // down twice lands on the day ones (June skips the month tens); left to the
    // day tens: 3 gives 38, which becomes 30 in June
    s.vc.ext(DOWN).ext(DOWN).ext(LEFT).keys("3");
    run(s);
    const console::Date d = console::get_date();
    EXPECT_EQ(d.month, 6);
    EXPECT_EQ(d.day, 30);
}

TEST(TimeCorrection, HourTensTwoAtNineteenGivesTwenty) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 19, 15, 0);
    // up from the year thousands reaches the second tens; up twice more the hour tens
    s.vc.ext(UP).ext(UP).ext(UP).keys("2");
    run(s);
    EXPECT_EQ(console::get_time().hour, 20);
    EXPECT_EQ(console::get_time().minute, 15);
    EXPECT_EQ(s.vc.clock_settings, 1);
    EXPECT_EQ(row_of(23), "                Stunde   (00 - 23): 20 Uhr,");
}

TEST(TimeCorrection, HourOnesFromTwentyTakesOnlyZeroToThree) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 20, 15, 0);
    // hour ones: 7 is ignored at hour 20, 3 gives 23
    s.vc.ext(UP).ext(UP).ext(UP).ext(LEFT).keys("73");
    run(s);
    EXPECT_EQ(console::get_time().hour, 23);
}

TEST(TimeCorrection, MinuteAndSecondDigits) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    // the second tens takes 0..5: 7 ignored, 4 -> 40 s; minute ones via up: 9 -> 09 min
    s.vc.ext(UP).keys("74").ext(UP).keys("9");
    run(s);
    const console::Time t = console::get_time();
    EXPECT_EQ(t.minute, 9);
    EXPECT_GE(t.second, 40);
    EXPECT_LE(t.second, 41);
}

TEST(TimeCorrection, DownFromTheSecondLineWrapsToTheYear) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    // up lands on the second tens (col 37); down goes back to the year thousands: 3 -> 3026
    s.vc.ext(UP).ext(DOWN).keys("3");
    run(s);
    EXPECT_EQ(console::get_date().year, 3026);
}

TEST(TimeCorrection, F1GoesBackToTheRememberedDate) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    s.vc.keys("1999").ext(F1);
    run(s);
    const console::Date d = console::get_date();
    EXPECT_EQ(d.year, 2026);
    EXPECT_EQ(d.month, 12);
    EXPECT_EQ(d.day, 8);
    EXPECT_EQ(console::get_time().hour, 10);  // the time is left alone
    EXPECT_EQ(row_of(18), "                Jahr (1980 - ???\?): 2026 (ist kein Schaltjahr.)");
}

TEST(TimeCorrection, RefusedSettingKeepsShowingTheRunningClock) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    s.vc.refuse_clock_setting = true;
    s.vc.keys("3").ext(UP).keys("5").wait(2500);
    run(s);
    EXPECT_EQ(s.vc.clock_settings, 0);
    EXPECT_EQ(console::get_date().year, 2026);
    EXPECT_EQ(row_of(18), "                Jahr (1980 - ???\?): 2026 (ist kein Schaltjahr.)");
    EXPECT_EQ(row_of(25), "                Sekunde  (00 - 59): 02 Sekunden.");
}

TEST(TimeCorrection, MidnightTurnsDateAndWeekdayWhileWaiting) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 31, 23, 59, 59);
    s.vc.wait(2000);
    run(s);
    EXPECT_EQ(row_of(18), "                Jahr (1980 - ???\?): 2027 (ist kein Schaltjahr.)");
    EXPECT_EQ(row_of(19), "                Monat    (01 - 12): 01.  (Januar)");
    EXPECT_EQ(row_of(20), "                Tag      (01 - 31): 01.");
    EXPECT_EQ(row_of(21), "                Wochentag         : Freitag.");
    EXPECT_EQ(row_of(23), "                Stunde   (00 - 23): 00 Uhr,");
    EXPECT_EQ(row_of(24), "                Minute   (00 - 59): 00 Minuten und");
    EXPECT_EQ(row_of(25), "                Sekunde  (00 - 59): 01 Sekunden.");
    EXPECT_EQ(s.vc.clock_settings, 0);
}

TEST(TimeCorrection, LeapNoteAndFebruaryBoundFollowTheLiveClock) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2023, 12, 31, 23, 59, 59);
    s.vc.wait(1500);
    run(s);
    EXPECT_EQ(row_of(18), "                Jahr (1980 - ???\?): 2024 (ist ein Schaltjahr.)");

    console::ScopedVirtualConsole f;
    f.vc.set_clock(2024, 2, 8, 10, 0, 0);
    f.vc.keys("2025");  // into a common year: the bound of the day line turns to 28
    run(f);
    EXPECT_EQ(row_of(20), "                Tag      (01 - 28): 08.");
    EXPECT_EQ(row_of(18), "                Jahr (1980 - ???\?): 2025 (ist kein Schaltjahr.)");
}

TEST(TimeCorrection, EnglishTwelveHourFormFollowsTheLiveClock) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 11, 59, 59);
    s.vc.wait(1500);
    run(s, false);
    EXPECT_EQ(row_of(23), "                Hour     (00 - 23): 12 (= 12 p.m.)");
    EXPECT_EQ(row_of(24), "                Minute   (00 - 59): 00 minutes and");

    console::ScopedVirtualConsole t;
    t.vc.set_clock(2026, 12, 8, 12, 0, 0);
    t.vc.ext(UP).ext(UP).ext(UP).keys("13");  // tens 1 keeps 12, the cursor moves on; ones 3
    run(t, false);
    EXPECT_EQ(row_of(23), "                Hour     (00 - 23): 13 (= 01 p.m.)");
    EXPECT_EQ(console::get_time().hour, 13);
}
