#pragma once

namespace ztgl {

// A named step of long work at which the fault tests stop the program the hard way, as a power cut
// or a killed process would: when the environment variable ZTGL_KILL_AT holds `step`, the process
// kills itself there (SIGKILL; TerminateProcess on Windows) without any clean-up. Without the
// variable it does nothing.
void KillPoint(const char* step);

}  // namespace ztgl
