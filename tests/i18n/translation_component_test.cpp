#include "i18n/lang_dispatcher.h"
#include "i18n/stored_text.h"
#include "i18n/translation_component.h"
#include "tests/support/fake_window.h"

#include <gtest/gtest.h>

namespace i18n {
namespace {

using Key = std::pair<std::string, std::string>;

TsiExtendedItem Extended(std::string identifier, std::u16string texts,
                         TTypeKind kind = TTypeKind::tkUString)
{
    return {std::move(identifier), kind, "\xFF\xFE" + EncodeStoredText(texts)};
}

// A window "TFrmTest" laid out in Czech, and its tables; English is applied
// through the dispatcher as at start-up.
class TranslationComponentTest : public ::testing::Test {
protected:
    TranslationComponentTest() : window("TFrmTest", "FrmTest")
    {
        for (const char* control : {"lbl", "btn", "ed", "inherits", "list"})
            window.AddControl(control);
        window.texts = {{{"", "Caption"}, "Titulek"},     {{"lbl", "Caption"}, "Ahoj"},
                        {{"btn", "Caption"}, "Tlačítko"}, {{"ed", "Text"}, "same"},
                        {{"ed", "Lines.Text"}, "old"},    {{"lbl", "Caption.Text"}, "Popis"},
                        {{"ed", "Hint"}, "Nápověda"}};
        window.lists[{"list", "Items"}] = {"jedna"};
        window.parentFont["inherits"] = true;
    }

    void Load(const std::string& data, std::vector<TsiExtendedItem> extended = {})
    {
        component.emplace(window, ParseTranslationData(data, 2, "TFrmTest"), std::move(extended),
                          &dispatcher);
        component->OnChangeLanguage = [this](TsiCustomLang&) { ++changes; };
    }

    TsiLangDispatcher dispatcher;
    test_support::FakeWindow window;
    std::optional<TsiCustomLang> component;
    int changes = 0;
};

TEST_F(TranslationComponentTest, AppliesTheActiveColumnWhereItHasText)
{
    Load("stCaptions_Unicode\r\n"
         "lbl\x01Hello\x01\x01\r\n"
         "TFrmTest\x01Title\x01Titulek\x01\r\n"
         "btn\x01\x01Tlačítko\x01\r\n"
         "ghost\x01Boo\x01\x01\r\n"
         "stHints_Unicode\r\n"
         "ed\x01Help\x01\x01\r\n");
    dispatcher.SetLanguage("English");
    EXPECT_EQ(window.texts[Key("", "Caption")], "Title");
    EXPECT_EQ(window.texts[Key("lbl", "Caption")], "Hello");
    EXPECT_EQ(window.texts[Key("btn", "Caption")], "Tlačítko");
    EXPECT_EQ(window.texts[Key("ed", "Hint")], "Help");
    EXPECT_EQ(window.texts.count(Key("ghost", "Caption")), 0u);
    EXPECT_EQ(changes, 1);

    // An empty Czech text leaves what English put there.
    dispatcher.SetLanguage("Czech");
    EXPECT_EQ(window.texts[Key("lbl", "Caption")], "Hello");
    EXPECT_EQ(window.texts[Key("", "Caption")], "Titulek");
    EXPECT_EQ(changes, 2);
}

TEST_F(TranslationComponentTest, OtherStringsChangeOnlyWhatDiffers)
{
    Load("stOtherStrings_Unicode\r\n"
         "ed.Text\x01same\x01\x01\r\n"
         "ed.Lines.Text\x01new\x01\x01\r\n"
         "ghost.Text\x01x\x01\x01\r\n"
         "ed.Missing\x01x\x01\x01\r\n");
    dispatcher.SetLanguage("English");
    EXPECT_EQ(window.writes, std::vector<std::string>{"ed.Lines.Text"});
    EXPECT_EQ(window.texts[Key("ed", "Lines.Text")], "new");
}

TEST_F(TranslationComponentTest, DropsLinesOfExcludedPropertiesAndOfName)
{
    Load("stOtherStrings_Unicode\r\n"
         "ed.HelpKeyword\x01x\x01\x01\r\n"
         "ed.Name\x01x\x01\x01\r\n"
         "ed.Lookup.listfield\x01x\x01\x01\r\n"
         "ed.Text\x01x\x01\x01\r\n"
         "stMultiLines_Unicode\r\n"
         "list.PickList\x01x\x01\x01\r\n");
    const auto& other = component->Tables()[static_cast<std::size_t>(StringsType::stOtherStrings)];
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].key, "ed.Text");
    EXPECT_TRUE(component->Tables()[static_cast<std::size_t>(StringsType::stMultiLines)].empty());
    EXPECT_EQ(TsiCustomLang::ExcludedProperties().size(), 30u);
}

TEST_F(TranslationComponentTest, FontsAndCharsetsSkipControlsWithTheParentsFont)
{
    Load("stFonts_Unicode\r\n"
         "TFrmTest\x01Tahoma\x01Tahoma\x01\r\n"
         "btn\x01Segoe UI\x01\x01\r\n"
         "inherits\x01Arial\x01\x01\r\n"
         "stCharSets_Unicode\r\n"
         "btn\x01"
         "easteurope_charset\x01\x01\r\n"
         "inherits\x01OEM_CHARSET\x01\x01\r\n"
         "TFrmTest\x01NO_SUCH_CHARSET\x01\x01\r\n");
    dispatcher.SetLanguage("English");
    EXPECT_EQ(window.fontNames,
              (std::map<std::string, std::string>{{"", "Tahoma"}, {"btn", "Segoe UI"}}));
    EXPECT_EQ(window.charsets, (std::map<std::string, int>{{"btn", 238}}));
}

TEST_F(TranslationComponentTest, MultiLinesTakeCommaSeparatedLines)
{
    Load("stMultiLines_Unicode\r\n"
         "list.Items\x01one, \"two, \"\"2\"\"\" ,three\x01\x01\r\n");
    dispatcher.SetLanguage("English");
    EXPECT_EQ(window.lists[Key("list", "Items")],
              (std::vector<std::string>{"one", "two, \"2\"", "three"}));
}

TEST_F(TranslationComponentTest, ExtendedTranslationsFollowTheirPaths)
{
    Load("stCaptions_Unicode\r\n", {Extended("lbl.Caption.Text", u"Label\x01Popis\x01"),
                                    Extended("TFrmTest.Caption", u"Window\x01\x01"),
                                    Extended("ghost.Caption.Text", u"x\x01x\x01"),
                                    Extended("btn.Caption", u"7\x01\x01", TTypeKind::tkInteger),
                                    Extended("ed.Unknown", u"x\x01\x01")});
    dispatcher.SetLanguage("English");
    EXPECT_EQ(window.texts[Key("lbl", "Caption.Text")], "Label");
    EXPECT_EQ(window.texts[Key("", "Caption")], "Window");
    EXPECT_EQ(window.texts[Key("btn", "Caption")], "Tlačítko");
    EXPECT_EQ(window.writes, (std::vector<std::string>{"lbl.Caption.Text", ".Caption"}));
}

TEST_F(TranslationComponentTest, LinkingToADispatcherInEnglishAppliesItAtOnce)
{
    dispatcher.SetLanguage("English");
    Load("stCaptions_Unicode\r\n"
         "lbl\x01Hello\x01\x01\r\n");
    EXPECT_EQ(component->Language(), "English");
    EXPECT_EQ(window.texts[Key("lbl", "Caption")], "Hello");
    EXPECT_EQ(dispatcher.LinkedComponents(), std::vector<TsiCustomLang*>{&*component});
}

TEST_F(TranslationComponentTest, ErrorsAndWhatTheyLeave)
{
    Load("stCaptions_Unicode\r\n");
    try {
        TsiCustomLang second(window, {}, {}, nullptr);
        FAIL() << "a second component";
    } catch (const ELanguageError&) {
        FAIL() << "a plain error expected";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Only one TsiCustomLang component per Form/DataModule allowed!");
    }
    for (const int number : {0, 3}) {
        try {
            component->SetActiveLanguage(number);
            FAIL() << number;
        } catch (const ELanguageError& error) {
            EXPECT_EQ(error.what(), "TFrmTest: " + std::to_string(number) +
                                        " - is not a valid property value!\n"
                                        "Value must be within [1..2]!");
        }
    }
    EXPECT_EQ(component->ActiveLanguage(), 2);
    EXPECT_EQ(changes, 0);

    test_support::FakeWindow other;
    const TsiExtendedItem withoutMark{"lbl.Caption.Text", TTypeKind::tkUString,
                                      EncodeStoredText(u"x\x01")};
    EXPECT_THROW(TsiCustomLang(other, {}, {withoutMark}, nullptr), ELanguageError);
}

} // namespace
} // namespace i18n
