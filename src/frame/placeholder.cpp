// Placeholder until start-up and the main menu are built.
#include "frame/frame.h"

namespace frame {
void ZENTROVALQUIST() {}
}  // namespace frame
