#pragma once

#include "extctl/request_answer.h"
#include "extctl/status_mutex.h"

namespace hopvane_ctl {

// The program holds exactly one status name at a time.
using extctl::kStatusChange;
using extctl::kStatusOff;
using extctl::kStatusOk;

// Requests: the program acts on each name it finds on its 88 ms poll, again
// on every poll for as long as somebody holds it.
constexpr const char* kRequestNext = "Hopvane_go_change";
constexpr const char* kRequestOn = "Hopvane_go_on";
constexpr const char* kRequestOff = "Hopvane_go_off";

// The program's answers to a request and its notes, each held for two of
// its polls.
using extctl::kAnswerApplied;
using extctl::kAnswerChecking;
using extctl::kAnswerIdle;
using extctl::kAnswerOff;
using extctl::kNoteAppliedProxyDied;
using extctl::kNoteNoProxyFound;

} // namespace hopvane_ctl
