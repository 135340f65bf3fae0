// The board session's port lock against the board simulator, without a
// window: a poll never runs while the port is held, and a close asked for
// meanwhile is asked for again once, when the port is free.
#include <gtest/gtest.h>

#include <QTimer>

#include "link/board_session.h"
#include "tests/link/boardsim_process.h"

using namespace zrv;
using namespace zrv::link;
using zrv::test::Boardsim;

TEST(BoardSession, AHeldPortDefersPollingAndACloseUntilItIsFree) {
    Boardsim board;
    test::RecordingNotifier notifier;
    BoardSession session(notifier);
    session.setPortOverride({board.path()});
    std::vector<bool> states;
    int closes = 0;
    QObject::connect(&session, &BoardSession::boardStateChanged,
                     [&](bool connected, const QString&) { states.push_back(connected); });
    QObject::connect(&session, &BoardSession::closeMayProceed, [&] { ++closes; });

    session.probeAtStartUp();
    EXPECT_EQ(states, std::vector<bool>{true});
    EXPECT_EQ(session.boardPort(), board.path());
    EXPECT_TRUE(session.pollTimer()->isActive()) << "polling from the start-up probe on";
    EXPECT_FALSE(session.closeWaitsForPort()) << "a free port lets the close go at once";

    session.beginPortUse();
    EXPECT_FALSE(session.pollTimer()->isActive());
    session.Timer1Timer();
    EXPECT_EQ(states.size(), 1u) << "a late tick does not poll a held port";
    EXPECT_TRUE(session.closeWaitsForPort());
    EXPECT_EQ(closes, 0);
    session.endPortUse();
    EXPECT_EQ(closes, 1) << "the waiting close goes on once the port is free";
    EXPECT_TRUE(session.pollTimer()->isActive());

    session.beginPortUse();
    session.endPortUse();
    EXPECT_EQ(closes, 1) << "a close is asked for again only once";
    session.Timer1Timer();
    EXPECT_EQ(states, (std::vector<bool>{true, true}));

    session.release();
    EXPECT_FALSE(session.pollTimer()->isActive());
    const auto lines = board.log();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "control r 0") << "the board is released at close";
    EXPECT_TRUE(notifier.keys().empty());
}
