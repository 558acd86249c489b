// The host's clock, memory and processors as the real terminal reports
// them, one header per topic; this one brings in all three.
#pragma once

#include "console/system_clock.h"
#include "console/system_cores.h"
#include "console/system_memory.h"
