#include "proxylist/proxy_list.h"
#include "tests/proxylist/list_entries.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using proxylist::ProxyList;
using test_support::AddEntries;
using test_support::Entries;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ProxyListText, JoinsEveryLineWithCrLfIncludingTheLast)
{
    ProxyList list;
    EXPECT_EQ(list.Text(), "");
    AddEntries(list, {"a:1", "", "b:2"});
    EXPECT_EQ(list.Text(), "a:1\r\n\r\nb:2\r\n");
}

struct SplitCase {
    const char* name;
    std::string text;
    std::vector<std::string> entries;
};

void PrintTo(const SplitCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class ProxyListSetText : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ProxyListSetText, SplitsIntoEntries)
{
    ProxyList list;
    AddEntries(list, {"old"});
    list.SetText(GetParam().text);
    EXPECT_EQ(Entries(list), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyListSetText,
    ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      SplitCase{"LoneLf", "a\nb\n", {"a", "b"}},
                      SplitCase{"LoneCr", "a\rb\r", {"a", "b"}},
                      SplitCase{"NoFinalBreak", "a\r\nb", {"a", "b"}},
                      SplitCase{"MixedBreaks", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
                      SplitCase{"CrBeforeCrLf", "a\r\r\nb", {"a", "", "b"}},
                      SplitCase{"LfBeforeCr", "a\n\rb", {"a", "", "b"}},
                      SplitCase{"InnerEmptyLine", "a\r\n\r\nb\r\n", {"a", "", "b"}},
                      SplitCase{"OnlyABreak", "\r\n", {""}},
                      SplitCase{"TwoFinalBreaks", "a\r\n\r\n", {"a", ""}},
                      SplitCase{"LeadingBreak", "\na", {"", "a"}},
                      SplitCase{"EndsAtNul", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
                      SplitCase{"NulFirst", std::string("\0a\r\n", 4), {}},
                      SplitCase{"SpacesKept", " a:1 \r\n\t", {" a:1 ", "\t"}},
                      SplitCase{"CaseKept", "Proxy.Example.COM:8080", {"Proxy.Example.COM:8080"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ProxyListIndexOf, ComparesWholeLinesIgnoringCaseAndFindsTheFirst)
{
    ProxyList list;
    AddEntries(list, {"10.0.0.1:8080", "Host.Example:80", "", "host.example:80", "Český:1"});
    EXPECT_EQ(list.IndexOf("HOST.example:80"), 1);
    EXPECT_EQ(list.IndexOf("český:1"), 4);
    EXPECT_EQ(list.IndexOf(""), 2);
    EXPECT_EQ(list.IndexOf("10.0.0.1:80"), -1);
    EXPECT_EQ(list.IndexOf("10.0.0.1:80800"), -1);
    EXPECT_EQ(list.IndexOf(" 10.0.0.1:8080"), -1);
}

TEST(ProxyListIndexOf, EmptyListFindsNothing)
{
    EXPECT_EQ(ProxyList().IndexOf(""), -1);
}

TEST(ProxyListAdd, KeepsEntriesAsTheyCome)
{
    ProxyList list;
    AddEntries(list, {"B:1", "a:1", "B:1", " "});
    EXPECT_THAT(Entries(list), ElementsAre("B:1", "a:1", "B:1", " "));
}

TEST(ProxyListDelete, IndexNamingNoLineRemovesNothing)
{
    for (int index : {-2, -1, 3, 4, 100}) {
        ProxyList list;
        AddEntries(list, {"a", "b", "c"});
        list.Delete(index);
        EXPECT_THAT(Entries(list), ElementsAre("a", "b", "c")) << index;
    }
}

TEST(ProxyListDelete, RemovesTheNamedLine)
{
    ProxyList list;
    AddEntries(list, {"a", "b", "c"});
    list.Delete(1);
    EXPECT_THAT(Entries(list), ElementsAre("a", "c"));
    list.Delete(1);
    list.Delete(0);
    EXPECT_THAT(Entries(list), IsEmpty());
}

TEST(ProxyListLine, IndexNamingNoLineThrows)
{
    ProxyList list;
    AddEntries(list, {"a"});
    EXPECT_EQ(list.Line(0), "a");
    EXPECT_THROW(list.Line(1), std::out_of_range);
    EXPECT_THROW(list.Line(-1), std::out_of_range);
}

struct SelectionCase {
    const char* name;
    int selectedBefore;
    std::function<void(ProxyList&)> change;
    int selectedAfter;
};

void PrintTo(const SelectionCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class ProxyListSelection : public ::testing::TestWithParam<SelectionCase> {};

// Starts from the lines l0 to l4 with the case's selection.
TEST_P(ProxyListSelection, FollowsTheRules)
{
    ProxyList list;
    AddEntries(list, {"l0", "l1", "l2", "l3", "l4"});
    list.SetItemIndex(GetParam().selectedBefore);
    ASSERT_EQ(list.ItemIndex(), GetParam().selectedBefore);
    GetParam().change(list);
    EXPECT_EQ(list.ItemIndex(), GetParam().selectedAfter);
    if (GetParam().selectedAfter == -1)
        EXPECT_EQ(list.SelectedEntry(), std::nullopt);
    else
        EXPECT_EQ(list.SelectedEntry(), list.Line(GetParam().selectedAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyListSelection,
    ::testing::Values(
        SelectionCase{"SelectFirst", -1, [](ProxyList& l) { l.SetItemIndex(0); }, 0},
        SelectionCase{"SelectLast", 1, [](ProxyList& l) { l.SetItemIndex(4); }, 4},
        SelectionCase{"SelectNone", 2, [](ProxyList& l) { l.SetItemIndex(-1); }, -1},
        SelectionCase{"SelectCountKeeps", 2, [](ProxyList& l) { l.SetItemIndex(5); }, 2},
        SelectionCase{"SelectPastCountKeeps", 2, [](ProxyList& l) { l.SetItemIndex(50); }, 2},
        SelectionCase{"SelectBelowMinusOneKeeps", 3, [](ProxyList& l) { l.SetItemIndex(-2); }, 3},
        SelectionCase{"SelectOutOfRangeKeepsNone", -1, [](ProxyList& l) { l.SetItemIndex(5); }, -1},
        SelectionCase{"DeleteSelected", 2, [](ProxyList& l) { l.Delete(2); }, -1},
        SelectionCase{"DeleteSelectedLast", 4, [](ProxyList& l) { l.Delete(4); }, -1},
        SelectionCase{"DeleteAbove", 3, [](ProxyList& l) { l.Delete(0); }, 2},
        SelectionCase{"DeleteJustAbove", 3, [](ProxyList& l) { l.Delete(2); }, 2},
        SelectionCase{"DeleteBelow", 1, [](ProxyList& l) { l.Delete(4); }, 1},
        SelectionCase{"DeleteWithoutSelection", -1, [](ProxyList& l) { l.Delete(0); }, -1},
        SelectionCase{"DeleteNothing", 2, [](ProxyList& l) { l.Delete(7); }, 2},
        SelectionCase{"Append", 4, [](ProxyList& l) { l.Add("l5"); }, 4},
        SelectionCase{"SetText", 1, [](ProxyList& l) { l.SetText("x\r\ny\r\n"); }, -1},
        SelectionCase{"SetSameText", 1, [](ProxyList& l) { l.SetText(l.Text()); }, -1},
        SelectionCase{"Clear", 0, [](ProxyList& l) { l.Clear(); }, -1}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ProxyListSelection, SelectedEntryIsTheSelectedLinesText)
{
    ProxyList list;
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.SelectedEntry(), std::nullopt);
    AddEntries(list, {"a:1", "b:2", "c:3"});
    EXPECT_EQ(list.SelectedEntry(), std::nullopt);
    list.SetItemIndex(1);
    EXPECT_EQ(list.SelectedEntry(), "b:2");
    list.Delete(0);
    EXPECT_EQ(list.SelectedEntry(), "b:2");
}

TEST(ProxyListSelection, EmptyListAcceptsOnlyNone)
{
    ProxyList list;
    list.SetItemIndex(0);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.SetItemIndex(-1);
    EXPECT_EQ(list.ItemIndex(), -1);
}

} // namespace
