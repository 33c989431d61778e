#include "extctl/status_mutex.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace extctl {
namespace {

using platform::NamedMutexes;

std::vector<std::string> ExistingStatusNames()
{
    std::vector<std::string> names;
    for (const char* name : {kStatusOff, kStatusChange, kStatusOk}) {
        if (platform::SystemNamedMutexes().Exists(name))
            names.push_back(name);
    }
    return names;
}

TEST(StatusMutex, ExactlyOneStatusNameExistsBetweenSwitches)
{
    test_support::IsolatedUserEnvironment environment;
    StatusMutex status(platform::SystemNamedMutexes());
    EXPECT_TRUE(ExistingStatusNames().empty());
    for (const char* name :
         {kStatusOff, kStatusChange, kStatusOk, kStatusOk, kStatusChange, kStatusOff}) {
        EXPECT_EQ(status.SwitchTo(name), name);
        EXPECT_TRUE(status.HoldsHandle());
        EXPECT_EQ(ExistingStatusNames(), std::vector<std::string>{name});
    }
}

TEST(StatusMutex, ASecondCopyKeepsASharedNameAlive)
{
    test_support::IsolatedUserEnvironment environment;
    StatusMutex first(platform::SystemNamedMutexes());
    StatusMutex second(platform::SystemNamedMutexes());
    first.SwitchTo(kStatusOff);
    second.SwitchTo(kStatusOff);
    first.SwitchTo(kStatusChange);
    EXPECT_EQ(ExistingStatusNames(), (std::vector<std::string>{kStatusOff, kStatusChange}));
    second.SwitchTo(kStatusChange);
    EXPECT_EQ(ExistingStatusNames(), std::vector<std::string>{kStatusChange});
}

// Records the calls and refuses the names it is told to.
class RecordingMutexes final : public NamedMutexes {
public:
    Created Create(std::string_view name) override
    {
        calls.push_back("create " + std::string(name));
        if (refused == name)
            return {kNoHandle, platform::kErrorInvalidHandle};
        return {nextHandle++, platform::kErrorSuccess};
    }
    void Close(Handle handle) override { calls.push_back("close " + std::to_string(handle)); }
    bool Exists(std::string_view) override { return false; }

    std::vector<std::string> calls;
    std::string refused;
    Handle nextHandle = 1;
};

TEST(StatusMutex, ClosesTheOldHandleBeforeCreatingTheNewName)
{
    RecordingMutexes mutexes;
    StatusMutex status(mutexes);
    status.SwitchTo(kStatusOff);
    status.SwitchTo(kStatusOk);
    status.SwitchTo(kStatusOk);
    EXPECT_EQ(mutexes.calls,
              (std::vector<std::string>{"create Hopvane_off", "close 1", "create Hopvane_ok",
                                        "close 2", "create Hopvane_ok"}));
}

TEST(StatusMutex, AFailedCreationHoldsNothingAndTheNextSwitchClosesNothing)
{
    RecordingMutexes mutexes;
    mutexes.refused = kStatusChange;
    StatusMutex status(mutexes);
    status.SwitchTo(kStatusOff);
    EXPECT_EQ(status.SwitchTo(kStatusChange), kStatusChange);
    EXPECT_FALSE(status.HoldsHandle());
    status.SwitchTo(kStatusOk);
    EXPECT_TRUE(status.HoldsHandle());
    EXPECT_EQ(mutexes.calls,
              (std::vector<std::string>{"create Hopvane_off", "close 1", "create Hopvane_change",
                                        "create Hopvane_ok"}));
}

} // namespace
} // namespace extctl
