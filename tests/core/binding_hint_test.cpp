// The binding hint rules without widgets: parsing, shown values and stored
// values of the four generic kinds.
#include <gtest/gtest.h>

#include "core/default_image.h"
#include "core/image_layout.h"
#include "core/binding_hint.h"

namespace zrv {
namespace {

BindingHint Hint(const char* text) {
    const auto h = ParseBindingHint(text);
    EXPECT_TRUE(h.has_value()) << text;
    return h.value_or(BindingHint{});
}

TEST(BindingHint, ParsesHexDecimalSpacesAndIgnoresFifthItem) {
    const auto h = Hint("0x36, 6,1,chk, NULL");
    EXPECT_EQ(h.offset, 0x36u);
    EXPECT_EQ(h.bit, 6);
    EXPECT_EQ(h.width, 1);
    EXPECT_EQ(h.kind, BindingKind::Chk);
    EXPECT_EQ(Hint("1283,0,8,chkN").offset, 0x503u);
    EXPECT_EQ(Hint("0x1403,4,2,cboBaud").kind, BindingKind::CboBaud);
    EXPECT_EQ(Hint("0x3F,0,4,Lng").kind, BindingKind::Other);
    EXPECT_FALSE(Hint("0x3F,0,4,Lng").isGeneric());
}

TEST(BindingHint, RefusesShortMalformedAndOutOfImageHints) {
    EXPECT_FALSE(ParseBindingHint("0x4B8,0"));             // a prompt edit's record hint
    EXPECT_FALSE(ParseBindingHint("0x4B8,0,NULL"));
    EXPECT_FALSE(ParseBindingHint("Align Left"));
    EXPECT_FALSE(ParseBindingHint(""));
    EXPECT_FALSE(ParseBindingHint("x36,6,1,chk"));
    EXPECT_FALSE(ParseBindingHint("0x36,6,1x,chk"));
    EXPECT_FALSE(ParseBindingHint("0x5600,0,1,chk"));      // one past the image
    EXPECT_FALSE(ParseBindingHint("0x36,7,2,chk"));        // leaves the byte
    EXPECT_FALSE(ParseBindingHint("0x36,0,0,chk"));
    EXPECT_TRUE(ParseBindingHint("0x55FF,7,1,chk"));
}

TEST(BindingHint, NullMarkerIsCaseSensitiveAnywhere) {
    EXPECT_TRUE(HintHasNullMarker("0x36,6,1,chk, NULL"));
    EXPECT_TRUE(HintHasNullMarker("NULL"));
    EXPECT_FALSE(HintHasNullMarker("0x36,6,1,chk, null"));
}

// Byte 0x39 = 0xC1 as the alerts page shows it.
TEST(BindingHint, Byte39C1ShowsEachBoundFieldByItsKind) {
    ConfigImage image;
    image.setByte(0x39, 0xC1);
    EXPECT_EQ(BoundComboIndex(image, Hint("0x039,0,2,cbo")), 1);       // "12 sec"
    EXPECT_TRUE(BoundCheckState(image, Hint("0x039,7,1,chk")));        // Disp Source Addr ON
    EXPECT_TRUE(BoundCheckState(image, Hint("0x039,6,1,chk")));        // Lowcell Alert Enable
    EXPECT_TRUE(BoundCheckState(image, Hint("0x039,3,1,chkN")));       // Duplicate Msg Detect
    EXPECT_TRUE(BoundCheckState(image, Hint("0x039,4,1,chkN")));       // Counter Out Enable
    EXPECT_FALSE(BoundCheckState(image, Hint("0x039,5,1,chk")));       // Direct Show Lamp On
}

TEST(BindingHint, MenuLockBoxStoresWholeByteAndShowsAnyNonZeroUnchecked) {
    ConfigImage image;
    const auto deleteOff = Hint("0x7E1,0,8,chkN");
    StoreBoundCheckState(image, deleteOff, false);
    EXPECT_EQ(image.byte(0x7E1), 0xFF);
    StoreBoundCheckState(image, deleteOff, true);
    EXPECT_EQ(image.byte(0x7E1), 0x00);
    EXPECT_TRUE(BoundCheckState(image, deleteOff));
    for (const std::uint8_t b : {0x01, 0x80, 0xFF}) {
        image.setByte(0x7E1, b);
        EXPECT_FALSE(BoundCheckState(image, deleteOff)) << int(b);
    }
    // A full-byte chkN outside the menu locks stores one bit's worth.
    image.setByte(0x51F, 0x55);
    StoreBoundCheckState(image, Hint("0x51F,0,8,chkN"), false);
    EXPECT_EQ(image.byte(0x51F), 0x01);
}

TEST(BindingHint, ChkAndChkNLeaveTheOtherBitsOfTheByte) {
    ConfigImage image;
    image.setByte(0x2F, 0xA5);  // 1010 0101
    StoreBoundCheckState(image, Hint("0x02F,3,1,chkN"), false);  // Logo Large Font off -> 1
    EXPECT_EQ(image.byte(0x2F), 0xAD);
    StoreBoundCheckState(image, Hint("0x02F,0,1,chkN"), true);   // -> bit 0 = 0
    EXPECT_EQ(image.byte(0x2F), 0xAC);
    StoreBoundCheckState(image, Hint("0x02F,6,1,chk"), true);
    EXPECT_EQ(image.byte(0x2F), 0xEC);
}

TEST(BindingHint, BaudCodesMapToItemsAndStoreTheirTimingBytes) {
    ConfigImage image;
    const auto baud = Hint("0x1403,4,2,cboBaud");
    const std::pair<std::uint8_t, int> shown[] = {{0x20, 0}, {0x30, 1}, {0x10, 2}, {0x00, 2}};
    for (const auto& [byte, item] : shown) {
        image.setByte(layout::kBaudCode, byte | 0x0F);
        EXPECT_EQ(BoundComboIndex(image, baud), item) << int(byte);
    }
    image.setByte(layout::kBaudCode, 0xCF);
    StoreBoundComboIndex(image, baud, 2);  // "2400 bps" stores code 1, not 0
    EXPECT_EQ(image.byte(layout::kBaudCode), 0xDF);
    EXPECT_EQ(image.byte(layout::kBaudByte1), 5);
    EXPECT_EQ(image.byte(layout::kBaudByte2), 0x1F);
    StoreBoundComboIndex(image, baud, 0);
    EXPECT_EQ(image.byte(layout::kBaudCode), 0xEF);
    EXPECT_EQ(image.byte(layout::kBaudByte1), 1);
    EXPECT_EQ(image.byte(layout::kBaudByte2), 0x07);
    StoreBoundComboIndex(image, baud, 1);
    EXPECT_EQ(image.byte(layout::kBaudCode), 0xFF);
    EXPECT_EQ(image.byte(layout::kBaudByte1), 2);
    EXPECT_EQ(image.byte(layout::kBaudByte2), 0x11);
}

TEST(BindingHint, ComboStoreNeverSpillsAboveItsField) {
    ConfigImage image;
    image.setByte(0x39, 0xF0);
    const auto timeout = Hint("0x039,0,2,cbo");
    StoreBoundComboIndex(image, timeout, 3);
    EXPECT_EQ(image.byte(0x39), 0xF3);
    StoreBoundComboIndex(image, timeout, 9);  // clamped to the 2-bit field
    EXPECT_EQ(image.byte(0x39), 0xF3);
    StoreBoundComboIndex(image, timeout, -1);  // no selection stores nothing
    EXPECT_EQ(image.byte(0x39), 0xF3);
}

TEST(BindingHint, FieldsOverlapOnlyWhereTheyShareABitOfOneByte) {
    EXPECT_TRUE(BindingFieldsOverlap(Hint("0x36,6,1,chk"), Hint("0x036,6,1,chk, NULL")));
    EXPECT_TRUE(BindingFieldsOverlap(Hint("0x39,0,2,cbo"), Hint("0x39,1,1,chk")));
    EXPECT_TRUE(BindingFieldsOverlap(Hint("0x7E1,0,8,chkN"), Hint("0x7E1,7,1,chk")));
    EXPECT_FALSE(BindingFieldsOverlap(Hint("0x39,0,2,cbo"), Hint("0x39,2,1,chk")));
    EXPECT_FALSE(BindingFieldsOverlap(Hint("0x36,6,1,chk"), Hint("0x37,6,1,chk")));
}

}  // namespace
}  // namespace zrv
