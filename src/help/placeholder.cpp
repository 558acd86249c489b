// Placeholders until the instruction pages are built: each returns to the menu.
#include "help/zqd.h"
#include "help/zqe.h"

namespace zqd {
void KURZANLEITUNGD(std::uint8_t, std::uint8_t) {}
void SPIELANLEITUNGD(std::uint8_t, std::uint8_t) {}
}  // namespace zqd

namespace zqe {
void KURZANLEITUNGE(std::uint8_t, std::uint8_t) {}
void SPIELANLEITUNGE(std::uint8_t, std::uint8_t) {}
}  // namespace zqe
