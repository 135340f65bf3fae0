// Start-up and close against the board simulator: FormShow probes once and
// finds the board; closing the window releases it.
#include <QProcess>

#include "link/board_session.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class BoardStartupTest : public WindowTest {
protected:
    void TearDown() override {
        WindowTest::TearDown();
        if (board.state() != QProcess::NotRunning) {
            board.terminate();
            board.waitForFinished(3000);
        }
    }
    QString startBoard() {
        board.start(QString::fromStdString((BinDir() / "boardsim").string()), {});
        if (!board.waitForStarted(5000) || !board.waitForReadyRead(5000)) return {};
        return QString::fromUtf8(board.readLine()).trimmed();
    }
    /// Lines the simulator logged so far.
    QString boardLog() {
        board.waitForReadyRead(500);
        log += QString::fromUtf8(board.readAll());
        return log;
    }
    QProcess board;
    QString log;
};

TEST_F(BoardStartupTest, ShowingProbesOnceAndClosingReleasesTheBoard) {
    const QString pty = startBoard();
    ASSERT_FALSE(pty.isEmpty()) << "boardsim did not start";
    options.probeBoard = true;
    options.ports = {pty.toStdString()};
    start();
    ASSERT_TRUE(win().boardSession().boardPort().has_value());
    EXPECT_EQ(*win().boardSession().boardPort(), pty.toStdString());
    EXPECT_FALSE(win().boardSession().probingAtStartUp());  // set only during the probe
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(boardLog().count("identify"), 1);
    EXPECT_TRUE(log.contains("control s 1"));
    EXPECT_FALSE(log.contains("control r 0"));
    win().close();
    EXPECT_TRUE(boardLog().contains("control r 0"));
    EXPECT_TRUE(notifier.shown.empty());  // the board acknowledged the release
}

TEST_F(BoardStartupTest, WithoutABoardTheProgramStartsAndTellsOnce) {
    board.start(QString::fromStdString((BinDir() / "boardsim").string()), {"--silent-after", "0"});
    ASSERT_TRUE(board.waitForStarted(5000) && board.waitForReadyRead(5000));
    options.probeBoard = true;
    options.ports = {QString::fromUtf8(board.readLine()).trimmed().toStdString()};  // a board that never answers
    start();
    EXPECT_TRUE(win().isVisible());
    EXPECT_FALSE(win().boardSession().boardPort().has_value());
    // The start-up probe reports the missing board once.
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg7"});
    win().close();  // no board known: nothing is sent, nothing is shown
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg7"});
}

}  // namespace
}  // namespace zrv::test
