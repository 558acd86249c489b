// Placeholder until the configuration page is built.
#include "frame/frame.h"

namespace frame {
void KONFIGURATION() {}
}  // namespace frame
