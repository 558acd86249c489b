// Unit ZQE: the English instruction pages.
#pragma once

#include <cstdint>

namespace zqe {

void KURZANLEITUNGE(std::uint8_t normal, std::uint8_t hervor);
void SPIELANLEITUNGE(std::uint8_t normal, std::uint8_t hervor);

}  // namespace zqe
