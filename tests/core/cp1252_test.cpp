#include <gtest/gtest.h>

#include "core/cp1252.h"

namespace zrv {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, UndefinedBytesMapToTheirControlCharacters) {
    for (std::uint8_t b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(Cp1252ToUnicode(b), static_cast<char32_t>(b));
        EXPECT_EQ(UnicodeToCp1252(b), b);
    }
}

TEST(Cp1252, NationalLettersAndTheEuroSign) {
    EXPECT_EQ(Cp1252ToUtf8("\xFC\xDF\x80"), "\xC3\xBC\xC3\x9F\xE2\x82\xAC");  // üß€
    EXPECT_EQ(Utf8ToCp1252("\xC3\xA4"), "\xE4");                           // ä
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");   // a character the code page lacks
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");           // truncated sequence
}

// Overlong forms would otherwise turn into NUL, '/' or a newline.
TEST(Cp1252, OverlongSurrogateAndTooLargeSequencesAreMalformed) {
    EXPECT_EQ(Utf8ToCp1252(std::string("a\xC0\x80" "b")), "a?b");
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "?");
    EXPECT_EQ(Utf8ToCp1252("\xE0\x80\x8A"), "?");
    EXPECT_EQ(Utf8ToCp1252("\xF0\x80\x81\x81"), "?");
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "?");      // U+D800
    EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80"), "?"); // above U+10FFFF
    // The shortest forms still convert.
    EXPECT_EQ(Utf8ToCp1252("\xC2\xA0\xE2\x82\xAC"), "\xA0\x80");
}

}  // namespace
}  // namespace zrv
