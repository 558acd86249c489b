// The match clock on the fake clock of the virtual console: time of day,
// date, durations, the virtual date and the search line of row 25.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/virtual_console.h"
#include "engine/clock/clock.h"
#include "engine/play/board.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

// Counts the clock readings, so that the cost of a call can be checked.
struct CountingConsole : console::VirtualConsole {
    int times = 0, dates = 0;
    console::Time get_time() override {
        ++times;
        return VirtualConsole::get_time();
    }
    console::Date get_date() override {
        ++dates;
        return VirtualConsole::get_date();
    }
};

class Clock : public ::testing::Test {
protected:
    void SetUp() override {
        console::use(&vc);
        X = BEDINGUNG{};
        X.CODELAENGE = 4;
        X.LOESUNG_FEST = true;
        X.PC_LOESUNG = true;
        X.PC_RAET = false;
        const std::string ring = "0123456789abcdefghijklmnopqrstuvwxyz";
        FARBARRAY[0] = '*';
        for (int n = 1; n <= 36; ++n) FARBARRAY[n] = static_cast<byte>(ring[n - 1]);
        MAXFARBE = 10;
        SP_D = true;
        VIRTUALDATE = false;
        ZEITLIMIT = ZEITLIMIT99 = ZEITLIMIT_DIV_10 = 0;
        ZEITLIMIT_GR_0 = false;
        AKTUELL = nullptr;
        NORMALFARBE = 31;
        HERVORFARBE = 30;
    }
    void TearDown() override {
        ZEITEIN = false;
        console::use(nullptr);
    }
    void start(int y, int mo, int d, int h, int mi, int s, int hs = 0) {
        vc.set_clock(y, mo, d, h, mi, s, hs);
        draw_board(6, true, "     (0011) ");
        set_clock_for_match();
        start_match_clock();
    }
    void tick(std::int64_t ms) {
        vc.advance(ms);
        SCHREIBE_ZEIT();
    }
    std::string at(int col, int row, int len) { return console::screen().text(col, row, len); }
    std::vector<std::string> screen_rows() {
        std::vector<std::string> b;
        for (int r = 1; r <= 25; ++r) b.push_back(console::screen().row_text(r));
        return b;
    }
    CountingConsole vc;
};

}  // namespace

TEST_F(Clock, TimeOfDayAndDateInGerman) {
    start(2026, 12, 7, 23, 59, 58);
    EXPECT_EQ(at(16, 19, 23), "Montag, 7.12.2026,     ");
    EXPECT_EQ(at(16, 20, 13), "23.59 Uhr, 58");
    EXPECT_TRUE(ZEITEIN);
    tick(1000);
    EXPECT_EQ(at(16, 20, 13), "23.59 Uhr, 59");
    tick(1000);  // midnight: new hour, new date
    EXPECT_EQ(at(16, 20, 22), "00.00 Uhr, 00 Sekunden");
    EXPECT_EQ(at(16, 19, 23), "Dienstag, 8.12.2026,   ");
    // The start stays as it was.
    EXPECT_EQ(at(16, 17, 23), "Montag, 7.12.2026,     ");
    EXPECT_EQ(at(16, 18, 13), "23.59 Uhr, 58");
    tick(5 * 60000 + 7000);
    EXPECT_EQ(at(16, 20, 13), "00.05 Uhr, 07");
}

TEST_F(Clock, TimeOfDayInEnglishTwelveHourForm) {
    SP_D = false;
    start(2026, 12, 7, 23, 59, 59);
    EXPECT_EQ(at(15, 19, 24), "Monday, 7th Dec. 2026,  ");
    EXPECT_EQ(at(15, 20, 14), "11:59 p.m., 59");
    tick(1000);
    EXPECT_EQ(at(15, 20, 22), "12:00 a.m., 00 seconds");
    EXPECT_EQ(at(15, 19, 24), "Tuesday, 8th Dec. 2026, ");
    tick(5 * 60000 + 7000);
    EXPECT_EQ(at(15, 20, 14), "12:05 a.m., 07");
    tick((11 * 60 + 54) * 60000LL + 53000);  // 11:59:60 -> noon
    EXPECT_EQ(at(15, 20, 14), "12:00 p.m., 00");
    // (Each step also moves the second on: a call redraws only on a new second.)
    tick(3601000);
    EXPECT_EQ(at(15, 20, 14), "01:00 p.m., 01");
    tick(61000);  // minute only: the p.m. stays
    EXPECT_EQ(at(15, 20, 14), "01:01 p.m., 02");
    tick(10 * 3600000LL + 58 * 60000 + 1000);
    EXPECT_EQ(at(15, 20, 14), "11:59 p.m., 03");
}

TEST_F(Clock, SecondsAreRewrittenOneDigitWherePossible) {
    start(2026, 12, 7, 10, 0, 7);
    // A marker over the tens digit shows whether it is written again.
    console::write_at(27, 20, "X");
    console::write_at(32, 21, "Y");
    tick(1000);
    EXPECT_EQ(at(27, 20, 2), "X8");
    EXPECT_EQ(at(32, 21, 2), "Y1");  // match duration 00:00:01
    tick(2000);
    EXPECT_EQ(at(27, 20, 2), "10");
    EXPECT_EQ(at(32, 21, 2), "Y3");
    tick(7000);
    EXPECT_EQ(at(32, 21, 2), "10");
    EXPECT_EQ(at(16, 21, 18), "00 Std. 00 Min. 10");
}

TEST_F(Clock, CallWithoutNewSecondWritesNothingAndReadsTheClockOnce) {
    start(2026, 12, 7, 10, 0, 7, 10);
    tick(1000);
    const auto before = screen_rows();
    const int times = vc.times, dates = vc.dates;
    for (int i = 0; i < 5; ++i) tick(100);  // still second 08
    EXPECT_EQ(screen_rows(), before);
    EXPECT_EQ(vc.times - times, 5);
    EXPECT_EQ(vc.dates - dates, 0);
    // A new second redraws and reads the date once.
    tick(1000);
    EXPECT_NE(screen_rows(), before);
    EXPECT_EQ(vc.dates - dates, 1);
}

// A key typed ahead is read without a look at the clock unless the caller
// asks for a redraw before every look; while no key is there the clock runs on.
TEST_F(Clock, WaitingForAKeyKeepsTheClockRunning) {
    start(2026, 12, 7, 10, 0, 7, 10);
    vc.key('a').key('b').wait(3000).key('c');
    int times = vc.times;
    EXPECT_EQ(wait_for_key(), 'a');
    EXPECT_EQ(vc.times - times, 0);
    times = vc.times;
    EXPECT_EQ(wait_for_key(Redraw::before_every_look), 'b');
    EXPECT_EQ(vc.times - times, 1);
    const auto before = screen_rows();
    EXPECT_EQ(wait_for_key(), 'c');
    EXPECT_NE(screen_rows(), before);
}

TEST_F(Clock, StoppedClockWritesNothing) {
    start(2026, 12, 7, 10, 0, 7);
    ZEITEIN = false;
    const auto before = screen_rows();
    console::goto_xy(47, 9);
    tick(5000);
    tick(3600000);
    EXPECT_EQ(screen_rows(), before);
    EXPECT_EQ(console::where_x(), 47);
    EXPECT_EQ(console::where_y(), 9);
}

TEST_F(Clock, CursorAndAttributeAreRestored) {
    start(2026, 12, 7, 10, 0, 7);
    console::goto_xy(47, 9);
    console::text_attr(HERVORFARBE);
    tick(61000);
    EXPECT_EQ(console::where_x(), 47);
    EXPECT_EQ(console::where_y(), 9);
    EXPECT_EQ(console::text_attr(), HERVORFARBE);
    // The fields themselves are in the normal attribute.
    EXPECT_EQ(console::screen().attr_at(19, 20), NORMALFARBE);
    EXPECT_EQ(at(19, 20, 10), "01 Uhr, 08");
}

TEST_F(Clock, DateIsReadWithEveryNewSecond) {
    start(2026, 12, 31, 23, 59, 55);
    const int dates = vc.dates;
    for (int i = 0; i < 4; ++i) tick(1000);
    EXPECT_EQ(vc.dates, dates + 4);
    EXPECT_EQ(at(16, 19, 23), "Donnerstag, 31.12.2026,");
    tick(1000);  // 00:00:00 on New Year's day
    EXPECT_EQ(vc.dates, dates + 5);
    EXPECT_EQ(at(16, 19, 23), "Freitag, 1.1.2027,     ");
    tick(1000);
    EXPECT_EQ(vc.dates, dates + 6);
}

// The time of day never goes backwards when the machine sleeps past midnight
// or the clock is put forward by more than a day's worth of hours: the date
// must follow all the same.
TEST_F(Clock, ClockPutForwardPastMidnightShowsTheNewDate) {
    SP_D = false;
    start(2026, 12, 8, 22, 0, 0);
    tick(1000);
    EXPECT_EQ(at(15, 19, 24), "Tuesday, 8th Dec. 2026, ");
    vc.set_clock(2026, 12, 9, 22, 30, 0);
    SCHREIBE_ZEIT();
    EXPECT_EQ(at(15, 19, 24), "Weds., 9th Dec. 2026,   ");
    EXPECT_EQ(at(15, 20, 14), "10:30 p.m., 00");
    EXPECT_EQ(at(15, 17, 24), "Tuesday, 8th Dec. 2026, ");  // the start stays
    // a whole month or year later the day number is the same
    vc.set_clock(2027, 1, 9, 22, 30, 5);
    SCHREIBE_ZEIT();
    EXPECT_EQ(at(15, 19, 24), "Saturday, 9th Jan. 2027,");
    vc.set_clock(2028, 1, 9, 22, 30, 9);
    SCHREIBE_ZEIT();
    EXPECT_EQ(at(15, 19, 24), "Sunday, 9th Jan. 2028,  ");
}

TEST_F(Clock, MatchOverMidnightKeepsCounting) {
    start(2026, 12, 7, 23, 59, 50);
    tick(20000);
    EXPECT_EQ(at(16, 21, 18), "00 Std. 00 Min. 20");
    EXPECT_EQ(at(16, 22, 18), "00 Std. 00 Min. 00");
    EXPECT_EQ(at(16, 23, 18), "00 Std. 00 Min. 20");  // a person guesses: all of it is answering time
    tick(3600000 + 60000 + 1000);
    EXPECT_EQ(at(16, 21, 18), "01 Std. 01 Min. 21");
    SP_D = false;
    tick(60000 + 1000);
    EXPECT_EQ(at(24, 21, 10), "02 min. 22");  // minutes and seconds only
    tick(3601000);
    EXPECT_EQ(at(15, 21, 19), "02 hours 02 min. 23");
}

TEST_F(Clock, GuessingAndAnsweringTimeSplitTheDuration) {
    start(2026, 12, 7, 10, 0, 0, 50);
    tick(10000);
    RATENDRAN = true;  // the codebreaker's turn begins
    SCHREIBE_ZEIT();
    tick(5000);
    RATENDRAN = false;  // and ends five seconds later
    SCHREIBE_ZEIT();
    tick(3000);
    EXPECT_EQ(HILFSZEIT, 500);
    EXPECT_EQ(at(16, 21, 18), "00 Std. 00 Min. 18");
    EXPECT_EQ(at(16, 22, 18), "00 Std. 00 Min. 05");
    EXPECT_EQ(at(16, 23, 18), "00 Std. 00 Min. 13");
    // A turn that runs over midnight still counts forward.
    vc.set_clock(2026, 12, 7, 23, 59, 59);
    RATENDRAN = true;
    SCHREIBE_ZEIT();
    vc.advance(2000);
    RATENDRAN = false;
    SCHREIBE_ZEIT();
    EXPECT_EQ(HILFSZEIT, 700);
}

TEST_F(Clock, DurationsFreezeAtOneHundredHours) {
    start(2026, 12, 7, 10, 0, 0);
    HILFSZEIT = 35999950;  // 99:59:59.5 of finished guessing
    tick(1000);
    EXPECT_EQ(at(16, 22, 18), "99 Std. 59 Min. 59");
    EXPECT_TRUE(STD_RATEN_KL100);
    EXPECT_EQ(at(16, 23, 18), "00 Std. 00 Min. 00");  // never below 0
    RATENDRAN = true;
    tick(1000);
    tick(1000);
    EXPECT_EQ(at(16, 22, 18), "99 Std. 59 Min. 59");
    EXPECT_FALSE(STD_RATEN_KL100);
    // Frozen: even a smaller total no longer changes the field.
    RATENDRAN = false;
    tick(1000);
    HILFSZEIT = 0;
    tick(1000);
    EXPECT_EQ(at(16, 22, 18), "99 Std. 59 Min. 59");
    EXPECT_EQ(at(16, 21, 18), "00 Std. 00 Min. 05");  // the other rows go on
}

// A virtual game date in force: its first day and the day after it.
struct VirtualDay {
    std::uint16_t year, month, day, weekday;
};
static void set_virtual_days(VirtualDay first, VirtualDay second) {
    VIRTUALDATE = true;
    VIRJ1 = first.year;
    VIRM1 = first.month;
    VIRT1 = first.day;
    VIRWT1 = first.weekday;
    VIRJ2 = second.year;
    VIRM2 = second.month;
    VIRT2 = second.day;
    VIRWT2 = second.weekday;
}

TEST_F(Clock, VirtualDateShowsItsTwoDays) {
    set_virtual_days({1582, 10, 4, 4}, {1582, 10, 15, 5});
    start(2026, 12, 7, 23, 59, 58);
    const int dates = vc.dates;
    EXPECT_EQ(at(16, 17, 23), "Donnerstag, 4.10.1582, ");
    EXPECT_EQ(at(16, 19, 23), "Donnerstag, 4.10.1582, ");
    EXPECT_TRUE(VIRTUALOLDDATE);
    tick(1000);
    EXPECT_EQ(at(16, 19, 23), "Donnerstag, 4.10.1582, ");
    tick(2000);
    EXPECT_EQ(at(16, 19, 23), "Freitag, 15.10.1582,   ");
    EXPECT_FALSE(VIRTUALOLDDATE);
    EXPECT_EQ(at(16, 17, 23), "Donnerstag, 4.10.1582, ");
    // Nearly a day later the time of day reaches the start again.
    tick(86396000);
    EXPECT_EQ(at(16, 19, 23), "Freitag, 15.10.1582,   ");
    tick(1000);
    EXPECT_EQ(at(16, 19, 23), "Donnerstag, 4.10.1582, ");
    EXPECT_TRUE(VIRTUALOLDDATE);
    EXPECT_EQ(vc.dates, dates);  // the system date is not consulted
    VIRTUALDATE = false;
}

// The last day of the calendar: at midnight the board shows the day after it,
// 1 January 10000, with its own weekday, not a year 0000.
TEST_F(Clock, VirtualDateAfterTheLastDayOfTheCalendar) {
    for (const bool in_german : {true, false}) {
        SCOPED_TRACE(in_german);
        SP_D = in_german;
        set_virtual_days({9999, 12, 31, 5}, {10000, 1, 1, 6});
        start(2026, 12, 7, 23, 59, 58);
        tick(2000);
        if (in_german) {
            EXPECT_EQ(at(16, 17, 23), "Freitag, 31.12.9999,   ");
            EXPECT_EQ(at(16, 19, 23), "Samstag, 1.1.10000,    ");
        } else {
            EXPECT_EQ(at(15, 17, 24), "Friday, 31st Dec. 9999, ");
            EXPECT_EQ(at(15, 19, 24), "Sat., 1st Jan. 10000,   ");
        }
        ZEITEIN = false;
    }
    VIRTUALDATE = false;
}

namespace {

class SearchClock : public Clock {
protected:
    void SetUp() override {
        Clock::SetUp();
        X.PC_RAET = true;
        start(2026, 12, 7, 10, 0, 0);
        begin_search_display(true);
        ZAHL_DER_VERSUCHE = 100;
        NUMMER_PLUS = 20;
        SCHREIBE_ZEIT();  // takes the search start stamps
    }
    void try_guess(int g, std::int64_t ms) {
        vc.advance(ms);
        GERATENE_VERSUCHE = g;
        SETZEZEITLETZTERVERSUCH = true;
        SCHREIBE_ZEIT();
    }
    std::string stars() { return at(44, 25, 10); }
};

}  // namespace

TEST_F(SearchClock, ElapsedAndEstimatedTime) {
    EXPECT_EQ(at(35, 25, 8), "00.00.00");
    try_guess(10, 10000);  // 10 of 100 trials in 10 seconds
    EXPECT_EQ(RESTZEIT, 9000);
    EXPECT_EQ(at(35, 25, 8), "00.00.10");
    EXPECT_EQ(at(72, 25, 8), "00.01.30");
    // A second without a new trial counts against the next trial's share.
    tick(1000);
    EXPECT_EQ(RESTZEIT, 8900);
    EXPECT_EQ(SPIELZEIT, 1100);
    EXPECT_EQ(at(35, 25, 8), "00.00.11");
    EXPECT_EQ(at(72, 25, 8), "00.01.29");
    // No stars without a time limit until the search is through.
    EXPECT_EQ(stars(), "..........");
    try_guess(100, 61000);
    EXPECT_EQ(RESTZEIT, 0);
    EXPECT_EQ(ZAHL_DER_STERNE, 10);
    EXPECT_EQ(stars(), "**********");
    EXPECT_EQ(at(72, 25, 8), "00.00.00");
    EXPECT_EQ(at(35, 25, 8), "00.01.12");
}

TEST_F(SearchClock, TimeLimitCapsTheEstimateAndDrivesTheBar) {
    ZEITLIMIT = 1000;  // ten seconds per guess
    ZEITLIMIT99 = 1099;
    ZEITLIMIT_DIV_10 = 100;
    ZEITLIMIT_GR_0 = true;
    try_guess(10, 5000);
    EXPECT_EQ(RESTZEIT, 599);
    EXPECT_EQ(at(72, 25, 8), "00.00.05");
    EXPECT_EQ(ZAHL_DER_STERNE, 5);
    EXPECT_EQ(stars(), "*****.....");
    // Stars are never taken back.
    NUMMER_PLUS = 100;
    try_guess(11, 1000);
    EXPECT_EQ(ZAHL_DER_STERNE, 5);
    EXPECT_EQ(stars(), "*****.....");
    // The trials it must make at least still need more than the limit allows.
    EXPECT_EQ(RESTZEIT, (100 - 11) * 600 / 11);
    EXPECT_GT(RESTZEIT, ZEITLIMIT);
    EXPECT_EQ(at(72, 25, 8), "00.00.48");
}

TEST_F(SearchClock, EstimateBelowTheLimitIsKept) {
    ZEITLIMIT = 9000;
    ZEITLIMIT99 = 9099;
    ZEITLIMIT_DIV_10 = 900;
    ZEITLIMIT_GR_0 = true;
    try_guess(50, 5000);
    EXPECT_EQ(RESTZEIT, 500);
    EXPECT_EQ(ZAHL_DER_STERNE, 0);  // the search's own bar is in charge then
}

TEST_F(SearchClock, CandidateIsShownAtTheCursor) {
    static LISTE nodes{};
    nodes.d(1) = 1;
    nodes.d(2) = 2;
    nodes.d(3) = 10;
    nodes.d(4) = 3;
    AKTUELL = &nodes;
    NEUER_KANDIDAT = true;
    console::goto_xy(49, 9);
    tick(1000);
    EXPECT_EQ(at(49, 9, 4), "0192");
    EXPECT_FALSE(NEUER_KANDIDAT);
    EXPECT_EQ(console::where_x(), 49);
    // Shown once per request.
    console::write_at(49, 9, "....");
    console::goto_xy(49, 9);
    tick(1000);
    EXPECT_EQ(at(49, 9, 4), "....");
    AKTUELL = nullptr;
}

TEST_F(SearchClock, EndOfSearchResetsTheLine) {
    try_guess(10, 10000);
    try_guess(30, 3000);
    console::goto_xy(45, 9);
    end_search_display();
    EXPECT_FALSE(RATEN_ZEITANZEIGE);
    EXPECT_EQ(at(35, 25, 45), "00.00.00 .......... benoetigte Zeit: 00.00.00");
    EXPECT_EQ(console::where_x(), 45);
    const auto before = at(1, 25, 80);
    tick(5000);
    EXPECT_EQ(at(1, 25, 80), before);
    SP_D = false;
    end_search_display();
    EXPECT_EQ(at(35, 25, 45), "00.00.00 .......... time yet needed: 00.00.00");
    // The next search starts from zero again.
    begin_search_display(true);
    EXPECT_EQ(GERATENE_VERSUCHE, 0);
    EXPECT_EQ(ZAHL_DER_STERNE, 0);
    EXPECT_TRUE(RATEN_ZEITANZEIGE);
    SCHREIBE_ZEIT();
    try_guess(1, 2000);
    EXPECT_EQ(at(35, 25, 8), "00.00.02");
}

TEST_F(SearchClock, SearchOverMidnight) {
    vc.set_clock(2026, 12, 7, 23, 59, 59);
    begin_search_display(true);
    SCHREIBE_ZEIT();
    try_guess(10, 2000);
    EXPECT_EQ(SPIELZEIT, 200);
    EXPECT_EQ(RESTZEIT, 90 * 200 / 10);
}
