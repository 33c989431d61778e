#include "proxylist/proxy_list.h"
#include "tests/proxylist/list_entries.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using proxylist::ProxyList;
using test_support::AddEntries;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records what it hears and whether the list was consistent at that moment.
class RecordingObserver : public proxylist::ProxyListObserver {
public:
    explicit RecordingObserver(const ProxyList& list) : list_(list) {}

    void ContentReset() override { Record("reset"); }
    void RowInserted(int index) override { Record("inserted " + std::to_string(index)); }
    void RowRemoved(int index) override { Record("removed " + std::to_string(index)); }
    void SelectionChanged(int itemIndex) override
    {
        EXPECT_EQ(itemIndex, list_.ItemIndex());
        Record("selected " + std::to_string(itemIndex));
    }

    std::vector<std::string> events;

private:
    void Record(std::string event)
    {
        EXPECT_LT(list_.ItemIndex(), list_.Count()) << event;
        events.push_back(std::move(event));
    }

    const ProxyList& list_;
};

struct ObserverCase {
    const char* name;
    int selectedBefore;
    std::function<void(ProxyList&)> change;
    std::vector<std::string> events;
};

void PrintTo(const ObserverCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class ProxyListObserverEvents : public ::testing::TestWithParam<ObserverCase> {};

// Starts from the lines l0 to l4 with the case's selection.
TEST_P(ProxyListObserverEvents, AreReportedInOrder)
{
    ProxyList list;
    AddEntries(list, {"l0", "l1", "l2", "l3", "l4"});
    list.SetItemIndex(GetParam().selectedBefore);
    RecordingObserver first(list);
    RecordingObserver second(list);
    list.AddObserver(&first);
    list.AddObserver(&second);
    GetParam().change(list);
    EXPECT_EQ(first.events, GetParam().events);
    EXPECT_EQ(second.events, GetParam().events);
}

using Events = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyListObserverEvents,
    ::testing::Values(
        ObserverCase{"Add", 1, [](ProxyList& l) { l.Add("l5"); }, Events{"inserted 5"}},
        ObserverCase{"DeleteBelowSelection", 1, [](ProxyList& l) { l.Delete(3); },
                     Events{"removed 3"}},
        ObserverCase{"DeleteAboveSelection", 3, [](ProxyList& l) { l.Delete(1); },
                     Events{"removed 1", "selected 2"}},
        ObserverCase{"DeleteSelectedLast", 4, [](ProxyList& l) { l.Delete(4); },
                     Events{"removed 4", "selected -1"}},
        ObserverCase{"DeleteNoLine", 2, [](ProxyList& l) { l.Delete(5); }, Events{}},
        ObserverCase{"Select", -1, [](ProxyList& l) { l.SetItemIndex(2); }, Events{"selected 2"}},
        ObserverCase{"SelectAgain", 2, [](ProxyList& l) { l.SetItemIndex(2); },
                     Events{"selected 2"}},
        ObserverCase{"SelectOutOfRange", 2, [](ProxyList& l) { l.SetItemIndex(5); }, Events{}},
        ObserverCase{"SetTextWithSelection", 4, [](ProxyList& l) { l.SetText("x"); },
                     Events{"reset", "selected -1"}},
        ObserverCase{"SetTextWithoutSelection", -1, [](ProxyList& l) { l.SetText("x"); },
                     Events{"reset"}},
        ObserverCase{"Clear", 0, [](ProxyList& l) { l.Clear(); }, Events{"reset", "selected -1"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ProxyListObserver, HearsALoadButNotAFailedOne)
{
    test_support::TempDir dir;
    test_support::WriteFileBytes(dir.File("list.txt"), "a\r\nb\r\n");
    ProxyList list;
    AddEntries(list, {"x"});
    list.SetItemIndex(0);
    RecordingObserver observer(list);
    list.AddObserver(&observer);

    EXPECT_ANY_THROW(list.LoadFromFile(dir.File("missing.txt")));
    EXPECT_THAT(observer.events, IsEmpty());

    list.LoadFromFile(dir.File("list.txt"));
    EXPECT_THAT(observer.events, ElementsAre("reset", "selected -1"));
}

TEST(ProxyListObserver, RemovedObserverHearsNothingAndTheOthersGoOn)
{
    ProxyList list;
    RecordingObserver removed(list);
    RecordingObserver staying(list);
    list.AddObserver(&removed);
    list.AddObserver(&staying);
    list.Add("a");
    list.RemoveObserver(&removed);
    list.Add("b");
    EXPECT_THAT(removed.events, ElementsAre("inserted 0"));
    EXPECT_THAT(staying.events, ElementsAre("inserted 0", "inserted 1"));
}

} // namespace
