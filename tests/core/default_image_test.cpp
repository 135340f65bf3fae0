#include <gtest/gtest.h>

#include <string>

#include "core/capcodes.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/frequency.h"
#include "core/image_layout.h"
#include "core/image_rules.h"

namespace zrv {
namespace {
namespace L = layout;

ConfigImage Default() {
    ConfigImage image;
    BuildDefaultImage(image);
    return image;
}

std::string Text(const ConfigImage& image, std::size_t offset, std::size_t length) {
    auto r = image.range(offset, length);
    return std::string(r.begin(), r.end());
}

// The text of the prompt record at \p offset, as its length byte says.
std::string PromptAt(const ConfigImage& image, std::size_t offset) {
    return Text(image, offset + 2, image.byte(offset + 1));
}

void ExpectAllFF(const ConfigImage& image, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i <= last; ++i)
        ASSERT_EQ(image.byte(i), 0xFF) << "offset 0x" << std::hex << i;
}

TEST(DefaultImage, BytesNoStepWritesStay0xFF) {
    const auto image = Default();
    ExpectAllFF(image, 0x0FFD, 0x1214);
    ExpectAllFF(image, 0x2200, 0x29FF);
    ExpectAllFF(image, 0x4000, 0x55FF);
}

TEST(DefaultImage, StepThreePromptsLogoIdentityAndPassword) {
    const auto image = Default();
    const struct { std::size_t offset; std::uint8_t attribute; const char* text; } prompts[] = {
        {0x4B8, 0x05, "RIC Setzen"},      {0x4A4, 0x45, "CAPCODE SET"},
        {0x48D, 0x03, "Passwort lesen"},  {0x479, 0x43, "Passwort falsch"},
        {0x45C, 0x06, "PIN Code"},        {0x0B4, 0x24, "Out Of Range"},
        {0x0EC, 0x43, "PIN Code falsch"},
    };
    for (const auto& p : prompts) {
        EXPECT_EQ(image.byte(p.offset), p.attribute) << p.text;
        EXPECT_EQ(PromptAt(image, p.offset), p.text);
    }
    EXPECT_EQ(Text(image, 0xF98, 16), "    Veltaro     ");
    EXPECT_EQ(Text(image, 0xFA8, 16), "    Veltaro     ");
    EXPECT_EQ(Text(image, 0x3E1, 15), "ZR-V41K   V1.09");
    EXPECT_EQ(Text(image, 0xFC3, 6), std::string(kDefaultRwPassword));
    for (char c : kDefaultRwPassword) EXPECT_TRUE(c >= '0' && c <= '9');
    for (std::size_t i = 0x470; i <= 0x478; ++i) EXPECT_EQ(image.byte(i), 0);
}

TEST(DefaultImage, StepSixFieldsAndFixedByte) {
    const auto image = Default();
    EXPECT_EQ(image.GetImageBits(0x4A1, 4, 2), 0);
    EXPECT_EQ(image.byte(0x4FB), 0x0F);
    EXPECT_EQ(image.GetImageBits(0x4FC, 1, 1), 1);
    EXPECT_EQ(image.byte(0xFC2), 0x1E);
    EXPECT_EQ(image.GetImageBits(0x458, 7, 1), 1);
    EXPECT_EQ(image.GetImageBits(0x458, 6, 1), 0);
    EXPECT_EQ(image.GetImageBits(0x31, 6, 1), 1);
    EXPECT_EQ(image.GetImageBits(0x2F, 3, 1), 0);
    EXPECT_EQ(image.GetImageBits(0x4A1, 0, 3), 0b001);
    EXPECT_EQ(image.byte(0x520), 0x96);
}

TEST(DefaultImage, FrequencyDefaults) {
    const auto image = Default();
    EXPECT_EQ(BaseFrequency(image), 1370000u);
    EXPECT_EQ(ChannelFrequency(image), 1530000u);
    EXPECT_EQ(PllNText(image), "00B4A0");
    EXPECT_EQ(PllRText(image), "002801");
    EXPECT_EQ(image.word(0x0C), 0x0002);
    EXPECT_EQ(image.byte(0x0E), 5);
    EXPECT_EQ(image.byte(0x45A), 0xFF);
    EXPECT_EQ(ChannelSpacingText(image), "5KHz");  // 0xFF fraction reads as 0
    EXPECT_EQ(image.byte(0x1400), 0x02);
    EXPECT_EQ(image.byte(0x1401), 0x11);
    EXPECT_EQ(image.GetImageBits(0x1403, 4, 2), 3);
    EXPECT_EQ(BaudItemFromImage(image), 1);  // "1200 bps"
    EXPECT_EQ(image.GetImageBits(0x1402, 7, 1), 0);
    EXPECT_EQ(image.GetImageBits(0x457, 5, 1), 1);
    EXPECT_EQ(image.byte(0x459), 0x34);
    EXPECT_EQ(BandFromImage(image), 0);
}

TEST(DefaultImage, CapcodeDefaults) {
    const auto image = Default();
    const std::uint32_t expected[] = {1234567, 1234560, 1234561, 1234562,
                                      1234563, 1234564, 1234565, 1234566};
    for (int n = 0; n < 48; ++n) {
        EXPECT_EQ(CapcodeAt(image, n), n < 8 ? expected[n] : 0u) << n;
        EXPECT_EQ(CapcodeOn(image, n), n == 0) << n;
        EXPECT_FALSE(CapcodeManual(image, n));
        for (int f = 0; f < 4; ++f) {
            EXPECT_FALSE(PriorityAlert(image, n, f));
            EXPECT_EQ(image.byte(DisplayCodeOffset(n, f)), 2) << n << f;
            EXPECT_EQ(image.byte(MessageTypeOffset(n, f)), 0) << n << f;
        }
    }
    EXPECT_EQ(image.byte(0x123D), 0x80);
    EXPECT_EQ(image.byte(0x1246), 0x30);
}

TEST(DefaultImage, GermanPromptSetNewsTextsAndOtherRecords) {
    const auto image = Default();
    EXPECT_EQ(PromptAt(image, 0x100), "Veltaro");
    EXPECT_EQ(PromptAt(image, 0x114), "Keine Nachricht");
    EXPECT_EQ(Cp1252ToUtf8(PromptAt(image, 0x178)), "Alle löschen");
    EXPECT_EQ(Cp1252ToUtf8(PromptAt(image, 0x31C)), "Vergrößern");
    EXPECT_EQ(PromptAt(image, 0x358), "Kurz-Piep aus");
    EXPECT_EQ(PromptAt(image, 0x3B8), "Verlauf einst.");
    EXPECT_EQ(image.byte(0x3CC), 0x25);
    EXPECT_EQ(PromptAt(image, 0x0A0), "FLASH ONLY");
    EXPECT_EQ(PromptAt(image, 0x400), "KEY UNLOCKED ?");
    EXPECT_EQ(PromptAt(image, 0x414), "KEY LOCKED");
    EXPECT_EQ(PromptAt(image, 0x428), "CHARGING");
    EXPECT_EQ(PromptAt(image, 0x43C), "KEY LOCKED ?");
    EXPECT_EQ(PromptAt(image, 0x4E4), "MAIL DROP AREA");
    for (int k = 0; k < 32; ++k) {
        const std::size_t rec = 0x540 + 20 * k;
        EXPECT_EQ(image.byte(rec), 0x05);
        EXPECT_EQ(PromptAt(image, rec), "NEWS " + std::to_string(k + 1));
    }
    // Source texts: five spaces, "News n", spaces, at 0x800 and the four page pairs.
    for (std::size_t base : {0x800, 0x2A00, 0x2F80, 0x3500, 0x3A80}) {
        EXPECT_EQ(Text(image, base, 44), "     News 1" + std::string(33, ' '));
        EXPECT_EQ(Text(image, base + 31 * 44, 12), "     News 32");
    }
    // Language codes follow the German set.
    EXPECT_EQ(image.GetImageBits(0x3A, 0, 4), 8);
    EXPECT_EQ(image.GetImageBits(0x3E, 0, 4), 8);
}

TEST(DefaultImage, MelodyCopiesAndEditorDefaults) {
    const auto image = Default();
    const auto table = image.range(0xD80, 512);
    for (std::size_t copy : {0x1A00, 0x1C00, 0x1E00, 0x2000}) {
        const auto c = image.range(copy, 512);
        EXPECT_TRUE(std::equal(table.begin(), table.end(), c.begin())) << std::hex << copy;
    }
    // Every melody byte is a note of the notation table (or a rest).
    const std::string notes = std::string("\0", 1) + "\xEE\xD4\xBD\xB2\x9E\x8D\x7E\x76\x69\x5E\x59\x4F\x46\x3E";
    for (auto b : table) EXPECT_NE(notes.find(static_cast<char>(b)), std::string::npos);
    EXPECT_EQ(Text(image, 0xF80, 24), std::string(24, '\x08'));
    EXPECT_EQ(image.byte(0x90), 8);                          // personal alert 8 s
    EXPECT_EQ(image.word(0x37), 0);                          // mail drops off
    EXPECT_EQ(image.byte(0x89), 4);                          // contrast
    EXPECT_EQ(Text(image, 0x78, 7), "\x07\x08\x09\x0A\x0C\x0D\x0E");
    EXPECT_EQ(image.byte(0x8D), 121);
    EXPECT_EQ(image.byte(0x8E), 132);
    EXPECT_EQ(image.byte(0x8F), 142);
    EXPECT_EQ(image.GetImageBits(0x4FC, 2, 1), 1);           // rechargeable
    EXPECT_EQ(image.GetImageBits(0x3C, 0, 4), 0);            // lockout disabled
    EXPECT_EQ(image.GetImageBits(0x3D, 4, 2), 0b11);         // manual write off, menu flag
    EXPECT_EQ(image.GetImageBits(0x36, 0, 3), 0b001);
    EXPECT_FALSE(SerialNumberValidForKeep(image));           // no serial number yet
}

TEST(DefaultImage, StartupZeroesSourceEnablesAndTitles) {
    const auto image = StartupImage();
    auto plain = Default();
    for (std::size_t i = 0x7C0; i <= 0x7DF; ++i) {
        EXPECT_EQ(image.byte(i), 0);
        EXPECT_EQ(plain.byte(i), 0xFF);  // all sources enabled in the built-in data
    }
    plain.fill(0x7C0, 32, 0);
    EXPECT_EQ(image, plain);
    EXPECT_EQ(MainWindowCaption(), "ZRV41K USB Version 1.09");
    EXPECT_EQ(AboutVersionText(), "Version 1.09(2014.12.30)");
}

TEST(PromptSets, EachSetFillsTheMenuBlockAndOnlyFrenchAndGermanTheHistory) {
    for (int item = 0; item < kLanguageCount; ++item) {
        ConfigImage image;
        image.fill(0, kImageSize, 0xAA);
        WritePromptSet(image, item);
        const bool history = item == kLanguageFrench || item == kLanguageGerman;
        EXPECT_EQ(image.byte(0x3B8) != 0xAA, history) << item;
        EXPECT_EQ(image.byte(0x36C), 0xAA);  // nothing past the 31 records
        EXPECT_EQ(image.byte(0x0FF), 0xAA);
        for (std::size_t rec = 0x100; rec < 0x36C; rec += 20) {
            const auto len = image.byte(rec + 1);
            ASSERT_LE(len, 18);
            for (std::size_t k = 2 + len; k < 20; ++k) EXPECT_EQ(image.byte(rec + k), ' ');
        }
    }
    ConfigImage sw, en;
    WritePromptSet(sw, kLanguageSwedish);
    WritePromptSet(en, kLanguageEnglish);
    EXPECT_EQ(sw, en);
    EXPECT_EQ(PromptAt(en, 0x114), "NO PAGES");
    EXPECT_EQ(PromptAt(en, 0x100), "TELORI  ");
    ConfigImage fr;
    WritePromptSet(fr, kLanguageFrench);
    EXPECT_EQ(PromptAt(fr, 0x2F4), "ZONE BOITE LETTRES");  // all 18 characters
    EXPECT_THROW(BuiltInPromptSet(5), std::out_of_range);
}

TEST(PromptSets, LanguageCodesSelectTheirItems) {
    EXPECT_EQ(LanguageItemFromCode(0), 0);
    EXPECT_EQ(LanguageItemFromCode(2), 0);
    EXPECT_EQ(LanguageItemFromCode(5), 1);
    EXPECT_EQ(LanguageItemFromCode(6), 2);
    EXPECT_EQ(LanguageItemFromCode(8), 3);
    EXPECT_EQ(LanguageItemFromCode(15), 4);
    EXPECT_EQ(LanguageItemFromCode(3), -1);
}

}  // namespace
}  // namespace zrv
