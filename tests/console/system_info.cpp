// Parsing of the host's memory files and the local-time conversions the real
// terminal's clock uses. Nothing here sets the system clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>

#include "console/system_info.h"

using namespace console;

TEST(MemInfo, AvailableLineInKibibytes) {
    const char* text =
        "MemTotal:       16303428 kB\n"
        "MemFree:          812344 kB\n"
        "MemAvailable:    9876543 kB\n"
        "Buffers:          123456 kB\n";
    EXPECT_EQ(meminfo_available(text), 9876543ull * 1024);
    EXPECT_EQ(meminfo_available("MemTotal: 10 kB\nMemFree: 5 kB\n"), 0u);
    EXPECT_EQ(meminfo_available(""), 0u);
    // a line that merely starts alike is not taken for it; the last line needs no line feed
    EXPECT_EQ(meminfo_available("MemAvailable2: 7 kB\nMemAvailable: 3 kB"), 3u * 1024);
}

TEST(MemInfo, CgroupValuesAndPath) {
    EXPECT_EQ(cgroup_value("max\n"), NO_LIMIT);
    EXPECT_EQ(cgroup_value("1073741824\n"), 1073741824ull);
    EXPECT_EQ(cgroup_value(""), NO_LIMIT);
    EXPECT_EQ(cgroup_value("99999999999999999999999"), NO_LIMIT) << "overflow is no limit, not a small number";
    EXPECT_EQ(cgroup_v2_path("0::/user.slice/session-3.scope\n"), "/user.slice/session-3.scope");
    EXPECT_EQ(cgroup_v2_path("12:memory:/docker/abc\n0::/\n"), "/");
    EXPECT_EQ(cgroup_v2_path("12:memory:/docker/abc\n"), "");
    EXPECT_EQ(left_under(100, 30), 70u);
    EXPECT_EQ(left_under(100, 130), 0u);
}

TEST(MemInfo, SystemReportsSomeMemory) {
    const std::uint64_t m = system_available_memory();
    EXPECT_GT(m, 1ull << 20);
    EXPECT_LT(m, 1ull << 50);
}

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
