// Unit ZQD: the German instruction pages.
#pragma once

#include <cstdint>

namespace zqd {

void KURZANLEITUNGD(std::uint8_t normal, std::uint8_t hervor);
void SPIELANLEITUNGD(std::uint8_t normal, std::uint8_t hervor);

}  // namespace zqd
