// The host's memory as the real terminal reports it (console.h's
// MemoryReadings; its memory_room is defined beside these), with the parsing
// of the system's files kept apart so it can be tested without touching the
// system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/console.h"

namespace console {

// ---- parsing -------------------------------------------------------------
// The text of the system's files, parsed without touching the system.

// MemAvailable and MemTotal of a /proc/meminfo text in bytes; 0 when missing.
std::uint64_t meminfo_available(std::string_view meminfo);
std::uint64_t meminfo_total(std::string_view meminfo);
// A "Key:   123 kB" line of a /proc text (meminfo, status) in bytes; 0 when missing.
std::uint64_t kib_field(std::string_view text, std::string_view key);
// A cgroup memory file value ("max" or a byte count); NO_LIMIT for "max" or junk.
std::uint64_t cgroup_value(std::string_view text);
// The cgroup v2 path of this process from a /proc/self/cgroup text ("0::/x"), or "".
std::string cgroup_v2_path(std::string_view proc_self_cgroup);
// The path of this process in the cgroup v1 hierarchy that holds the memory
// controller ("4:memory:/x" or "5:cpu,memory:/x"), or "".
std::string cgroup_v1_memory_path(std::string_view proc_self_cgroup);
// What is left under a limit with `usage` in use (0 when over it).
inline std::uint64_t left_under(std::uint64_t limit, std::uint64_t usage) {
    return usage >= limit ? 0 : limit - usage;
}

// ---- this system ---------------------------------------------------------
// The readings of this system, as the real terminal reports them.
MemoryReadings system_memory_readings();
// Physical memory the machine can still give this process: the system's
// available memory, lowered by a cgroup limit when there is one.
std::uint64_t system_available_memory();

// ---- portable readings ----------------------------------------------------
// For systems without the calls of their own used elsewhere (the BSDs, and
// Linux built with ZQ_PORTABLE): the total from sysconf(_SC_PHYS_PAGES), the
// free pages (_SC_AVPHYS_PAGES) as available where the system tells them,
// else the total; the rlimits from the process; no cgroup.
MemoryReadings portable_memory_readings();

// ---- Linux readings -------------------------------------------------------
// Where the files are; tests point them at a tree of their own.
struct LinuxMemoryFiles {
    std::string proc = "/proc";             // meminfo, self/cgroup, self/status
    std::string cgroup = "/sys/fs/cgroup";  // the v2 hierarchy, with the v1 memory hierarchy in memory/
};
// The least room under the memory limits of the process's own cgroup and
// of the groups above it, v2 (memory.max less memory.current) and v1
// (memory.limit_in_bytes less memory.usage_in_bytes); NO_LIMIT without one.
std::uint64_t linux_cgroup_left(const LinuxMemoryFiles& files);
// Every reading from those files; the rlimits come from the process itself.
MemoryReadings linux_memory_readings(const LinuxMemoryFiles& files);

}  // namespace console
