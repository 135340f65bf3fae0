// The read/write password box: six digits stored as character codes,
// everything else refused with Msg30, and the stored bytes shown safely.
#include <gtest/gtest.h>

#include "core/default_image.h"
#include "core/rw_password.h"

namespace zrv {
namespace {

void ExpectMsg30(const Outcome& outcome) {
    EXPECT_FALSE(outcome.ok);
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.message->key, "Msg30");
    EXPECT_EQ(outcome.message->english, "Password must 6 digits only!");
    EXPECT_EQ(outcome.message->icon, MsgIcon::Exclamation);
    EXPECT_EQ(outcome.message->boxCaption(), "ZR-V41K");
}

TEST(RwPassword, SixDigitsAreStoredFirstCharacterFirst) {
    ConfigImage image = StartupImage();
    const ConfigImage before = image;
    const Outcome stored = StoreRwPassword(image, "482915");
    EXPECT_TRUE(stored.ok);
    EXPECT_FALSE(stored.message.has_value());
    const std::uint8_t expected[] = {'4', '8', '2', '9', '1', '5'};
    for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(image.byte(0xFC3 + k), expected[k]) << k;
    // Only the six password bytes change: the battery tone before and the
    // melody entries after stay.
    for (std::size_t o = 0; o < kImageSize; ++o) {
        if (o >= 0xFC3 && o <= 0xFC8) continue;
        ASSERT_EQ(image.byte(o), before.byte(o)) << std::hex << o;
    }
    EXPECT_EQ(RwPasswordText(image), "482915");
}

TEST(RwPassword, SixCharactersAreStoredAsTheirCodePageCodes) {
    ConfigImage image = StartupImage();
    ASSERT_TRUE(StoreRwPassword(image, "ab\xC3\xA9" "9Z_").ok);  // é is 0xE9 in the PC code page
    const std::uint8_t expected[] = {'a', 'b', 0xE9, '9', 'Z', '_'};
    for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(image.byte(0xFC3 + k), expected[k]) << k;
}

TEST(RwPassword, AnythingButSixCharactersIsRefusedAndTheOldPasswordStays) {
    ConfigImage image = StartupImage();
    ASSERT_TRUE(StoreRwPassword(image, "123456").ok);
    const ConfigImage before = image;
    const std::string_view refused[] = {"", "12345", "1234567", "12345\n",
                                        std::string_view("123\0" "56", 6), "1234\t6"};
    for (const std::string_view text : refused) {
        ExpectMsg30(StoreRwPassword(image, text));
        EXPECT_EQ(image, before) << text;
        EXPECT_EQ(RwPasswordText(image), "123456");  // the box shows the stored one again
    }
}

TEST(RwPassword, DefaultImageShowsTheBuiltInPassword) {
    const ConfigImage image = StartupImage();
    EXPECT_EQ(RwPasswordText(image), kDefaultRwPassword);
    ConfigImage stored = image;
    ASSERT_TRUE(StoreRwPassword(stored, RwPasswordText(image)).ok);
    EXPECT_EQ(stored, image);  // storing back what is shown changes nothing
}

TEST(RwPassword, UntrustedBytesShowAsSixVisibleCharacters) {
    ConfigImage image;
    const std::uint8_t bytes[] = {0x00, 'A', 0x7F, 0xE9, 0x81, 0x1B};
    for (std::size_t k = 0; k < 6; ++k) image.setByte(0xFC3 + k, bytes[k]);
    EXPECT_EQ(RwPasswordText(image), "?A?\xC3\xA9??");  // é is U+00E9
    image.fill(0xFC3, 6, 0xFF);
    EXPECT_EQ(RwPasswordText(image), "\xC3\xBF\xC3\xBF\xC3\xBF\xC3\xBF\xC3\xBF\xC3\xBF");
    // Six printable bytes shown are stored back as they were.
    ConfigImage copy = image;
    EXPECT_TRUE(StoreRwPassword(copy, RwPasswordText(image)).ok);
    EXPECT_EQ(copy, image);
}

}  // namespace
}  // namespace zrv
