// The serial fields as the window shows them: SSN and PSN digits, and the
// pager serial number only while its sum bytes hold.
#include <gtest/gtest.h>

#include "core/image_rules.h"
#include "core/serial_fields.h"

namespace zrv {
namespace {

TEST(SerialFields, SsnAndPsnShowOneUpperCaseDigitPerByte) {
    ConfigImage image;
    for (std::size_t i = 0; i < 16; ++i) image.setByte(0x4FD + i, static_cast<std::uint8_t>(i));
    for (std::size_t i = 0; i < 12; ++i) image.setByte(0x513 + i, static_cast<std::uint8_t>(15 - i));
    image.setByte(0x50D, 0x0E);  // the byte after the SSN is not part of it
    image.setByte(0x512, 0x0E);  // nor the byte before the PSN
    EXPECT_EQ(SsnText(image), "0123456789ABCDEF");
    EXPECT_EQ(PsnText(image), "FEDCBA987654");

    image.setByte(0x4FD, 0x1F);  // a byte above 15 gives two digits
    EXPECT_EQ(SsnText(image), "1F123456789ABCDEF");
    EXPECT_EQ(SsnText(image).size(), 17u);

    image.fill(0, kImageSize, 0xFF);
    EXPECT_EQ(SsnText(image), std::string(32, 'F'));
    EXPECT_EQ(PsnText(image), std::string(24, 'F'));
}

TEST(SerialFields, PagerSerialShowsOnlyWithAMatchingSum) {
    ConfigImage image;
    const std::string serial = "AB12CD34EF5\xE9";  // the last character is e-acute in Windows-1252
    ASSERT_TRUE(StorePagerSerialNumber(image, serial));
    EXPECT_EQ(PagerSerialText(image), "");
    StoreSerialNumberSum(image);
    EXPECT_EQ(PagerSerialText(image), "AB12CD34EF5\xC3\xA9");
    image.setByte(0x4E3, static_cast<std::uint8_t>(image.byte(0x4E3) + 1));
    EXPECT_EQ(PagerSerialText(image), "");
}

}  // namespace
}  // namespace zrv
