// The memory budget of the computer players: release of their code lists,
// the capacity table derived from the budget, and the check that decides
// which computer roles fit (KANN_RATEN, KANN_MOGELN).
#pragma once

#include <array>
#include <cstdint>
#include <string>

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

// A cell of the capacity table as the conditions screen shows it, two
// characters: " -" when fewer than two signs fit, else the sign count.
std::string capacity_cell(int v);

// The capacity check: s signs, code length n, repetition (repeat), vacant sign
// allowed (vacant). Sets SIZERATEN, SIZERATENPTR, GENUGPLATZ, MEMRATE, MEMLOES,
// KANN_RATEN and KANN_MOGELN and corrects X.PC_RAET and X.LOESUNG_FEST. With
// show, rewrites the corrected fields of the conditions screen. release is
// handed to LISTEN_FREIGEBEN. The cursor is left where it was.
void KORRIGIERE(byte s, byte n, bool repeat, bool vacant, bool show, bool release);

}  // namespace zqspiel
