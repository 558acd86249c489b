// The budgeted arena of the computer players: what it asks of the process
// each time it maps a chunk.
#include "engine/arena.h"

#include <gtest/gtest.h>

#include "console/virtual_console.h"

using namespace zqspiel;

namespace {
constexpr std::uint64_t MiB = 1ULL << 20;
}  // namespace

TEST(Arena, EachChunkIsWeighedAgainstTheMachineTheCgroupAndTheAddressSpace) {
    console::ScopedVirtualConsole s;
    Arena a;
    a.set_budget(std::int64_t{1} << 40);
    // The machine: 32 MiB to spare beside its reserve, less than a chunk.
    s.vc.memory = {console::MACHINE_RESERVE + 32 * MiB, 8ULL << 30};
    EXPECT_EQ(a.allocate(64), nullptr);
    EXPECT_EQ(a.chunks(), 0u);
    s.vc.memory = {16ULL << 30, 32ULL << 30};
    s.vc.memory.cgroup_left = 32 * MiB;
    EXPECT_EQ(a.allocate(64), nullptr);
    s.vc.memory.cgroup_left = console::NO_LIMIT;
    s.vc.memory.as_limit = 90 * MiB;  // less the slack: less than a chunk
    EXPECT_EQ(a.allocate(64), nullptr);
    s.vc.memory.as_limit = console::NO_LIMIT;
    s.vc.memory.data_limit = 96 * MiB;
    s.vc.memory.data_used = 1 * MiB;
    EXPECT_EQ(a.allocate(64), nullptr);
    EXPECT_EQ(a.chunks(), 0u);
    // A chunk fits once the limit leaves room for it.
    s.vc.memory.data_limit = 200 * MiB;
    EXPECT_NE(a.allocate(64), nullptr);
    EXPECT_EQ(a.chunks(), 1u);
    a.release();
}

TEST(Arena, LimitsReachedWhileGrowingStopTheNextChunk) {
    console::ScopedVirtualConsole s;
    Arena a;
    a.set_budget(std::int64_t{1} << 40);
    s.vc.memory.as_limit = 1024 * MiB;
    s.vc.memory.as_used = 100 * MiB;
    ASSERT_NE(a.allocate(Arena::CHUNK), nullptr);
    ASSERT_NE(a.allocate(Arena::CHUNK), nullptr);
    EXPECT_EQ(a.chunks(), 2u);
    // The address space has filled up meanwhile.
    s.vc.memory.as_used = 1024 * MiB - Arena::CHUNK;
    EXPECT_EQ(a.allocate(32), nullptr);
    s.vc.memory.as_used = 100 * MiB;
    s.vc.memory.available = console::MACHINE_RESERVE + 40 * MiB;
    EXPECT_EQ(a.allocate(32), nullptr);
    EXPECT_EQ(a.chunks(), 2u);
    EXPECT_EQ(a.used(), static_cast<std::int64_t>(2 * Arena::CHUNK));
    a.release();
    EXPECT_EQ(a.chunks(), 0u);
}

TEST(Arena, ChunksAreSizedToThePlannedBytes) {
    console::ScopedVirtualConsole s;
    // 4 MiB to spare: a whole chunk would not fit, the planned store does.
    s.vc.memory = {console::MACHINE_RESERVE + 4 * MiB, 8ULL << 30};
    Arena a;
    a.set_budget(std::int64_t{1} << 40);
    a.plan(27 * 64);
    for (int i = 0; i < 27; ++i) ASSERT_NE(a.allocate(64), nullptr) << i;
    EXPECT_EQ(a.chunks(), 1u);
    EXPECT_EQ(a.mapped(), Arena::GRAIN);
    EXPECT_LE(a.mapped(), Arena::address_space_for(27 * 64));
    a.release();

    // A plan of several chunks: whole chunks, then the rest.
    s.vc.memory = {16ULL << 30, 32ULL << 30};
    const std::uint64_t many = 2 * Arena::CHUNK + 3 * MiB;
    a.plan(many);
    for (std::uint64_t n = 0; n < many; n += 96) ASSERT_NE(a.allocate(96), nullptr) << n;
    EXPECT_EQ(a.chunks(), 3u);
    EXPECT_LE(a.mapped(), Arena::address_space_for(many));
    EXPECT_GE(a.mapped(), many);
    a.release();
}
