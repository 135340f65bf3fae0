// Getting connected, as a user meets it in the window: the start-up probe
// names the real reason a board is missing and offers the connection check
// (the old message stays for a board that does not answer), the check's
// window and Check Again, and the practice board read and written from the
// Pager menu.
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <cerrno>
#include <filesystem>

#include "app/connection_commands.h"
#include "app/log_commands.h"
#include "core/default_image.h"
#include "link/board_session.h"
#include "link/practice_board.h"
#include "log/programming_log.h"
#include "link/qt_serial_line.h"
#include "link/ui/connection_check_window.h"
#include "link/ui/programming_window.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"
#include "tests/link/boardsim_process.h"

namespace zrv::test {
namespace {

class ConnectionWindowTest : public WindowTest {
protected:
    void SetUp() override {
        qputenv(link::kReadPauseVariable, "0");  // the simulator answers at once
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        qunsetenv(link::kReadPauseVariable);
    }
    QLabel& staMsg() { return *get<QLabel>("staMsg"); }
    app::ConnectionCommands& connection() { return app_->connection(); }
    link::ui::ConnectionCheckWindow& checkWindow() { return connection().checkWindow(); }
    QString findingsShown() { return checkWindow().findChild<QTextBrowser*>("txtFindings")->toPlainText(); }

    /// Once the check window has finished a check, runs \p then (which
    /// closes it, as the user does).
    void whenChecked(const std::function<void()>& then) {
        auto* poll = new QTimer(&checkWindow());
        QObject::connect(poll, &QTimer::timeout, [this, poll, then] {
            if (!checkWindow().isVisible() || checkWindow().checking() || checkWindow().findings().empty()) return;
            poll->stop();
            poll->deleteLater();
            then();
        });
        poll->start(10);
    }
    /// Runs a Pager menu item in the programming window and leaves it with
    /// Exit once it has ended; returns its status line.
    QString operate(const char* item) {
        auto& form1 = *app_->companions().Form1;
        QString result;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* exit = form1.findChild<QPushButton*>("cmdExit");
            if (!form1.isVisible() || form1.busy() || !exit->isVisible()) return;
            poll.stop();
            result = form1.findChild<QLabel*>("lblMsg")->text();
            exit->click();
        });
        poll.start(10);
        win().action(item)->trigger();
        return result;
    }
    void typeInto(QLineEdit& box, const char* text) {
        ClickInto(win(), box);
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);  // the old value goes
        QTest::keyClicks(&box, QString::fromUtf8(text));
        QTest::keyClick(&box, Qt::Key_Return);
        QApplication::processEvents();
    }
};

TEST_F(ConnectionWindowTest, StartUpTellsTheRealReasonAndOffersTheCheckOrSaysTheBoardDoesNotAnswer) {
    Boardsim silent({"--silent-after", "0"});
    Boardsim held;
    link::QtSerialLine holder;  // another program has this board's port open
    ASSERT_EQ(holder.open(held.path()), 0);
    Boardsim guarded({"--silent-after", "0"});  // a port the user may not open
    ASSERT_EQ(::chmod(guarded.path().c_str(), 0660), 0);
    struct stat st {};
    ASSERT_EQ(::stat(guarded.path().c_str(), &st), 0);
    const std::string group = ::getgrgid(st.st_gid) ? ::getgrgid(st.st_gid)->gr_name : std::to_string(st.st_gid);
    link::SystemView alice = link::SystemView::ThisProcess();
    alice.user = "alice";
    alice.uid = 4242;
    alice.groups = {4242};
    const std::string missing = (workingDir / "no-such-port").string();

    const struct {
        const char* cause;
        std::string port;
        bool asAlice;
        const char* told;  // the message box or question
        std::string reason;
        std::string command;
    } cases[] = {
        {"missing", missing, false, "MsgCheckOffer", missing + " does not exist.", ""},
        {"busy", held.path(), false, "MsgCheckOffer", held.path() + " is in use by another program.", ""},
        {"permission", guarded.path(), true, "MsgCheckOffer",
         guarded.path() + " may not be opened by alice: it belongs to the group " + group +
             " (crw-rw----), and alice is not in that group.",
         "sudo usermod -aG " + group + " alice"},
        {"silent", silent.path(), false, "Msg7", "No programmer board answers on " + silent.path() + ".", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        notifier.clear();
        options.probeBoard = true;
        options.ports = {c.port};
        options.systemView.reset();
        if (c.asAlice) options.systemView = alice;
        start();
        EXPECT_EQ(notifier.keys(), std::vector<std::string>{c.told});
        if (!notifier.asked.empty()) {
            EXPECT_TRUE(notifier.asked[0].english.starts_with(c.reason)) << notifier.asked[0].english;
            EXPECT_NE(notifier.asked[0].english.find(c.command), std::string::npos);
        }
        // The status line says it whole, or shortened with the whole as its tool tip.
        const QString full = QStringLiteral("    The Programmed Board Disconnect ! ") + QString::fromStdString(c.reason);
        const QString shown = staMsg().text();
        const QString tip = staMsg().toolTip();
        EXPECT_TRUE(shown == full || (shown.endsWith(QChar(0x2026)) && full.startsWith(shown.chopped(1))))
            << shown.toStdString();
        EXPECT_TRUE(tip.startsWith(QString::fromStdString(c.reason))) << tip.toStdString();
        EXPECT_TRUE(tip.contains(QString::fromStdString(c.command)));
        if (c.asAlice) {
            EXPECT_NE(shown, full) << "this reason is longer than the line";
        }
        EXPECT_FALSE(win().action("mnuRead")->isEnabled());
        app_.reset();
    }
    EXPECT_TRUE(held.log().empty()) << "nothing reached the board through the held port";
}

TEST_F(ConnectionWindowTest, TheOfferedCheckShowsTheProblemAndCheckAgainFindsTheBoardOnceItIsThere) {
    const auto port = workingDir / "board";  // where the adapter will appear
    options.probeBoard = true;
    options.ports = {port.string()};
    notifier.answers = {true};  // Yes: open the check
    std::unique_ptr<Boardsim> board;
    TempDir pagerDir;
    WriteMemoryFile(pagerDir / "pager.tbl", SampleImage());
    int checks = 0;
    start(false);
    whenChecked([&] {
        ++checks;
        EXPECT_TRUE(findingsShown().contains(QString::fromStdString("PROBLEM  " + port.string() + " does not exist.")))
            << findingsShown().toStdString();
        EXPECT_TRUE(findingsShown().contains("Plug the adapter in"));
        // The adapter is plugged in; the user checks again.
        board = std::make_unique<Boardsim>(std::vector<std::string>{
            "--table", (pagerDir / "pager.tbl").string(), "--serial", "PAGER0000777", "--firmware", "12"});
        std::filesystem::create_symlink(board->path(), port);
        QTest::mouseClick(checkWindow().findChild<QPushButton*>("btnCheckAgain"), Qt::LeftButton);
        EXPECT_TRUE(findingsShown().contains(QString::fromStdString("The programmer board answers on " + port.string())))
            << findingsShown().toStdString();
        EXPECT_TRUE(findingsShown().contains("Pager in the board: ZR-V41K  V1.09, firmware 1.2, serial number PAGER0000777."))
            << findingsShown().toStdString();
        EXPECT_FALSE(checkWindow().reportText().find("PROBLEM") != std::string::npos) << checkWindow().reportText();
        QTest::mouseClick(checkWindow().findChild<QPushButton*>("btnCheckClose"), Qt::LeftButton);
    });
    win().show();
    QApplication::processEvents();
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"MsgCheckOffer"});
    EXPECT_EQ(checks, 1) << "the check window was not shown";
    EXPECT_FALSE(checkWindow().isVisible());
    // The main window follows what the check found.
    EXPECT_EQ(staMsg().text(), "    The Programmed Board Connect !");
    EXPECT_TRUE(staMsg().toolTip().isEmpty());
    EXPECT_TRUE(win().action("mnuRead")->isEnabled());

    // Help > Check Board Connection opens the same check.
    whenChecked([&] {
        ++checks;
        EXPECT_FALSE(link::MainProblem(checkWindow().findings()).has_value());
        QTest::keyClick(&checkWindow(), Qt::Key_Escape);
    });
    connection().checkAction().trigger();
    EXPECT_EQ(checks, 2);
}

TEST_F(ConnectionWindowTest, ThePracticeBoardIsReadAndWrittenFromTheWindowAndEndsWithIt) {
    QString error;
    ASSERT_TRUE(app::ParseCommandLine({"--practice"}, error)->practice);
    EXPECT_FALSE(app::ParseCommandLine({"--practice", "--port", "/dev/ttyUSB0"}, error).has_value());

    options.probeBoard = true;
    options.practice = true;
    start();
    ASSERT_NE(connection().practiceBoard(), nullptr);
    const qint64 simulator = connection().practiceBoard()->processId();
    ASSERT_GT(simulator, 0);
    EXPECT_TRUE(win().boardSession().practice());
    EXPECT_TRUE(win().windowTitle().startsWith("PRACTICE (simulated pager) - ")) << win().windowTitle().toStdString();
    EXPECT_EQ(staMsg().text(), "  Practice board: a simulated pager, no real pager is read or written");
    EXPECT_TRUE(notifier.shown.empty());

    // The programming log's records of the practice pager, by its serial number.
    const auto practiceRecords = [this] {
        std::string error;
        auto log = proglog::ProgrammingLog::open(app_->logCommands().target(), error);
        if (!log) ADD_FAILURE() << "the programming log does not open: " << error;
        proglog::LogFilter filter;
        filter.serial = link::PracticeBoard::kSerial;
        const auto found = log ? log->query(filter, error) : std::nullopt;
        return found ? static_cast<int>(found->size()) : -1;
    };
    const int records = practiceRecords();
    EXPECT_EQ(operate("mnuRead"), "  Read Success!");
    EXPECT_EQ(get<QLineEdit>("txtSN")->text(), link::PracticeBoard::kSerial);
    typeInto(*get<QLineEdit>("edtCap0"), "2000000");
    get<QRadioButton>("RBtWrite")->click();
    EXPECT_EQ(operate("mnuWrite"), "  Write Success!");
    EXPECT_EQ(operate("mnuVerfy"), "  Verify Success!");
    get<QRadioButton>("RBtModify")->click();
    typeInto(*get<QLineEdit>("edtCap0"), "1111111");
    EXPECT_EQ(operate("mnuRead"), "  Read Success!");
    EXPECT_EQ(get<QLineEdit>("edtCap0")->text(), "2000000") << "the simulator kept what was written";
    EXPECT_TRUE(notifier.shown.empty()) << notifier.shown.front().english;
    EXPECT_TRUE(win().windowTitle().startsWith("PRACTICE (simulated pager) - ")) << "still marked after the transfers";
    EXPECT_FALSE(connection().practiceAction().isEnabled());
    EXPECT_EQ(practiceRecords(), records) << "practice transfers stay out of the programming log";

    win().close();
    app_.reset();
    EXPECT_EQ(::kill(static_cast<pid_t>(simulator), 0), -1) << "the simulator ended with the program";
    EXPECT_EQ(errno, ESRCH);
}

}  // namespace
}  // namespace zrv::test
