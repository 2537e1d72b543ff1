// Which translation is shown (user interface language x ANSI code page), how a
// text is found in a string table block, and how it is cut to its buffer.
#include "text/text_language.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
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
const LANGID Traditional = Lang(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);

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
    LanguageCase{"PortugalHasItsOwn", Lang(LANG_PORTUGUESE, SUBLANG_PORTUGUESE), 1252, Lang(LANG_PORTUGUESE, SUBLANG_PORTUGUESE)},
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
    LanguageCase{"TaiwanOnBig5", Lang(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 950, Traditional},
    LanguageCase{"HongKongTakesTheTraditional", Lang(LANG_CHINESE, SUBLANG_CHINESE_HONGKONG), 950, Traditional},
    LanguageCase{"MacaoTakesTheTraditional", Lang(LANG_CHINESE, SUBLANG_CHINESE_MACAU), 950, Traditional},
    LanguageCase{"TaiwanOnGbk", Lang(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 936, LANG_NEUTRAL},
    LanguageCase{"SimplifiedOnBig5", Lang(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 950, LANG_NEUTRAL},
    LanguageCase{"TurkishOnTurkish", Lang(LANG_TURKISH, SUBLANG_TURKISH_TURKEY), 1254, Lang(LANG_TURKISH, SUBLANG_NEUTRAL)},
    LanguageCase{"TurkishOnWestern", Lang(LANG_TURKISH, SUBLANG_TURKISH_TURKEY), 1252, LANG_NEUTRAL},
    LanguageCase{"CzechOnCentralEuropean", Lang(LANG_CZECH, SUBLANG_CZECH_CZECH_REPUBLIC), 1250, Lang(LANG_CZECH, SUBLANG_NEUTRAL)},
    LanguageCase{"UkrainianOnCyrillic", Lang(LANG_UKRAINIAN, SUBLANG_UKRAINIAN_UKRAINE), 1251, Lang(LANG_UKRAINIAN, SUBLANG_NEUTRAL)},
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

// WideCharToMultiByte into a double-byte code page as its callers meet it: a
// unit above 0x7F takes two bytes; asked for 0 bytes it answers the size needed
// and writes nothing; a buffer too small gets nothing and 0.
int ConvertToDoubleByte(UINT, DWORD, LPCWSTR text, int length, LPSTR buffer, int bufferSize, LPCSTR, LPBOOL) {
    std::string bytes;
    for (int at = 0; at < length; ++at)
        bytes += text[at] < 0x80 ? std::string(1, char(text[at])) : std::string{'\x82', char((text[at] & 0x7F) | 0x40)};
    if (bufferSize == 0) return int(bytes.size());
    if (bufferSize < 0 || int(bytes.size()) > bufferSize) return 0;
    std::memcpy(buffer, bytes.data(), bytes.size());
    return int(bytes.size());
}

struct FittingCase {
    const char* label;
    std::u16string text;
    int bufferSize;
    int written;
    size_t characters; // of text, the ones that reach the buffer
};

class FittingTextTest : public ::testing::TestWithParam<FittingCase> {};

TEST_P(FittingTextTest, AsMuchAsFitsAlwaysTerminated) {
    const FittingCase& row = GetParam();
    // Exactly bufferSize bytes, so that the sanitizer sees a write past them.
    const std::unique_ptr<char[]> buffer(new char[size_t(row.bufferSize)]);
    std::memset(buffer.get(), 0xA5, size_t(row.bufferSize));
    const auto* text = reinterpret_cast<const WCHAR*>(row.text.c_str());
    EXPECT_EQ(row.written,
              ConvertFittingText(text, int(row.text.size()), buffer.get(), row.bufferSize, ConvertToDoubleByte));
    if (row.bufferSize == 0) return;
    char expected[64] = "";
    ConvertToDoubleByte(CP_ACP, 0, text, int(row.characters), expected, sizeof expected - 1, nullptr, nullptr);
    EXPECT_EQ(std::string(expected), std::string(buffer.get(), size_t(row.written)));
    EXPECT_EQ('\0', buffer[size_t(row.written)]);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Buffers, FittingTextTest, ::testing::Values(
    FittingCase{"WholeText", u"Ende", 10, 4, 4},
    FittingCase{"ExactFitKeepsRoomForTheZero", u"Ende", 5, 4, 4},
    FittingCase{"CutByOneCharacter", u"Ende", 4, 3, 3},
    FittingCase{"DoubleByteCharacterNotSplit", u"a\u8A2D\u5B9A", 5, 3, 2},
    FittingCase{"TwoBytesHoldOneCharacter", u"Ende", 2, 1, 1},
    FittingCase{"TwoBytesHoldNoDoubleByteCharacter", u"\u8A2D\u5B9A", 2, 0, 0},
    FittingCase{"OneByteHoldsOnlyTheZero", u"\u8A2D\u5B9A", 1, 0, 0},
    FittingCase{"NoBufferGetsNothing", u"Ende", 0, 0, 0}),
    [](const ::testing::TestParamInfo<FittingCase>& info) { return std::string(info.param.label); });
// clang-format on

} // namespace
