// Parsing of the host's memory files, the memory room and the readings of
// this system and of a fake file tree.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "console/system_memory.h"

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

TEST(MemInfo, KibFieldsOfMeminfoAndStatus) {
    const char* meminfo = "MemTotal:       24000000 kB\nMemAvailable:   20000000 kB\n";
    EXPECT_EQ(meminfo_total(meminfo), 24000000ull * 1024);
    EXPECT_EQ(meminfo_available(meminfo), 20000000ull * 1024);
    const char* status = "Name:\tzq\nVmPeak:\t  999999 kB\nVmSize:\t   12345 kB\nVmData:\t    2000 kB\n";
    EXPECT_EQ(kib_field(status, "VmSize"), 12345ull * 1024);
    EXPECT_EQ(kib_field(status, "VmData"), 2000ull * 1024);
    EXPECT_EQ(kib_field(status, "VmStk"), 0u);
    EXPECT_EQ(kib_field("VmSizeX: 5 kB\n", "VmSize"), 0u);
}

TEST(MemInfo, CgroupV1MemoryPathIsTheMemoryControllersLine) {
    EXPECT_EQ(cgroup_v1_memory_path("5:cpu:/a\n4:memory:/process/job7\n0::/\n"), "/process/job7");
    EXPECT_EQ(cgroup_v1_memory_path("3:cpu,memory,pids:/shared\n"), "/shared");
    EXPECT_EQ(cgroup_v1_memory_path("3:memory_extra:/no\n2:blkio:/b\n0::/x\n"), "");
    EXPECT_EQ(cgroup_v1_memory_path("0::/only/v2\n"), "");
    EXPECT_EQ(cgroup_v1_memory_path("junk\n"), "");
}

TEST(MemoryRoom, MachineReserveCgroupAndAddressSpace) {
    constexpr std::uint64_t MiB = 1ull << 20, GiB = 1ull << 30;
    MemoryReadings r;
    r.available = 20 * GiB;
    r.total = 4 * GiB;  // a sixteenth is 256 MiB: the 512 MiB floor holds
    MemoryRoom m = memory_room(r);
    EXPECT_EQ(m.resident, 20 * GiB - 512 * MiB);
    EXPECT_EQ(m.address_space, NO_LIMIT);
    r.total = 24 * GiB;  // a sixteenth, 1.5 GiB, is more
    EXPECT_EQ(memory_room(r).resident, 20 * GiB - 1536 * MiB);
    r.available = 1 * GiB;
    EXPECT_EQ(memory_room(r).resident, 0u) << "less available than the reserve";

    r.available = 20 * GiB;
    r.cgroup_left = 3 * GiB;
    EXPECT_EQ(memory_room(r).resident, 3 * GiB - LIMIT_SLACK);
    r.cgroup_left = 10 * MiB;
    EXPECT_EQ(memory_room(r).resident, 0u);

    r.as_limit = 200000ull * 1024;  // ulimit -v 200000
    r.as_used = 20 * MiB;
    EXPECT_EQ(memory_room(r).address_space, 200000ull * 1024 - 20 * MiB - LIMIT_SLACK);
    r.data_limit = 100 * MiB;
    r.data_used = 10 * MiB;
    EXPECT_EQ(memory_room(r).address_space, 100 * MiB - 10 * MiB - LIMIT_SLACK) << "the tighter limit counts";
    r.as_used = 300 * MiB;
    EXPECT_EQ(memory_room(r).address_space, 0u);
}

// What a system without /proc and cgroups is read by: sysconf and the
// process's own limits.
TEST(PortableReadings, FromSysconfAndTheProcesssLimits) {
    const MemoryReadings r = portable_memory_readings();
    const auto page = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    EXPECT_EQ(r.total, static_cast<std::uint64_t>(sysconf(_SC_PHYS_PAGES)) * page);
    EXPECT_GT(r.available, 0u);
    EXPECT_LE(r.available, r.total);
    EXPECT_EQ(r.cgroup_left, NO_LIMIT);
    rlimit as{}, data{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &as), 0);
    ASSERT_EQ(getrlimit(RLIMIT_DATA, &data), 0);
    EXPECT_EQ(r.as_limit, as.rlim_cur == RLIM_INFINITY ? NO_LIMIT : static_cast<std::uint64_t>(as.rlim_cur));
    EXPECT_EQ(r.data_limit, data.rlim_cur == RLIM_INFINITY ? NO_LIMIT : static_cast<std::uint64_t>(data.rlim_cur));
#if !defined(__APPLE__) && (!defined(__linux__) || defined(ZQ_PORTABLE))
    // this build reads the system that way
    const MemoryReadings s = system_memory_readings();
    EXPECT_EQ(s.total, r.total);
    EXPECT_EQ(s.cgroup_left, NO_LIMIT);
    EXPECT_EQ(s.as_used, 0u);
#endif
}

#ifndef __APPLE__

namespace {

// A /proc and /sys/fs/cgroup of its own in a temporary directory.
class FakeSystem : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zq_memtest.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        root_ = tmpl;
        files_.proc = root_ + "/proc";
        files_.cgroup = root_ + "/cgroup";
        put("proc/meminfo", "MemTotal:       25165824 kB\nMemFree:  1 kB\nMemAvailable:   20971520 kB\n");
        put("proc/self/status", "Name:\tzq\nVmSize:\t  204800 kB\nVmData:\t  102400 kB\n");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    void put(const std::string& rel, const std::string& text) {
        const std::string path = root_ + "/" + rel;
        std::filesystem::create_directories(path.substr(0, path.rfind('/')));
        std::FILE* f = std::fopen(path.c_str(), "w");
        ASSERT_NE(f, nullptr) << path;
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }

    std::string root_;
    LinuxMemoryFiles files_;
};

constexpr std::uint64_t GiB = 1ull << 30;

}  // namespace

TEST_F(FakeSystem, ReadingsOfMeminfoStatusAndTheProcessLimits) {
    put("proc/self/cgroup", "0::/\n");
    const MemoryReadings r = linux_memory_readings(files_);
    EXPECT_EQ(r.total, 24 * GiB);
    EXPECT_EQ(r.available, 20 * GiB);
    EXPECT_EQ(r.as_used, 200ull << 20);
    EXPECT_EQ(r.data_used, 100ull << 20);
    EXPECT_EQ(r.cgroup_left, NO_LIMIT);
    rlimit as{}, data{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &as), 0);
    ASSERT_EQ(getrlimit(RLIMIT_DATA, &data), 0);
    EXPECT_EQ(r.as_limit, as.rlim_cur == RLIM_INFINITY ? NO_LIMIT : as.rlim_cur);
    EXPECT_EQ(r.data_limit, data.rlim_cur == RLIM_INFINITY ? NO_LIMIT : data.rlim_cur);
}

TEST_F(FakeSystem, CgroupV1LimitOfTheProcesssOwnGroupNotTheRoot) {
    // The hierarchy's root has no limit and the whole machine's usage; the
    // process's group has 4 GiB, 1 GiB of it in use.
    put("proc/self/cgroup", "7:cpu:/\n4:memory:/process_api/job\n0::/\n");
    put("cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n");
    put("cgroup/memory/memory.usage_in_bytes", "21474836480\n");
    put("cgroup/memory/process_api/memory.limit_in_bytes", "9223372036854771712\n");
    put("cgroup/memory/process_api/memory.usage_in_bytes", "8589934592\n");
    put("cgroup/memory/process_api/job/memory.limit_in_bytes", "4294967296\n");
    put("cgroup/memory/process_api/job/memory.usage_in_bytes", "1073741824\n");
    EXPECT_EQ(linux_cgroup_left(files_), 3 * GiB);
    EXPECT_EQ(linux_memory_readings(files_).cgroup_left, 3 * GiB);
    // A tighter limit on a group above counts too.
    put("cgroup/memory/process_api/memory.limit_in_bytes", "10737418240\n");
    EXPECT_EQ(linux_cgroup_left(files_), 2 * GiB);
    // Over the limit already: no room.
    put("cgroup/memory/process_api/job/memory.usage_in_bytes", "5000000000\n");
    EXPECT_EQ(linux_cgroup_left(files_), 0u);
}

TEST_F(FakeSystem, CgroupV1GroupNotMountedBelowFallsBackToTheMountsRoot) {
    // In a container the named group is not below the mount, whose root is
    // the container's own group with its limit.
    put("proc/self/cgroup", "4:memory:/docker/abc\n");
    put("cgroup/memory/memory.limit_in_bytes", "2147483648\n");
    put("cgroup/memory/memory.usage_in_bytes", "536870912\n");
    EXPECT_EQ(linux_cgroup_left(files_), 2 * GiB - 512ull * 1024 * 1024);
}

TEST_F(FakeSystem, CgroupV2MaxCurrentAndMaxWithoutLimit) {
    put("proc/self/cgroup", "0::/user.slice/game.scope\n");
    put("cgroup/user.slice/game.scope/memory.max", "max\n");
    put("cgroup/user.slice/game.scope/memory.current", "123\n");
    EXPECT_EQ(linux_cgroup_left(files_), NO_LIMIT);
    put("cgroup/user.slice/memory.max", "6442450944\n");
    put("cgroup/user.slice/memory.current", "2147483648\n");
    EXPECT_EQ(linux_cgroup_left(files_), 4 * GiB);
    put("cgroup/user.slice/game.scope/memory.max", "1073741824\n");
    put("cgroup/user.slice/game.scope/memory.current", "268435456\n");
    EXPECT_EQ(linux_cgroup_left(files_), 768ull << 20);
    // Without memory.current the whole limit is left.
    std::filesystem::remove(root_ + "/cgroup/user.slice/game.scope/memory.current");
    EXPECT_EQ(linux_cgroup_left(files_), 1 * GiB);
}

TEST_F(FakeSystem, HybridSystemTakesTheTighterOfBothHierarchies) {
    put("proc/self/cgroup", "4:memory:/job\n0::/job\n");
    put("cgroup/job/memory.max", "8589934592\n");
    put("cgroup/memory/job/memory.limit_in_bytes", "4294967296\n");
    put("cgroup/memory/job/memory.usage_in_bytes", "0\n");
    EXPECT_EQ(linux_cgroup_left(files_), 4 * GiB);
}

#endif
