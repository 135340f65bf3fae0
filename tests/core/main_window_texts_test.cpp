// The advance password and the About window's channel-spacing patterns.
#include <gtest/gtest.h>

#include <string>

#include "core/main_window_texts.h"

namespace zrv {
namespace {

TEST(AdvancePassword, AcceptsTheWrittenAndTheLowerCaseFormOnly) {
    EXPECT_TRUE(AdvancePasswordAccepted("KV3R8T52"));
    EXPECT_TRUE(AdvancePasswordAccepted("kv3r8t52"));
    EXPECT_FALSE(AdvancePasswordAccepted("Kv3r8T52"));
    EXPECT_FALSE(AdvancePasswordAccepted("KV3R8T52 "));
    EXPECT_FALSE(AdvancePasswordAccepted(""));
}

TEST(ApplicationTitle, IsTheFirstSixCharactersOfTheProductText) {
    EXPECT_EQ(ApplicationTitle(), "ZR-V41 (USB)");
}

TEST(ChannelSpacing, PatternsOfTheThreeModesAndAnUnknownMode) {
    EXPECT_EQ(ChannelSpacingPattern(0), "%s : %s = 5KHz");
    EXPECT_EQ(ChannelSpacingPattern(1), std::string(16, ' ') + "%s : %s = 6.25KHz");
    EXPECT_EQ(ChannelSpacingPattern(2), std::string(16, ' ') + "%s : %s = Auto");
    EXPECT_EQ(ChannelSpacingPattern(7), ChannelSpacingPattern(0));
}

}  // namespace
}  // namespace zrv
