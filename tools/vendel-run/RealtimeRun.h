// Real-time mode: the ROM runs on the real core plug-in, driven as the shell drives it.
#pragma once

#include "RunOptions.h"

namespace tavrel::vendelrun {

// Exit status: 0 after the run, 2 for bad input, 1 when a file cannot be written.
int runRealtime(const RunOptions& options);

}  // namespace tavrel::vendelrun
