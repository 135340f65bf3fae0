#include <gtest/gtest.h>

#include "i18n/safe_format.h"

using zrv::i18n::SafeFormat;

TEST(SafeFormat, PlacesTextsNumbersAndTheWidthsOfTheCatalogue) {
    EXPECT_EQ(SafeFormat("Capcode %d - %d", {9, 16}), "Capcode 9 - 16");
    EXPECT_EQ(SafeFormat("Frequency setting error(%s0000 < = Frequency < =%s0000 )", {"130", "180"}),
              "Frequency setting error(1300000 < = Frequency < =1800000 )");
    EXPECT_EQ(SafeFormat("%07d|%02d|%0.1f|%5s|%-4d|", {42, 7, 2.25, "ab", 3}),
              "0000042|07|2.2|   ab|3   |");
    EXPECT_EQ(SafeFormat("%03d", {-5}), "-05");
    EXPECT_EQ(SafeFormat("100%% done", {}), "100% done");
    // A number given as text (as message arguments are) still takes %d's width.
    EXPECT_EQ(SafeFormat("Capcode %03d", {"7"}), "Capcode 007");
    EXPECT_EQ(SafeFormat("%.3s", {"\xC3\x9C" "bersetzung"}), "\xC3\x9C" "be");
}

TEST(SafeFormat, HostileFormatsNeverReadMissingArguments) {
    EXPECT_EQ(SafeFormat("%s%s%s", {"a"}), "a%s%s");
    EXPECT_EQ(SafeFormat("%n%p%*d%", {5}), "%n%p%*d%");
    EXPECT_EQ(SafeFormat("%d where a text is expected", {"file.tbl"}), "file.tbl where a text is expected");
    EXPECT_EQ(SafeFormat("%s", {12}), "12");
    EXPECT_EQ(SafeFormat("[%999999999d]", {1}).size(), 2u + zrv::i18n::kMaxFormatWidth);
    EXPECT_EQ(SafeFormat("%.999999999f", {1.0}).size(), 2u + zrv::i18n::kMaxFormatWidth);
    const std::string huge(100000, '%');
    EXPECT_EQ(SafeFormat(huge, {}), std::string(50000, '%'));
    std::string many;
    for (int i = 0; i < 50000; ++i) many += "%s";
    EXPECT_EQ(SafeFormat(many, {"x"}), "x" + many.substr(2));
}
