// How many processors this process may use.
#pragma once

namespace console {

// The processors this process may run on: its affinity mask on Linux, the
// machine's count elsewhere; at least 1.
int usable_cores();

}  // namespace console
