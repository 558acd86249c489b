#include <gtest/gtest.h>

#include <string>

#include "console/keys.h"
#include "console/virtual_console.h"
#include "datetools/date_editor.h"
#include "datetools/date_panel.h"
#include "datetools/zuf.h"
#include "support/screen_check.h"

using console::screen;

namespace {

using console::key::scan::UP, console::key::scan::DOWN, console::key::scan::LEFT, console::key::scan::RIGHT,
    console::key::scan::F1;

struct Result {
    bool flag = true;
    std::uint16_t y = 0, m = 0, d = 0, wd = 0;
};

Result run(console::ScopedVirtualConsole& s, bool german = true) {
    s.vc.key(13);
    Result r;
    zuf::KALENDER(german, 0x1F, 0x1E, r.flag, r.y, r.m, r.d, r.wd);
    EXPECT_EQ(s.vc.pending(), 0u);
    return r;
}

}  // namespace

TEST(Calendar, LeavingAtOnceReturnsTodayWithTheFlagCleared) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    const Result r = run(s);
    EXPECT_FALSE(r.flag);
    EXPECT_EQ(r.y, 2026);
    EXPECT_EQ(r.m, 12);
    EXPECT_EQ(r.d, 8);
    EXPECT_EQ(r.wd, 2);
    EXPECT_EQ(s.vc.clock_settings, 0);
}

TEST(Calendar, GermanScreenRowByRow) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    run(s);
    EXPECT_EQ(screen().row_text(1).substr(0, 48), "Bitte stellen Sie Ihr virtuelles Spieldatum ein:");
    EXPECT_EQ(screen().attr_at(1, 1), 0x1E);
    EXPECT_EQ(row_of(9), "Den Wochentag koennen Sie nicht aendern, er ergibt sich aus dem Datum.");
    EXPECT_EQ(screen().attr_at(1, 9), 0x1F);
    EXPECT_EQ(screen().attr_at(5, 9), 0x1E);
    EXPECT_EQ(screen().attr_at(14, 9), 0x1F);
    EXPECT_EQ(row_of(12),
              "Es werden nur Aenderungen zugelassen,die auch zu gueltigen Ergebnissen fuehren.");
    EXPECT_EQ(row_of(15), "verwenden. Ein Tastendruck auf \"F1\" setzt dann das angezeigte virtuelle");
    EXPECT_EQ(screen().attr_at(33, 15), 0x1E);
    EXPECT_EQ(row_of(18), "                Jahr (0000 - 9999): 2026 (ist kein Schaltjahr.)");
    EXPECT_EQ(row_of(19), "                Monat    (01 - 12): 12.  (Dezember)");
    EXPECT_EQ(row_of(20), "                Tag      (01 - 31): 08.");
    EXPECT_EQ(row_of(21), "                Wochentag         : Dienstag.");
    EXPECT_EQ(row_of(23),
              "   Auf Donnerstag, den 4. Oktober 1582 folgt Freitag, der 15. Oktober 1582.");
    EXPECT_EQ(row_of(25), "   heute gueltigen Gregorianischen Kalender umgestellt.");
}

TEST(Calendar, EnglishPanel) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2024, 3, 1, 10, 0, 0);
    run(s, false);
    EXPECT_EQ(row_of(18), "                Year (0000 - 9999): 2024 (is a leap-year.)");
    EXPECT_EQ(row_of(19), "                Month    (01 - 12): 03   (March)");
    EXPECT_EQ(row_of(20), "                Day      (01 - 31): 01");
    EXPECT_EQ(screen().text(39, 20, 1), " ");
    EXPECT_EQ(row_of(21), "                Day of the week   : Friday.");
    EXPECT_EQ(row_of(16),
              "the initial real date rememberd by the computer by pressing the 'F1'-key.");
    EXPECT_EQ(screen().attr_at(65, 16), 0x1E);
}

TEST(Calendar, TypingAYearMonthAndDayIntoTheGap) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    // year 1582; cursor wraps to the thousands; down to the month tens; 1, 0 -> October;
    // down to the day tens: 0, 7 -> the 7th, which does not exist and becomes the 17th.
    s.vc.keys("1582").ext(DOWN).keys("10").ext(DOWN).keys("07");
    const Result r = run(s);
    EXPECT_TRUE(r.flag);
    EXPECT_EQ(r.y, 1582);
    EXPECT_EQ(r.m, 10);
    EXPECT_EQ(r.d, 17);
    EXPECT_EQ(r.wd, 0);  // Sunday, counted on from Friday the 15th
    EXPECT_EQ(screen().text(37, 20, 3), "17.");
    EXPECT_EQ(screen().text(37, 21, 11), "Sonntag.   ");
    EXPECT_EQ(screen().text(43, 19, 10), "Oktober)  ");
    EXPECT_EQ(s.vc.clock_settings, 0);  // the calendar never touches the system clock
}

TEST(Calendar, Year0000) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    // year 0000, then up from the thousands to the day tens: 0, 1; up to the month: 0 1.
    s.vc.keys("0000").ext(UP).keys("01").ext(UP).keys("01");
    const Result r = run(s);
    EXPECT_TRUE(r.flag);
    EXPECT_EQ(r.y, 0);
    EXPECT_EQ(r.m, 1);
    EXPECT_EQ(r.d, 1);
    EXPECT_EQ(r.wd, 4);  // Thursday
    EXPECT_EQ(screen().text(37, 18, 30), "0000 (ist ein Schaltjahr.)    ");
}

TEST(Calendar, DigitsOutOfRangeAreIgnored) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 5, 10, 0, 0);
    // month tens takes 0..1: the 2 is ignored, the 0 makes month 02.
    // down lands on the day ones; left to the day tens, which in February takes
    // 0..2: the 3 is ignored, 2 gives the 25th. The day ones of a common February
    // from day 20 take 0..8: the 9 is ignored (taken, it would have moved the
    // cursor on to the tens), the 1 gives the 21st. Letters are ignored anywhere.
    s.vc.ext(DOWN).keys("2x0").ext(DOWN).ext(LEFT).keys("32").keys("91");
    const Result r = run(s);
    EXPECT_EQ(r.m, 2);
    EXPECT_EQ(r.d, 21);
    EXPECT_EQ(row_of(20), "                Tag      (01 - 28): 21.");
}

TEST(Calendar, DayOnesAfterThirty) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 1, 30, 10, 0, 0);
    // up to the day tens, which take 0..3 outside February: 4 is ignored; at day 30
    // the ones digit takes 0..1: 5 is ignored, 1 gives the 31st
    s.vc.ext(UP).keys("4").ext(RIGHT).keys("51");
    const Result r = run(s);
    EXPECT_EQ(r.d, 31);
    EXPECT_EQ(r.wd, 6);  // 31 January 2026 is a Saturday
}

TEST(Calendar, MonthTensIsSkippedWhenTheOnesDigitIsThreeOrMore) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 3, 10, 10, 0, 0);
    // down from the year thousands would reach the month tens; with March it lands
    // on the ones digit, so the 5 makes May.
    s.vc.ext(DOWN).keys("5");
    const Result r = run(s);
    EXPECT_EQ(r.m, 5);
    EXPECT_EQ(r.d, 10);
}

TEST(Calendar, RightFromTheMonthOnesWrapsPastAnUnreachableTens) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 5, 10, 10, 0, 0);
    // down lands on the month ones (May); Right would wrap to the tens, which is
    // unreachable, so the cursor stays and 7 makes July.
    s.vc.ext(DOWN).ext(RIGHT).keys("7");
    const Result r = run(s);
    EXPECT_EQ(r.m, 7);
}

TEST(Calendar, DayOnesLockedAtTheThirtiethOfAThirtyDayMonth) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 4, 30, 10, 0, 0);
    // year hundreds (col 38) -> down to the month ones -> down to the day ones,
    // which is locked, so the cursor lands on the day tens; 1 gives the 10th.
    s.vc.ext(RIGHT).ext(DOWN).ext(DOWN).keys("1");
    const Result r = run(s);
    EXPECT_EQ(r.d, 10);
    EXPECT_EQ(r.m, 4);
    EXPECT_EQ(r.y, 2026);
}

TEST(Calendar, LeftAndRightWrapWithinTheYearLine) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    // Left from the thousands wraps to the ones: 9 -> 2029; then the cursor wraps
    // to the thousands; Left twice reaches the tens: 1 -> 2019.
    s.vc.ext(LEFT).keys("9").ext(LEFT).ext(LEFT).keys("1");
    const Result r = run(s);
    EXPECT_EQ(r.y, 2019);
}

TEST(Calendar, UpAndDownWrapBetweenYearAndDayLines) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    // from the year tens (col 39) down three lines returns to the year line at col 38
    // (the hundreds): 1 -> 2126.
    s.vc.ext(RIGHT).ext(RIGHT).ext(DOWN).ext(DOWN).ext(DOWN).keys("1");
    const Result r = run(s);
    EXPECT_EQ(r.y, 2126);
}

TEST(Calendar, LeapNoteAndFebruaryRangeFollowTheYear) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2024, 2, 29, 10, 0, 0);
    // year ones 5: 2025 is a common year, so the 29th becomes the 28th
    s.vc.ext(LEFT).keys("5");
    const Result r = run(s);
    EXPECT_EQ(r.y, 2025);
    EXPECT_EQ(r.d, 28);
    EXPECT_EQ(row_of(18), "                Jahr (0000 - 9999): 2025 (ist kein Schaltjahr.)");
    EXPECT_EQ(row_of(20), "                Tag      (01 - 28): 28.");
}

TEST(Calendar, F1RestoresTodayAndHandsItOut) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    s.vc.keys("1999").ext(F1);
    const Result r = run(s);
    EXPECT_FALSE(r.flag);
    EXPECT_EQ(r.y, 2026);
    EXPECT_EQ(r.wd, 2);
    EXPECT_EQ(screen().text(37, 18, 4), "2026");
    EXPECT_EQ(s.vc.clock_settings, 0);  // F1 in the calendar leaves the system clock alone
}

TEST(Calendar, EditingBackToTodayClearsTheFlag) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    s.vc.ext(LEFT).keys("7").ext(LEFT).keys("6");
    const Result r = run(s);
    EXPECT_FALSE(r.flag);
    EXPECT_EQ(r.y, 2026);
}

TEST(Calendar, EscAndBreakLeaveToo) {
    for (unsigned char end : {27, 3}) {
        console::ScopedVirtualConsole s;
        s.vc.set_clock(2026, 12, 8, 10, 0, 0);
        s.vc.keys("3").key(end);
        Result r;
        zuf::KALENDER(true, 0x1F, 0x1E, r.flag, r.y, r.m, r.d, r.wd);
        EXPECT_TRUE(r.flag);
        EXPECT_EQ(r.y, 3026);
        EXPECT_EQ(s.vc.pending(), 0u);
    }
}

TEST(Calendar, RedrawsOnlyWhatChanged) {
    console::ScopedVirtualConsole s;
    zuf::german = true;
    zuf::panel_normal = 0x1F;
    zuf::edited_date = zuf::CalendarDate{2026, 12, 8, 2, false};
    console::clr_scr();
    zuf::draw_date_labels("0000 - 9999");
    // poison cells that must stay as they are when only the day's ones digit changes
    console::write_at(37, 20, "X");
    console::write_at(37, 18, "Y");
    console::goto_xy(5, 5);
    zuf::edited_date.day = 9;
    zuf::ZEIGE_DATUM(false);
    EXPECT_EQ(screen().text(37, 20, 3), "X9.");
    EXPECT_EQ(screen().text(37, 18, 1), "Y");
    EXPECT_EQ(screen().text(37, 21, 11), "Mittwoch.  ");
    EXPECT_EQ(console::where_x(), 5);  // the cursor stays
    EXPECT_EQ(console::where_y(), 5);
    // a new tens digit rewrites both
    zuf::edited_date.day = 19;
    zuf::ZEIGE_DATUM(false);
    EXPECT_EQ(screen().text(37, 20, 3), "19.");
}
