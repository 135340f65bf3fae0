#include <gtest/gtest.h>

#include <stdexcept>

#include "core/image.h"

namespace zrv {
namespace {

TEST(ConfigImageBits, GetShiftsAndMasksToTheFieldWidth) {
    ConfigImage image;
    image.setByte(0x4A1, 0b1011'0110);
    EXPECT_EQ(image.GetImageBits(0x4A1, 0, 8), 0b1011'0110);
    EXPECT_EQ(image.GetImageBits(0x4A1, 4, 2), 0b11);
    EXPECT_EQ(image.GetImageBits(0x4A1, 0, 1), 0);
    EXPECT_EQ(image.GetImageBits(0x4A1, 7, 1), 1);
}

TEST(ConfigImageBits, SetClearsTheFieldThenOrsTheUnmaskedValue) {
    ConfigImage image;
    image.setByte(0x31, 0xFF);
    image.SetImageBits(0x31, 2, 0b01, 2);
    EXPECT_EQ(image.byte(0x31), 0b1111'0111);
    // A value wider than its field also sets the bits above the field.
    image.setByte(0x31, 0x00);
    image.SetImageBits(0x31, 2, 0b111, 2);
    EXPECT_EQ(image.byte(0x31), 0b0001'1100);
    // Bits shifted past bit 7 are truncated away.
    image.SetImageBits(0x31, 7, 0b11, 1);
    EXPECT_EQ(image.byte(0x31), 0b1001'1100);
}

TEST(ConfigImageBits, OffsetsOutsideTheImageThrowInsteadOfWriting) {
    ConfigImage image;
    const auto before = image;
    EXPECT_THROW(image.setByte(kImageSize, 1), std::out_of_range);
    EXPECT_THROW(image.SetImageBits(kImageSize, 0, 1, 1), std::out_of_range);
    EXPECT_THROW(image.word(kImageSize - 1), std::out_of_range);
    EXPECT_THROW(image.fill(kImageSize - 4, 5, 0xAA), std::out_of_range);
    EXPECT_THROW(image.GetImageBits(0, 6, 3), std::out_of_range);
    EXPECT_EQ(image, before);
    EXPECT_NO_THROW(image.setByte(kImageSize - 1, 1));
}

TEST(ConfigImageWords, AreBigEndian) {
    ConfigImage image;
    image.setWord(0x7FE, 0x1A2F);
    EXPECT_EQ(image.byte(0x7FE), 0x1A);
    EXPECT_EQ(image.byte(0x7FF), 0x2F);
    EXPECT_EQ(image.word(0x7FE), 0x1A2F);
}

}  // namespace
}  // namespace zrv
