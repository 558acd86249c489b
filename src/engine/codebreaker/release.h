// Giving the computer players' memory back: the release of their code lists
// with the capacity table it keeps in step with the budget, and the break-off
// that ends a match and releases it all.
#pragma once

#include <array>
#include <cstdint>

#include "engine/zqspiel.h"

namespace zqspiel {

// With release_all, releases the candidate store, the search's packed copy of
// it and the encoder's list (the arena gives everything back; all chain heads
// nil). In every case recomputes the capacity table when MEMAVAIL changed and
// re-applies the caps.
void LISTEN_FREIGEBEN(bool release_all);

// The capacity table for a budget of memges bytes (already a multiple of 32),
// by code length 2..9, before the caps of lengths 6..9.
std::array<byte, 11> compute_capacity(std::int64_t memges);

// The user broke off: the match ends. key := Esc, the store and the list of
// codes are released (LISTEN_FREIGEBEN), the clock stops.
void abandon_match(unsigned char& key);

}  // namespace zqspiel
