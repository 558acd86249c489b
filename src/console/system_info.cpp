#include "console/system_info.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#ifdef __APPLE__
#include <mach/mach.h>
#include <sys/sysctl.h>
#endif

namespace console {

// ---- clock ---------------------------------------------------------------

void local_date_time(const timespec& ts, Date& d, Time& t) {
    const time_t secs = ts.tv_sec;
    std::tm tm{};
    if (!localtime_r(&secs, &tm)) {
        d = Date{};
        t = Time{};
        return;
    }
    const int year = tm.tm_year + 1900;
    d.year = static_cast<std::uint16_t>(year < 0 ? 0 : (year > 65535 ? 65535 : year));
    d.month = static_cast<std::uint16_t>(tm.tm_mon + 1);
    d.day = static_cast<std::uint16_t>(tm.tm_mday);
    d.weekday = static_cast<std::uint16_t>(tm.tm_wday);
    t.hour = static_cast<std::uint16_t>(tm.tm_hour);
    t.minute = static_cast<std::uint16_t>(tm.tm_min);
    t.second = static_cast<std::uint16_t>(tm.tm_sec > 59 ? 59 : tm.tm_sec);  // leap second
    t.hundredth = static_cast<std::uint16_t>(ts.tv_nsec / 10000000);
}

namespace {

int days_in_month(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return days[month - 1];
}

}  // namespace

bool local_moment(const Date& d, const Time& t, long nanoseconds, timespec& out) {
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > days_in_month(d.year, d.month)) return false;
    if (t.hour > 23 || t.minute > 59 || t.second > 59 || t.hundredth > 99) return false;
    if (nanoseconds < 0 || nanoseconds > 999999999) return false;
    std::tm tm{};
    tm.tm_year = d.year - 1900;
    tm.tm_mon = d.month - 1;
    tm.tm_mday = d.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    errno = 0;
    const time_t secs = mktime(&tm);
    if (secs == static_cast<time_t>(-1) && errno != 0) return false;
    // A local time skipped by a daylight-saving change comes back moved: it
    // does not exist, so it cannot be set.
    if (tm.tm_year != d.year - 1900 || tm.tm_mon != d.month - 1 || tm.tm_mday != d.day ||
        tm.tm_hour != t.hour || tm.tm_min != t.minute || tm.tm_sec != t.second)
        return false;
    out.tv_sec = secs;
    out.tv_nsec = nanoseconds;
    return true;
}

Date system_date() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    Date d;
    Time t;
    local_date_time(ts, d, t);
    return d;
}

Time system_time() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    Date d;
    Time t;
    local_date_time(ts, d, t);
    return t;
}

bool set_system_date(const Date& d) {
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    Date cur_d;
    Time cur_t;
    local_date_time(now, cur_d, cur_t);
    timespec want{};
    if (!local_moment(d, cur_t, now.tv_nsec, want)) return false;
    if (want.tv_sec < 0) return false;  // before 1970: the system clock cannot hold it
    return clock_settime(CLOCK_REALTIME, &want) == 0;
}

bool set_system_time(const Time& t) {
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    Date cur_d;
    Time cur_t;
    local_date_time(now, cur_d, cur_t);
    timespec want{};
    if (!local_moment(cur_d, t, static_cast<long>(t.hundredth) * 10000000L, want)) return false;
    if (want.tv_sec < 0) return false;
    return clock_settime(CLOCK_REALTIME, &want) == 0;
}

// ---- memory --------------------------------------------------------------

namespace {

bool parse_u64(std::string_view s, std::uint64_t& v) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
    v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        const std::uint64_t d = static_cast<std::uint64_t>(s[i] - '0');
        if (v > (NO_LIMIT - d) / 10) {
            v = NO_LIMIT;
            return true;
        }
        v = v * 10 + d;
    }
    return true;
}

#ifndef __APPLE__
// Whole small file; "" when it cannot be read.
std::string read_small_file(const std::string& path) {
    std::string s;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return s;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        s.append(buf, static_cast<std::size_t>(n));
        if (s.size() > (1u << 20)) break;
    }
    close(fd);
    return s;
}
#endif

}  // namespace

std::uint64_t meminfo_available(std::string_view text) {
    constexpr std::string_view key = "MemAvailable:";
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        if (line.substr(0, key.size()) == key) {
            std::uint64_t kib = 0;
            if (!parse_u64(line.substr(key.size()), kib)) return 0;
            return kib > NO_LIMIT / 1024 ? NO_LIMIT : kib * 1024;
        }
        pos = end + 1;
    }
    return 0;
}

std::uint64_t cgroup_value(std::string_view text) {
    std::uint64_t v = 0;
    if (!parse_u64(text, v)) return NO_LIMIT;
    return v;
}

std::string cgroup_v2_path(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        if (line.substr(0, 3) == "0::") return std::string(line.substr(3));
        pos = end + 1;
    }
    return {};
}

#ifdef __APPLE__

std::uint64_t system_available_memory() {
    vm_size_t page = 0;
    vm_statistics64_data_t vm{};
    mach_msg_type_number_t count = HOST_VM_INFO64_COUNT;
    if (host_page_size(mach_host_self(), &page) == KERN_SUCCESS &&
        host_statistics64(mach_host_self(), HOST_VM_INFO64, reinterpret_cast<host_info64_t>(&vm), &count) ==
            KERN_SUCCESS) {
        return (static_cast<std::uint64_t>(vm.free_count) + vm.inactive_count + vm.purgeable_count) * page;
    }
    std::uint64_t total = 0;
    std::size_t len = sizeof total;
    if (sysctlbyname("hw.memsize", &total, &len, nullptr, 0) == 0) return total;
    return 0;
}

#else

std::uint64_t system_available_memory() {
    std::uint64_t avail = meminfo_available(read_small_file("/proc/meminfo"));
    if (avail == 0) {
        const long pages = sysconf(_SC_AVPHYS_PAGES);
        const long page = sysconf(_SC_PAGESIZE);
        if (pages > 0 && page > 0) avail = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page);
    }

    // cgroup v2: the limit may sit on this group or on any group above it.
    std::string path = cgroup_v2_path(read_small_file("/proc/self/cgroup"));
    if (!path.empty()) {
        while (!path.empty() && path.back() == '/') path.pop_back();
        for (;;) {
            const std::string dir = "/sys/fs/cgroup" + path;
            const std::uint64_t limit = cgroup_value(read_small_file(dir + "/memory.max"));
            if (limit != NO_LIMIT) {
                const std::string cur = read_small_file(dir + "/memory.current");
                const std::uint64_t used = cur.empty() ? 0 : cgroup_value(cur);
                const std::uint64_t left = left_under(limit, used == NO_LIMIT ? 0 : used);
                if (left < avail) avail = left;
            }
            if (path.empty()) break;
            const std::size_t slash = path.rfind('/');
            path.resize(slash == std::string::npos ? 0 : slash);
        }
    }

    // cgroup v1
    const std::uint64_t limit1 = cgroup_value(read_small_file("/sys/fs/cgroup/memory/memory.limit_in_bytes"));
    if (limit1 != NO_LIMIT) {
        const std::string cur = read_small_file("/sys/fs/cgroup/memory/memory.usage_in_bytes");
        const std::uint64_t used = cur.empty() ? 0 : cgroup_value(cur);
        const std::uint64_t left = left_under(limit1, used == NO_LIMIT ? 0 : used);
        if (left < avail) avail = left;
    }
    return avail;
}

#endif

}  // namespace console
