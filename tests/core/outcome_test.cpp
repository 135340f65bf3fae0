// What an editor rule hands back and how it reaches the user.
#include <gtest/gtest.h>

#include "core/outcome.h"
#include "tests/support/test_support.h"

namespace zrv {
namespace {

TEST(Outcome, ReportShowsTheMessageOnceAndGivesTheStatus) {
    test::RecordingNotifier notifier;
    EXPECT_TRUE(Outcome::Ok().Report(notifier));
    EXPECT_TRUE(notifier.shown.empty());

    const Message refusal{"Msg30", "Password must 6 digits only!"};
    EXPECT_FALSE(Outcome::Refused(refusal).Report(notifier));
    const Message warning{"Msg41", "Waring ! You must let ( Level-High > Level-Med > Level-Low )."};
    EXPECT_TRUE(Outcome::Warned(warning).Report(notifier));
    ASSERT_EQ(notifier.shown.size(), 2u);
    EXPECT_EQ(notifier.shown[0], refusal);
    EXPECT_EQ(notifier.shown[1], warning);
}

}  // namespace
}  // namespace zrv
