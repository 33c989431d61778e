#pragma once

namespace hopvane_ctl {

// `status` exits with the state found; the other commands with 0 on success
// and otherwise the same codes for the same situations.
enum class ExitCode : int {
    kSuccess = 0, // also: Hopvane_ok
    kChanging = 1,
    kSwitchedOff = 2,
    kNotRunning = 3,
    kNoReaction = 4,
    kNoProxyInTime = 5,
    kSystemError = 6,
    kNothingToCheck = 7,
    kUsage = 64,
};

} // namespace hopvane_ctl
