// Unit ZQE: the English instruction pages.
#pragma once

#include <cstdint>
#include <span>

#include "help/instruction_pages.h"

namespace zqe {

void KURZANLEITUNGE(std::uint8_t normal, std::uint8_t highlight);
void SPIELANLEITUNGE(std::uint8_t normal, std::uint8_t highlight);

// The texts of the pages, for checks of their layout.
help::Page short_page();
std::span<const help::Page> detailed_pages();

}  // namespace zqe
