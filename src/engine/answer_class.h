// The answer classes of a guess: every code still possible falls into the
// class of the answer it would give, (P, Z), held as P and common = P + Z,
// the signs guess and code share in place or not. Tables of classes come in
// two shapes: the ClassTable t[common][P] that the answer entry and the
// encoder's choice read, and flat tables indexed by one byte per class, which
// the search and the encoder's passes over the list count into.
#pragma once

#include <array>
#include <cstdint>

namespace zqspiel {

// t[common][P] = how many codes still possible would give the answer
// (P, common - P); common and P run 0..9.
// The same type as the encoder's KLASSEN_TABELLE.
using ClassTable = std::array<std::array<std::int32_t, 10>, 10>;

// The flat index of a class: common in the low four bits, P in the high
// ones. It fits a byte, so the block counters make it 16 or 32 candidates at
// a time in byte lanes (P shifted by four carries nothing into the next
// lane), and a list node stores it in the byte after its signs.
constexpr int flat_class(int common, int p) { return common + 16 * p; }
constexpr int common_of_class(int index) { return index % 16; }
constexpr int p_of_class(int index) { return index / 16; }

// Entries of a flat class table: room for every index of common, P <= 9.
constexpr int FLAT_CLASSES = 160;

static_assert(flat_class(9, 9) < FLAT_CLASSES && FLAT_CLASSES <= 256, "a flat class index fits a byte");
static_assert(
    [] {
        for (int common = 0; common <= 9; ++common)
            for (int p = 0; p <= 9; ++p)
                if (common_of_class(flat_class(common, p)) != common || p_of_class(flat_class(common, p)) != p)
                    return false;
        return true;
    }(),
    "common_of_class and p_of_class invert flat_class");

}  // namespace zqspiel
