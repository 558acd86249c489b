// What every long computation of the computer players does besides its work:
// looking at the keyboard for a break (Esc, Ctrl-C), keeping the clock and the
// star bar of row 25 current at a measured pace. A break-off itself ends the
// match through abandon_match (codebreaker/release.h).
#pragma once

#include <cstdint>

#include "engine/zqspiel.h"

namespace zqspiel {

// Reads one waiting key, if there is one: true for Esc or Ctrl-C. The second
// code of an extended key is read too and, when scan is given, stored there
// (0 for any other key); every other key is dropped.
bool keyboard_breaks_off(unsigned char* scan = nullptr);

// Counts work down to the next look at the clock and the keyboard, so that a
// loop pays one subtraction per unit of work and a look only every `step`
// units. A pacer made with at_once is due at its first unit.
class Pacer {
public:
    explicit constexpr Pacer(std::int64_t step, bool at_once = false) : step_(step), left_(at_once ? 0 : step) {}
    // Counts `work` units done; true when a look is due, and counting starts
    // again from `step`.
    bool due(std::int64_t work = 1) {
        left_ -= work;
        if (left_ > 0) return false;
        left_ = step_;
        return true;
    }

private:
    std::int64_t step_;
    std::int64_t left_;
};

// The stars due on the progress bar when `done` of `total` are done: tenths.
inline std::int32_t stars_due(std::int64_t done, std::int64_t total) {
    return static_cast<std::int32_t>(done * 10 / total);
}

// Draws the bar (column 44 of row 25, at most 10 stars) when more stars are
// due than ZAHL_DER_STERNE shown, and puts the cursor back to (WX, WY).
void draw_star_bar(std::int32_t due);

}  // namespace zqspiel
