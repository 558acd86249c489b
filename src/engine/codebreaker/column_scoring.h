// The flat index of an answer class while searching.
#pragma once

namespace zqspiel {

// Class tables are kept flat while searching: index common + 16 * P.
constexpr int FLAT_CLASSES = 160;
constexpr int flat_class(int common, int p) { return common + 16 * p; }

}  // namespace zqspiel
