// Screen rows put together from their pieces.
#pragma once

#include <concepts>
#include <string>
#include <string_view>

namespace zqspiel {

// A piece of a row: text, or a single character. Numbers are refused, as
// appending one would add the character of that code instead of its digits.
template <class T>
concept RowPiece = std::convertible_to<const T&, std::string_view> || std::same_as<T, char>;

// The pieces one after the other, as "|" + s + "|" would give them. The
// pieces are appended to one string rather than joined with operator+:
// GCC 12 at -O2 warns wrongly (-Wrestrict) about a literal put before a
// temporary string, and the appends build no temporaries.
template <RowPiece... Pieces>
std::string joined(const Pieces&... pieces) {
    std::string row;
    ((row += pieces), ...);
    return row;
}

}  // namespace zqspiel
