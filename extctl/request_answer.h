#pragma once

#include "platform/named_mutexes.h"

#include <string>

namespace extctl {

// The answers to a request of another program (next proxy, switch on, switch
// off): the state the program is in once it has acted on it. A requester
// lets go of its request when it sees one, so that one request is exactly
// one action, and tells its caller what came of it.
constexpr const char* kAnswerChecking = "Hopvane_answer_checking";
constexpr const char* kAnswerApplied = "Hopvane_answer_applied";
constexpr const char* kAnswerIdle = "Hopvane_answer_idle";
constexpr const char* kAnswerOff = "Hopvane_answer_off";

// Held for two polls when the program moved on by itself because the
// applied proxy stopped answering, for those who watch the status names.
constexpr const char* kNoteAppliedProxyDied = "Hopvane_note_proxy_died";
// Held for two polls when a check cycle ran out of entries without a proxy,
// for those who wait for one.
constexpr const char* kNoteNoProxyFound = "Hopvane_note_no_proxy";

// The answer given last, held for two polls of the program: long enough for
// a requester that looks every few milliseconds, short enough that a later
// request never mistakes it for its own.
class RequestAnswer {
public:
    explicit RequestAnswer(platform::NamedMutexes& mutexes) : mutexes_(mutexes) {}
    ~RequestAnswer() { Withdraw(); }
    RequestAnswer(const RequestAnswer&) = delete;
    RequestAnswer& operator=(const RequestAnswer&) = delete;

    void Give(const std::string& answer);
    // Called on every poll; the answer goes on the second poll after it.
    void PollPassed();

private:
    void Withdraw();

    platform::NamedMutexes& mutexes_;
    platform::NamedMutexes::Handle handle_ = platform::NamedMutexes::kNoHandle;
    int pollsHeld_ = 0;
};

} // namespace extctl
