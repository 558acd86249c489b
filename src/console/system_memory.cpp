#include "console/system_memory.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#ifdef __APPLE__
#include <mach/mach.h>
#include <sys/sysctl.h>
#endif

namespace console {

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

// Calls f for each line of text until it returns true.
template <class F>
void each_line(std::string_view text, F&& f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        if (f(text.substr(pos, end - pos))) return;
        pos = end + 1;
    }
}

}  // namespace

std::uint64_t kib_field(std::string_view text, std::string_view key) {
    std::uint64_t bytes = 0;
    each_line(text, [&](std::string_view line) {
        if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ':') return false;
        std::uint64_t kib = 0;
        if (parse_u64(line.substr(key.size() + 1), kib)) bytes = kib > NO_LIMIT / 1024 ? NO_LIMIT : kib * 1024;
        return true;
    });
    return bytes;
}

std::uint64_t meminfo_available(std::string_view text) { return kib_field(text, "MemAvailable"); }
std::uint64_t meminfo_total(std::string_view text) { return kib_field(text, "MemTotal"); }

std::uint64_t cgroup_value(std::string_view text) {
    std::uint64_t v = 0;
    if (!parse_u64(text, v)) return NO_LIMIT;
    return v;
}

std::string cgroup_v2_path(std::string_view text) {
    std::string path;
    each_line(text, [&](std::string_view line) {
        if (line.substr(0, 3) != "0::") return false;
        path = line.substr(3);
        return true;
    });
    return path;
}

std::string cgroup_v1_memory_path(std::string_view text) {
    std::string path;
    each_line(text, [&](std::string_view line) {
        // hierarchy-ID:controller-list:path
        const std::size_t a = line.find(':');
        const std::size_t b = a == std::string_view::npos ? a : line.find(':', a + 1);
        if (b == std::string_view::npos) return false;
        std::string_view list = line.substr(a + 1, b - a - 1);
        for (;;) {
            const std::size_t comma = list.find(',');
            if (list.substr(0, comma) == "memory") {
                path = line.substr(b + 1);
                return true;
            }
            if (comma == std::string_view::npos) return false;
            list.remove_prefix(comma + 1);
        }
    });
    return path;
}

MemoryRoom memory_room(const MemoryReadings& r) {
    const std::uint64_t reserve = std::max(MACHINE_RESERVE, r.total / 16);
    MemoryRoom room;
    room.resident = left_under(r.available, reserve);
    if (r.cgroup_left != NO_LIMIT) room.resident = std::min(room.resident, left_under(r.cgroup_left, LIMIT_SLACK));
    room.address_space = NO_LIMIT;
    if (r.as_limit != NO_LIMIT) room.address_space = left_under(r.as_limit, r.as_used + LIMIT_SLACK);
    if (r.data_limit != NO_LIMIT)
        room.address_space = std::min(room.address_space, left_under(r.data_limit, r.data_used + LIMIT_SLACK));
    return room;
}

std::uint64_t system_available_memory() {
    const MemoryReadings r = system_memory_readings();
    return std::min(r.available, r.cgroup_left);
}

namespace {

std::uint64_t rlimit_bytes(int resource) {
    rlimit rl{};
    if (getrlimit(resource, &rl) != 0 || rl.rlim_cur == RLIM_INFINITY) return NO_LIMIT;
    return static_cast<std::uint64_t>(rl.rlim_cur);
}

std::uint64_t pages_bytes(long pages) {
    const long page = sysconf(_SC_PAGESIZE);
    return pages > 0 && page > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page) : 0;
}

}  // namespace

MemoryReadings portable_memory_readings() {
    MemoryReadings r;
    r.total = pages_bytes(sysconf(_SC_PHYS_PAGES));
#ifdef _SC_AVPHYS_PAGES
    r.available = pages_bytes(sysconf(_SC_AVPHYS_PAGES));
#endif
    if (r.available == 0 || r.available > r.total) r.available = r.total;
    r.as_limit = rlimit_bytes(RLIMIT_AS);
    r.data_limit = rlimit_bytes(RLIMIT_DATA);
    return r;
}

#ifdef __APPLE__

// ---- macOS readings -------------------------------------------------------

MemoryReadings system_memory_readings() {
    MemoryReadings r;
    vm_size_t page = 0;
    vm_statistics64_data_t vm{};
    mach_msg_type_number_t count = HOST_VM_INFO64_COUNT;
    std::uint64_t total = 0;
    std::size_t len = sizeof total;
    if (sysctlbyname("hw.memsize", &total, &len, nullptr, 0) == 0) r.total = total;
    if (host_page_size(mach_host_self(), &page) == KERN_SUCCESS &&
        host_statistics64(mach_host_self(), HOST_VM_INFO64, reinterpret_cast<host_info64_t>(&vm), &count) ==
            KERN_SUCCESS) {
        r.available = (static_cast<std::uint64_t>(vm.free_count) + vm.inactive_count + vm.purgeable_count) * page;
    } else {
        r.available = r.total;
    }
    r.as_limit = rlimit_bytes(RLIMIT_AS);
    r.data_limit = rlimit_bytes(RLIMIT_DATA);
    return r;
}

#else

// ---- Linux readings -------------------------------------------------------

namespace {

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

// The least room under the limits of the group at path in the hierarchy
// mounted at root and of every group above it: a limit may sit on any of
// them. A group whose files are missing (a container shows its own group as
// the root) sets no limit.
std::uint64_t least_room(const std::string& root, std::string path, const char* limit_file,
                         const char* usage_file) {
    std::uint64_t least = NO_LIMIT;
    while (!path.empty() && path.back() == '/') path.pop_back();
    for (;;) {
        const std::string dir = root + path + "/";
        const std::uint64_t limit = cgroup_value(read_small_file(dir + limit_file));
        if (limit != NO_LIMIT) {
            const std::string cur = read_small_file(dir + usage_file);
            const std::uint64_t used = cur.empty() ? 0 : cgroup_value(cur);
            least = std::min(least, left_under(limit, used == NO_LIMIT ? 0 : used));
        }
        if (path.empty()) break;
        const std::size_t slash = path.rfind('/');
        path.resize(slash == std::string::npos ? 0 : slash);
    }
    return least;
}

}  // namespace

std::uint64_t linux_cgroup_left(const LinuxMemoryFiles& files) {
    const std::string self = read_small_file(files.proc + "/self/cgroup");
    std::uint64_t least = NO_LIMIT;
    const std::string v2 = cgroup_v2_path(self);
    if (!v2.empty()) least = least_room(files.cgroup, v2, "memory.max", "memory.current");
    const std::string v1 = cgroup_v1_memory_path(self);
    if (!v1.empty())
        least = std::min(least, least_room(files.cgroup + "/memory", v1, "memory.limit_in_bytes",
                                           "memory.usage_in_bytes"));
    return least;
}

MemoryReadings linux_memory_readings(const LinuxMemoryFiles& files) {
    MemoryReadings r;
    const std::string meminfo = read_small_file(files.proc + "/meminfo");
    r.available = meminfo_available(meminfo);
    r.total = meminfo_total(meminfo);
    r.cgroup_left = linux_cgroup_left(files);
    const std::string status = read_small_file(files.proc + "/self/status");
    r.as_used = kib_field(status, "VmSize");
    r.data_used = kib_field(status, "VmData");
    r.as_limit = rlimit_bytes(RLIMIT_AS);
    r.data_limit = rlimit_bytes(RLIMIT_DATA);
    return r;
}

#if defined(__linux__) && !defined(ZQ_PORTABLE)
MemoryReadings system_memory_readings() {
    MemoryReadings r = linux_memory_readings(LinuxMemoryFiles{});
    if (r.available == 0) {
        // A kernel without MemAvailable: the free pages are the best guess.
        const long pages = sysconf(_SC_AVPHYS_PAGES);
        const long page = sysconf(_SC_PAGESIZE);
        if (pages > 0 && page > 0) r.available = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page);
    }
    if (r.total == 0) {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long page = sysconf(_SC_PAGESIZE);
        if (pages > 0 && page > 0) r.total = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page);
    }
    return r;
}
#else
MemoryReadings system_memory_readings() { return portable_memory_readings(); }
#endif

#endif

}  // namespace console
