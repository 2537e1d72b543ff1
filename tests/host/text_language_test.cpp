// Which translation is shown (user interface language x ANSI code page), and
// how a text is found in a string table block.
#include "text/text_language.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct LanguageCase {
    const char* label;
    LANGID userInterface;
    UINT ansiCodePage;
    LANGID shown; // LANG_NEUTRAL: the English texts
};

class TextLanguageTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(TextLanguageTest, ShowsATranslationOnlyWhereTheCodePageHasItsLetters) {
    const LanguageCase& row = GetParam();
    EXPECT_EQ(row.shown, ChooseTextLanguage(row.userInterface, row.ansiCodePage))
        << std::hex << row.userInterface << " on " << std::dec << row.ansiCodePage;
}

constexpr LANGID Lang(WORD primary, WORD sub) { return MAKELANGID(primary, sub); }
const LANGID German = Lang(LANG_GERMAN, SUBLANG_NEUTRAL);
const LANGID Brazilian = Lang(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN);
const LANGID Simplified = Lang(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rule, TextLanguageTest, ::testing::Values(
    LanguageCase{"EnglishOnWestern", Lang(LANG_ENGLISH, SUBLANG_ENGLISH_US), 1252, LANG_NEUTRAL},
    LanguageCase{"UntranslatedSwedish", Lang(LANG_SWEDISH, SUBLANG_SWEDISH), 1252, LANG_NEUTRAL},
    LanguageCase{"GermanOnWestern", Lang(LANG_GERMAN, SUBLANG_GERMAN), 1252, German},
    LanguageCase{"AustrianGermanTakesTheGerman", Lang(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN), 1252, German},
    LanguageCase{"GermanOnCyrillic", Lang(LANG_GERMAN, SUBLANG_GERMAN), 1251, LANG_NEUTRAL},
    LanguageCase{"FrenchOnWestern", Lang(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN), 1252, Lang(LANG_FRENCH, SUBLANG_NEUTRAL)},
    LanguageCase{"SpanishOnWestern", Lang(LANG_SPANISH, SUBLANG_SPANISH_MEXICAN), 1252, Lang(LANG_SPANISH, SUBLANG_NEUTRAL)},
    LanguageCase{"ItalianOnWestern", Lang(LANG_ITALIAN, SUBLANG_ITALIAN), 1252, Lang(LANG_ITALIAN, SUBLANG_NEUTRAL)},
    LanguageCase{"BrazilianOnWestern", Lang(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), 1252, Brazilian},
    LanguageCase{"PortugalTakesTheBrazilian", Lang(LANG_PORTUGUESE, SUBLANG_PORTUGUESE), 1252, Brazilian},
    LanguageCase{"DutchOnWestern", Lang(LANG_DUTCH, SUBLANG_DUTCH), 1252, Lang(LANG_DUTCH, SUBLANG_NEUTRAL)},
    LanguageCase{"PolishOnCentralEuropean", Lang(LANG_POLISH, SUBLANG_POLISH_POLAND), 1250, Lang(LANG_POLISH, SUBLANG_NEUTRAL)},
    LanguageCase{"PolishOnWestern", Lang(LANG_POLISH, SUBLANG_POLISH_POLAND), 1252, LANG_NEUTRAL},
    LanguageCase{"RussianOnCyrillic", Lang(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), 1251, Lang(LANG_RUSSIAN, SUBLANG_NEUTRAL)},
    LanguageCase{"RussianOnWestern", Lang(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), 1252, LANG_NEUTRAL},
    LanguageCase{"JapaneseOnShiftJis", Lang(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), 932, Lang(LANG_JAPANESE, SUBLANG_NEUTRAL)},
    LanguageCase{"JapaneseOnWestern", Lang(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), 1252, LANG_NEUTRAL},
    LanguageCase{"JapaneseOnChinese", Lang(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), 936, LANG_NEUTRAL},
    LanguageCase{"SimplifiedChineseOnGbk", Lang(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 936, Simplified},
    LanguageCase{"SingaporeTakesTheSimplified", Lang(LANG_CHINESE, SUBLANG_CHINESE_SINGAPORE), 936, Simplified},
    LanguageCase{"TraditionalChineseIsNotTranslated", Lang(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 950, LANG_NEUTRAL},
    LanguageCase{"TaiwanOnGbkStillNot", Lang(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 936, LANG_NEUTRAL},
    LanguageCase{"KoreanOnUnifiedHangul", Lang(LANG_KOREAN, SUBLANG_KOREAN), 949, Lang(LANG_KOREAN, SUBLANG_NEUTRAL)},
    LanguageCase{"KoreanOnShiftJis", Lang(LANG_KOREAN, SUBLANG_KOREAN), 932, LANG_NEUTRAL},
    LanguageCase{"Utf8CodePageShowsEveryTranslation", Lang(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), CP_UTF8, Lang(LANG_JAPANESE, SUBLANG_NEUTRAL)},
    LanguageCase{"Utf8DoesNotTranslateEnglish", Lang(LANG_ENGLISH, SUBLANG_ENGLISH_UK), CP_UTF8, LANG_NEUTRAL}),
    [](const ::testing::TestParamInfo<LanguageCase>& info) { return std::string(info.param.label); });
// clang-format on

// A block as the resource compiler writes it: sixteen counted UTF-16 texts.
std::vector<WCHAR> Block(const std::vector<std::u16string>& texts) {
    std::vector<WCHAR> block;
    for (size_t index = 0; index < 16; ++index) {
        const std::u16string text = index < texts.size() ? texts[index] : u"";
        block.push_back(static_cast<WCHAR>(text.size()));
        block.insert(block.end(), text.begin(), text.end());
    }
    return block;
}

struct BlockCase {
    const char* label;
    UINT id;
    size_t cutTo; // bytes of the block kept; 0 keeps it whole
    bool found;
    std::u16string text;
};

class StringBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(StringBlockTest, FindsTheTextOrSaysTheBlockIsShort) {
    const BlockCase& row = GetParam();
    const std::vector<WCHAR> block =
        Block({u"Titel", u"", u"Schließen", u"x", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"Ende"});
    const size_t bytes = row.cutTo != 0 ? row.cutTo : block.size() * sizeof(WCHAR);
    // Exactly the kept bytes, so that the sanitizer sees any read past them.
    std::vector<unsigned char> kept(bytes);
    std::memcpy(kept.data(), block.data(), bytes);
    const WCHAR* text = nullptr;
    int length = -1;
    ASSERT_EQ(row.found, FindInStringBlock(kept.data(), kept.size(), row.id, &text, &length));
    if (row.found) {
        EXPECT_EQ(row.text, std::u16string(reinterpret_cast<const char16_t*>(text), size_t(length)));
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Blocks, StringBlockTest, ::testing::Values(
    BlockCase{"FirstOfItsBlock", 16, 0, true, u"Titel"},
    BlockCase{"EmptyTextIsFoundEmpty", 17, 0, true, u""},
    BlockCase{"AfterAnEmptyOne", 18, 0, true, u"Schließen"},
    BlockCase{"LastOfTheBlock", 31, 0, true, u"Ende"},
    BlockCase{"IdOfAnotherBlockUsesItsPlace", 1010, 0, true, u"Schließen"},
    BlockCase{"BlockEndsInsideTheText", 18, 20, false, u""},
    BlockCase{"BlockEndsInsideACount", 18, 13, false, u""},
    BlockCase{"NoBlockAtAll", 16, 1, false, u""}),
    [](const ::testing::TestParamInfo<BlockCase>& info) { return std::string(info.param.label); });
// clang-format on

} // namespace
