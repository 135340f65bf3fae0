// Widths and lengths of the prompt and source fields.
#include <gtest/gtest.h>

#include "core/text_field_sizes.h"

namespace zrv {
namespace {

const TextFieldSize kBold16{true, 17, 16};
const TextFieldSize kRegular18{false, 19, 18};
const TextFieldSize kRegular21{false, 22, 21};

TEST(TextFieldSizes, PromptsTakeEighteenOrTwentyOneAndTheLogoPromptSixteenInBold) {
    for (int i = 0; i < kPromptFieldCount; ++i) {
        const bool isShort = i == 3 || i == 4 || i == 21 || i == 28 || i == 43;
        const TextFieldSize regular = isShort ? kRegular18 : kRegular21;
        EXPECT_EQ(PromptFieldSize(i, false), regular) << i;
        EXPECT_EQ(PromptFieldSize(i, true), i == 0 ? kBold16 : regular) << i;
    }
}

TEST(TextFieldSizes, SourceLinesTakeTwentyOneAndTheLogoLinesSixteenInBold) {
    for (int i = 0; i < 32; ++i) EXPECT_EQ(SourceFieldSize(i), kRegular21) << i;
    EXPECT_EQ(SourceFieldSize(32), kBold16);
    EXPECT_EQ(SourceFieldSize(33), kBold16);
}

}  // namespace
}  // namespace zrv
