#pragma once

namespace hopvane_ctl {

// The program holds exactly one status name at a time.
constexpr const char* kStatusOff = "Hopvane_off";
constexpr const char* kStatusChange = "Hopvane_change";
constexpr const char* kStatusOk = "Hopvane_ok";

// Requests: the program acts on each name it finds on its 88 ms poll, again
// on every poll for as long as somebody holds it.
constexpr const char* kRequestNext = "Hopvane_go_change";
constexpr const char* kRequestOn = "Hopvane_go_on";
constexpr const char* kRequestOff = "Hopvane_go_off";

// The program's answer to a request, held for two of its polls once it has
// acted on it: the state it is in then. A running check puts Hopvane_go_change
// off, and answers it when the next check begins.
constexpr const char* kAnswerChecking = "Hopvane_answer_checking";
constexpr const char* kAnswerApplied = "Hopvane_answer_applied";
constexpr const char* kAnswerIdle = "Hopvane_answer_idle";
constexpr const char* kAnswerOff = "Hopvane_answer_off";

// Held for two polls when the program moved on by itself because the applied
// proxy stopped answering.
constexpr const char* kNoteAppliedProxyDied = "Hopvane_note_proxy_died";
// Held for two polls when a check cycle ran out of entries without a proxy.
constexpr const char* kNoteNoProxyFound = "Hopvane_note_no_proxy";

} // namespace hopvane_ctl
