// The memory the computer players use: one budgeted arena from which the
// candidate store and the encoder's list of codes take their nodes.
//
// An allocation returns nullptr when it would exceed the budget or when the
// process cannot really have the memory (checked each time a new chunk is
// mapped: the machine's available memory less its reserve, the cgroup's
// limit, the address-space limits), so a store too large for the machine
// fails like an exhausted heap instead of being killed by the system. Nodes
// are never freed one by one: `release` gives back everything at once, and
// the pages go back to the system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zqspiel {

class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena();

    void set_budget(std::int64_t bytes) { budget_ = bytes; }
    std::int64_t budget() const { return budget_; }
    std::int64_t used() const { return used_; }
    std::size_t chunks() const { return chunks_.size(); }
    std::uint64_t mapped() const;  // bytes of all chunks

    // The bytes a build is about to take: chunks are sized to it (no larger
    // than CHUNK), so a small store maps little address space.
    void plan(std::uint64_t bytes) { plan_ = static_cast<std::uint64_t>(used_) + bytes; }
    // Address space the chunks for that many bytes take at most.
    static std::uint64_t address_space_for(std::uint64_t bytes);

    // bytes must be a multiple of 8; the result is 32-byte aligned when all
    // sizes asked for are multiples of 32.
    void* allocate(std::size_t bytes) {
        if (static_cast<std::int64_t>(bytes) > budget_ - used_) return nullptr;
        if (static_cast<std::size_t>(end_ - cur_) < bytes && !grow(bytes)) return nullptr;
        void* p = cur_;
        cur_ += bytes;
        used_ += static_cast<std::int64_t>(bytes);
        return p;
    }
    void release();

    static constexpr std::size_t CHUNK = 64ULL << 20;
    static constexpr std::size_t GRAIN = 64ULL << 10;  // chunk sizes are multiples of it

private:
    bool grow(std::size_t bytes);
    struct Chunk {
        void* base;
        std::size_t size;
    };
    std::vector<Chunk> chunks_;
    char* cur_ = nullptr;
    char* end_ = nullptr;
    std::int64_t budget_ = 0;
    std::int64_t used_ = 0;
    std::uint64_t plan_ = 0;
};

// The one arena of the computer players.
inline Arena STORE_ARENA;

// Whether a build that will make `resident` more bytes resident and map
// `address_space` more bytes fits what the process can really have now.
bool memory_suffices(std::uint64_t resident, std::uint64_t address_space);

}  // namespace zqspiel
