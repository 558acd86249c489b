#include "engine/answer_order.h"

namespace zqspiel {
void REIHENFOLGE() {}
}  // namespace zqspiel
