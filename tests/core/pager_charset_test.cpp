#include <gtest/gtest.h>

#include "core/default_image.h"
#include "core/pager_charset.h"

namespace zrv {
namespace {

ConfigImage WithCharset(int code) {
    ConfigImage image;
    BuildDefaultImage(image);
    image.SetImageBits(0x3A, 0, static_cast<unsigned>(code), 4);
    return image;
}

struct NationalCase {
    int code;
    std::uint8_t pc;
    std::uint8_t pager;
};

// Every pair of every national map, both ways, through the image conversion.
TEST(PagerCharset, EveryNationalPairConvertsBothWays) {
    const NationalCase cases[] = {
        {5, 0xA1, 0x23}, {5, 0xC7, 0x5B}, {5, 0xD1, 0x5C}, {5, 0xBA, 0x5D}, {5, 0xAA, 0x5E},
        {5, 0xBF, 0x60}, {5, 0xE7, 0x7B}, {5, 0xF1, 0x7C}, {5, 0xDC, 0x7D}, {5, 0xFC, 0x7E},
        {6, 0xA3, 0x23}, {6, 0xE0, 0x40}, {6, 0xB0, 0x5B}, {6, 0xE7, 0x5C}, {6, 0xA7, 0x5D},
        {6, 0xE9, 0x7B}, {6, 0xF9, 0x7C}, {6, 0xE8, 0x7D}, {6, 0xAF, 0x7E},
        {8, 0xA7, 0x40}, {8, 0xC4, 0x5B}, {8, 0xD6, 0x5C}, {8, 0xDC, 0x5D}, {8, 0xE4, 0x7B},
        {8, 0xF6, 0x7C}, {8, 0xFC, 0x7D}, {8, 0xDF, 0x7E},
        {15, 0xA3, 0x23}, {15, 0xC8, 0x40}, {15, 0xC4, 0x5B}, {15, 0xD6, 0x5C}, {15, 0xC5, 0x5D},
        {15, 0xDC, 0x5E}, {15, 0xE9, 0x60}, {15, 0xE4, 0x7B}, {15, 0xF6, 0x7C}, {15, 0xE5, 0x7D},
        {15, 0xFC, 0x7E},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToPagerCharset(c.code, c.pc), c.pager) << c.code << " " << int(c.pc);
        EXPECT_EQ(FromPagerCharset(c.code, c.pager), c.pc) << c.code << " " << int(c.pager);
        auto image = WithCharset(c.code);
        image.setByte(0x116, c.pc);  // first text byte of the "NO PAGES" record
        ConvertTextsToPager(image);
        EXPECT_EQ(image.byte(0x116), c.pager);
        ConvertTextsFromPager(image);
        EXPECT_EQ(image.byte(0x116), c.pc);
    }
}

TEST(PagerCharset, GermanUmlautsOfAPromptGoAndComeBack) {
    auto image = WithCharset(8);
    image.setByte(0x116, 0xFC);  // ü
    image.setByte(0x117, 0xDF);  // ß
    ConvertTextsToPager(image);
    EXPECT_EQ(image.byte(0x116), 0x7D);
    EXPECT_EQ(image.byte(0x117), 0x7E);
    ConvertTextsFromPager(image);
    EXPECT_EQ(image.byte(0x116), 0xFC);
    EXPECT_EQ(image.byte(0x117), 0xDF);
}

TEST(PagerCharset, EnglishAndUnknownCodesConvertNothing) {
    for (int code : {0, 1, 2, 3, 7, 14}) {
        auto image = WithCharset(code);
        image.setByte(0x116, 0xFC);
        image.setByte(0x117, 0x7D);
        const auto before = image;
        ConvertTextsToPager(image);
        EXPECT_EQ(image, before) << code;
        ConvertTextsFromPager(image);
        EXPECT_EQ(image, before) << code;
    }
}

TEST(PagerCharset, OnlyTheLowNibbleOf0x3ASelectsTheSet) {
    auto image = WithCharset(6);
    image.SetImageBits(0x3A, 4, 0xF, 4);
    image.setByte(0x116, 0xA7);  // §
    ConvertTextsToPager(image);
    EXPECT_EQ(image.byte(0x116), 0x5D);
    ConvertTextsFromPager(image);
    EXPECT_EQ(image.byte(0x116), 0xA7);
}

// The conversion reaches every listed text range and nothing else.
TEST(PagerCharset, CoversExactlyTheTextRanges) {
    ConfigImage image;
    image.fill(0, kImageSize, 0xFC);  // ü everywhere
    image.setByte(0x3A, 8);
    ConvertTextsToPager(image);
    auto inText = [](std::size_t i) {
        const std::pair<std::size_t, std::size_t> ranges[] = {
            {0x0A0, 0x0C7}, {0x100, 0x36B}, {0x3B8, 0x3DF}, {0x400, 0x44F}, {0x4A4, 0x4CB},
            {0x540, 0x7BF}, {0x800, 0xD7F}, {0xF98, 0xFC1}, {0xFE9, 0xFFC}, {0x2A00, 0x55FF},
        };
        for (auto [a, b] : ranges)
            if (i >= a && i <= b) return true;
        // Text bytes 2..19 of the 32nd record that starts at 0x100.
        return i >= 0x36E && i <= 0x37F;
    };
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (i == 0x3A) continue;  // the character-set code itself
        ASSERT_EQ(image.byte(i), inText(i) ? 0x7D : 0xFC) << std::hex << "0x" << i;
    }
}

TEST(PagerCharset, ConvertingTwiceChangesNothingMore) {
    auto image = WithCharset(15);
    image.setByte(0x2A02, 0xC5);  // Å in a source text
    ConvertTextsToPager(image);
    const auto once = image;
    ConvertTextsToPager(image);
    EXPECT_EQ(image, once);
    EXPECT_EQ(image.byte(0x2A02), 0x5D);
}

}  // namespace
}  // namespace zrv
