// The shuffle table of the candidate store's build: 2^25 bucket heads and
// byte counters, reached through pieces of 2^16 buckets. The pieces lie in one
// mapping when the address space has room for the whole table, else each is
// mapped when a build first draws one of its buckets, so a small store needs
// little address space. Nothing is mapped between builds.
#pragma once

#include <cstdint>

#include "engine/zqspiel.h"

namespace zqspiel {

inline constexpr std::uint32_t SHUFFLE_SIZE = 1u << 25;
struct ShuffleTable {
    static constexpr unsigned PIECE_BITS = 16;
    static constexpr std::uint32_t PIECES = SHUFFLE_SIZE >> PIECE_BITS;
    static constexpr std::uint32_t PIECE_MASK = (1u << PIECE_BITS) - 1;
    // Bytes of heads and counters of the whole table and of one piece.
    static constexpr std::uint64_t WHOLE_BYTES = std::uint64_t{SHUFFLE_SIZE} * (sizeof(PTR) + 1);
    static constexpr std::uint64_t PIECE_BYTES = WHOLE_BYTES / PIECES;

    PTR* heads[PIECES] = {};     // the heads of each piece; nil while it is not mapped
    byte* counters[PIECES] = {};  // its counters (number of nodes in the bucket minus one)
    // A bit per 64 buckets: one of them is not empty (zero between builds).
    std::uint64_t bits[SHUFFLE_SIZE / 4096] = {};

    bool present(std::uint32_t b) const { return heads[b >> PIECE_BITS] != nullptr; }
    PTR& bucket_head(std::uint32_t b) { return heads[b >> PIECE_BITS][b & PIECE_MASK]; }
    byte& counter(std::uint32_t b) { return counters[b >> PIECE_BITS][b & PIECE_MASK]; }
};
ShuffleTable& shuffle_table();
// Maps the piece of bucket b; false when the system refuses it.
bool fetch_mischfeld_piece(std::uint32_t b);
// The head and counter of bucket b as a reader sees them (nil and 0 where
// nothing is mapped).
PTR MISCHFELD(std::uint32_t b);
byte MISCHZ(std::uint32_t b);
void INITFELD();      // every head nil again; gives the table's memory back
void mark_mischfeld_used();  // a build is about to touch the table
// Below this many codes a build uses small pages for the table.
inline constexpr std::int64_t SMALL_STORE = std::int64_t{1} << 12;
// From this many codes on the build fills the buckets range by range.
inline constexpr std::int64_t LARGE_STORE = std::int64_t{1} << 20;
// What the table adds to the process for a build of that many codes.
struct MemoryNeed {
    std::uint64_t resident = 0;
    std::uint64_t address_bytes = 0;
};
// Gets the table ready for a build of that many codes: in one mapping (with
// the page size that suits the build) when that much address space is left
// and the system gives it, else in pieces. Keeps the way it was made while
// anything of it is mapped. Returns what the build will add.
MemoryNeed prepare_mischfeld(std::int64_t codes, std::uint64_t free_address_bytes);
bool mischfeld_whole();  // the table lies in one mapping

}  // namespace zqspiel
