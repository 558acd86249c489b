// The local-time conversions the real terminal's clock uses. Nothing here
// sets the system clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>

#include "console/system_clock.h"

using namespace console;

namespace {

struct ScopedTz {
    explicit ScopedTz(const char* tz) {
        const char* old = std::getenv("TZ");
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ScopedTz() {
        if (had_) setenv("TZ", old_.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }
    bool had_;
    std::string old_;
};

}  // namespace

TEST(LocalClock, MomentOfADateAndBack) {
    ScopedTz tz("UTC0");
    timespec ts{};
    ASSERT_TRUE(local_moment(Date{2024, 2, 29, 0}, Time{12, 34, 56, 78}, 780000000, ts));
    EXPECT_EQ(ts.tv_sec, 1709210096);
    EXPECT_EQ(ts.tv_nsec, 780000000);
    Date d;
    Time t;
    local_date_time(ts, d, t);
    EXPECT_EQ(d.year, 2024);
    EXPECT_EQ(d.month, 2);
    EXPECT_EQ(d.day, 29);
    EXPECT_EQ(d.weekday, 4);  // a Thursday
    EXPECT_EQ(t.hour, 12);
    EXPECT_EQ(t.minute, 34);
    EXPECT_EQ(t.second, 56);
    EXPECT_EQ(t.hundredth, 78);
}

TEST(LocalClock, InvalidFieldsAreRefusedNotMoved) {
    ScopedTz tz("UTC0");
    timespec ts{};
    EXPECT_FALSE(local_moment(Date{2023, 2, 29, 0}, Time{}, 0, ts));
    EXPECT_FALSE(local_moment(Date{2024, 13, 1, 0}, Time{}, 0, ts));
    EXPECT_FALSE(local_moment(Date{2024, 4, 31, 0}, Time{}, 0, ts));
    EXPECT_FALSE(local_moment(Date{2024, 1, 0, 0}, Time{}, 0, ts));
    EXPECT_FALSE(local_moment(Date{2024, 1, 1, 0}, Time{24, 0, 0, 0}, 0, ts));
    EXPECT_FALSE(local_moment(Date{2024, 1, 1, 0}, Time{1, 60, 0, 0}, 0, ts));
    EXPECT_FALSE(local_moment(Date{2024, 1, 1, 0}, Time{1, 0, 0, 100}, 0, ts));
    EXPECT_TRUE(local_moment(Date{2000, 2, 29, 0}, Time{23, 59, 59, 99}, 0, ts));
    EXPECT_FALSE(local_moment(Date{1900, 2, 29, 0}, Time{}, 0, ts));
}

TEST(LocalClock, TimeSkippedByDaylightSavingIsRefused) {
    struct stat st{};
    if (stat("/usr/share/zoneinfo/Europe/Berlin", &st) != 0) GTEST_SKIP() << "no time zone data";
    ScopedTz tz("Europe/Berlin");
    timespec ts{};
    EXPECT_FALSE(local_moment(Date{2024, 3, 31, 0}, Time{2, 30, 0, 0}, 0, ts));
    EXPECT_TRUE(local_moment(Date{2024, 3, 31, 0}, Time{3, 30, 0, 0}, 0, ts));
    EXPECT_EQ(ts.tv_sec, 1711848600);  // 01:30 UTC
}
