// Placeholder until the match loop is built: back to the main menu.
#include "engine/match.h"

namespace zqspiel {
void run_matches() {}
}  // namespace zqspiel
