// The AES settings: key texts padded to sixteen characters, the key
// selection bytes of the capcode lists, and text the image cannot hold.
#include <gtest/gtest.h>

#include "core/encryption_keys.h"

namespace zrv {
namespace {

std::string KeyBytes(const ConfigImage& image, int key) {
    const auto bytes = image.range(0x1100 + 16 * static_cast<std::size_t>(key), 16);
    return std::string(bytes.begin(), bytes.end());
}

TEST(EncryptionKeys, AShortKeyIsPaddedWithBlanksToSixteenCharacters) {
    ConfigImage image;
    image.fill(0x1100, 0x100, 0xFF);
    const KeyTextResult result = StoreKeyText(image, 2, "a7Z");
    EXPECT_TRUE(result.outcome.ok);
    EXPECT_FALSE(result.outcome.message);
    EXPECT_EQ(result.shown, "a7Z             ");
    EXPECT_EQ(KeyBytes(image, 2), "a7Z             ");  // 0x1120..0x112F
    EXPECT_EQ(image.byte(0x111F), 0xFF);               // the keys beside are untouched
    EXPECT_EQ(image.byte(0x1130), 0xFF);

    EXPECT_EQ(StoreKeyText(image, 15, "").shown, std::string(16, ' '));
    EXPECT_EQ(KeyBytes(image, 15), std::string(16, ' '));
    EXPECT_TRUE(StoreKeyText(image, 0, "ABCDEFGHIJKLMNOP").outcome.ok);
    EXPECT_EQ(KeyBytes(image, 0), "ABCDEFGHIJKLMNOP");

    // A character of the code page beyond ASCII is one character, one byte.
    EXPECT_EQ(StoreKeyText(image, 1, "Schl\xC3\xBC" "ssel").shown, "Schl\xC3\xBC" "ssel       ");  // nine characters, seven blanks
    EXPECT_EQ(image.byte(0x1114), 0xFC);
    EXPECT_THROW(StoreKeyText(image, 16, "x"), std::out_of_range);
}

TEST(EncryptionKeys, TextTheImageCannotHoldIsRefusedAndNothingIsStored) {
    ConfigImage image;
    StoreKeyText(image, 4, "KEEP");
    const ConfigImage before = image;
    for (const char* text : {"\xE6\xBC\xA2" "key",         // a character Windows-1252 lacks
                             "tab\there",                   // a control character
                             "ABCDEFGHIJKLMNOPQ",           // seventeen characters
                             "bad\xFF" "utf8"}) {
        const KeyTextResult result = StoreKeyText(image, 4, text);
        EXPECT_FALSE(result.outcome.ok) << text;
        ASSERT_TRUE(result.outcome.message) << text;
        EXPECT_EQ(result.outcome.message->key, "MsgKeyText");
        EXPECT_TRUE(result.shown.empty());
        EXPECT_TRUE(image == before) << text;
    }
    EXPECT_TRUE(JudgeKeyCharacter(U'k').ok);
    EXPECT_TRUE(JudgeKeyCharacter(U'\u20AC').ok);  // the euro sign is 0x80
    EXPECT_FALSE(JudgeKeyCharacter(U'\u6F22').ok);
    EXPECT_FALSE(JudgeKeyCharacter(U'\t').ok);
}

TEST(EncryptionKeys, SelectionBytesShowTheirKeyOrDisable) {
    ConfigImage image;
    image.fill(0x1000, 0x100, 0xFF);
    EXPECT_EQ(KeySelectionItem(image, 0, 0), 0);  // a blank image shows "Disable"
    StoreKeySelection(image, 0, 13, 16);
    EXPECT_EQ(image.byte(0x100D), 16);
    EXPECT_EQ(KeySelectionItem(image, 0, 13), 16);
    image.setByte(0x100E, 17);  // one past "Key 16"
    EXPECT_EQ(KeySelectionItem(image, 0, 14), 0);
    StoreKeySelection(image, 1, 0, 3);  // a second page of eight capcodes
    EXPECT_EQ(image.byte(0x1020), 3);
    EXPECT_THROW(StoreKeySelection(image, 0, 32, 1), std::out_of_range);
    EXPECT_THROW(StoreKeySelection(image, 0, 0, 17), std::out_of_range);
    EXPECT_THROW(KeySelectionItem(image, 8, 0), std::out_of_range);
}

}  // namespace
}  // namespace zrv
