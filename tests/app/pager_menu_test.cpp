// The Pager menu as a dealer uses it, against the board simulator: read,
// write and verify in the programming window, the repeated write, a board
// lost half-way, the polling of the status line and the scanner's write.
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/capcode_rules.h"
#include "core/capcodes.h"
#include "core/frequency.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "app/pager_menu.h"
#include "core/table_file.h"
#include "link/board_session.h"
#include "link/ui/programming_window.h"
#include "ota/ui/ota_window.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"
#include "tests/link/boardsim_process.h"

namespace zrv::test {
namespace {

namespace L = zrv::layout;
using link::ui::ProgrammingWindow;

class PagerMenuTest : public WindowTest {
protected:
    void SetUp() override {
        // The simulator answers at once: the window may use the short read pause.
        qputenv(link::kReadPauseVariable, "0");
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        qunsetenv(link::kReadPauseVariable);
    }

    /// Starts the window with \p board as its only port; the start-up probe finds it.
    void startWith(Boardsim& board) {
        options.probeBoard = true;
        options.ports = {board.path()};
        start();
        ASSERT_TRUE(win().boardSession().boardPort().has_value());
    }
    ProgrammingWindow& form1() { return *app_->companions().Form1; }
    template <class T>
    T& in1(const char* name) {
        T* w = form1().findChild<T*>(name);
        if (!w) throw std::logic_error(std::string("Form1 has no ") + name);
        return *w;
    }
    QString status() { return in1<QLabel>("lblMsg").text(); }
    QLabel& staMsg() { return *get<QLabel>("staMsg"); }
    bool staMsgRed() { return staMsg().palette().color(QPalette::WindowText) == QColor(255, 0, 0); }

    /// Runs \p open, which shows the programming window modally; once its
    /// operation has ended (Exit offered), runs \p whenDone and presses Exit.
    void operate(const std::function<void()>& open, const std::function<void()>& whenDone = {}) {
        bool done = false;
        QTimer poll;
        QElapsedTimer clock;
        clock.start();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!form1().isVisible() || form1().busy()) return;
            auto& exit = in1<QPushButton>("cmdExit");
            if (!exit.isVisible() || !exit.isEnabled()) {
                if (clock.elapsed() > 60000) form1().close();  // never hang the suite
                return;
            }
            poll.stop();
            done = true;
            if (whenDone) whenDone();
            exit.click();
        });
        poll.start(10);
        open();
        EXPECT_TRUE(done) << "the programming window did not finish its operation";
        EXPECT_FALSE(form1().isVisible());
    }
    /// Types \p text into \p box as a user does and leaves it with Enter.
    void typeInto(QLineEdit& box, const char* text) {
        ClickInto(win(), box);
        QTest::keyClicks(&box, QString::fromUtf8(text));
        QTest::keyClick(&box, Qt::Key_Return);
        QApplication::processEvents();
    }
    /// Chooses a Pager menu item as its shortcut does.
    void menu(const char* item) { win().action(item)->trigger(); }
    void writeMode() { get<QRadioButton>("RBtWrite")->click(); }
    bool boardWrote(Boardsim& board) {
        const auto lines = board.log();
        return std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("write ", 0) == 0; });
    }

    TempDir pagerDir;
};

/// A pager holding \p image as a write from the PC leaves it.
std::vector<std::string> PagerWith(const TempDir& dir, const ConfigImage& image, std::vector<std::string> more = {}) {
    WriteMemoryFile(dir / "pager.tbl", image);
    std::vector<std::string> args{"--table", (dir / "pager.tbl").string()};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST_F(PagerMenuTest, ReadLoadsThePagersImageAndSelectsItsBand) {
    ConfigImage pager = SampleImage();
    ASSERT_TRUE(ChangeBand(pager, 1, false).ok());  // 400-499 MHz
    ASSERT_TRUE(StoreCapcodeText(pager, 0, "1234567").ok);
    pager.setByte(kImageSize - 1, 0x5A);
    StoreTableChecksum(pager);
    Boardsim board(PagerWith(pagerDir, pager, {"--firmware", "12"}));
    startWith(board);
    EXPECT_EQ(combo("cboFreq")->currentIndex(), 0);
    EXPECT_FALSE(staMsgRed());
    EXPECT_EQ(staMsg().text(), "    The Programmed Board Connect !");

    // While the read runs the user tries to close the window and asks for
    // a verify: the read goes on to its end (Escape cancels it, see below).
    int attempts = 0;
    QTimer meddle;
    QObject::connect(&meddle, &QTimer::timeout, [&] {
        if (!form1().busy()) return;
        EXPECT_FALSE(win().boardSession().pollTimer()->isActive()) << "no polling during a transfer";
        ++attempts;
        form1().close();
        win().pagerMenu().mnuVerfyClick();
    });
    meddle.start(5);
    int lastProgress = -1;
    operate([&] { menu("mnuRead"); }, [&] {
        EXPECT_EQ(status(), "  Read Success!");
        lastProgress = in1<QProgressBar>("PB1").value();
        EXPECT_EQ(lastProgress, in1<QProgressBar>("PB1").maximum());
        EXPECT_FALSE(in1<QPushButton>("cmdWrite").isVisible());
    });
    meddle.stop();
    EXPECT_GT(attempts, 0);
    EXPECT_EQ(combo("cboFreq")->currentIndex(), 1);
    EXPECT_EQ(CapcodeAt(image(), 0), 1234567u);
    EXPECT_EQ(get<QLineEdit>("edtCap0")->text(), "1234567");
    EXPECT_EQ(image().byte(kImageSize - 1), 0x5A);  // the whole memory was copied
    EXPECT_EQ(image().byte(L::kCapcodeCount), 16);      // a forced value after a read
    EXPECT_EQ(get<QLabel>("lblFirmVer")->text(), "FirmVer : 1.2");
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_FALSE(boardWrote(board));
    // The window is ready for the next showing.
    EXPECT_TRUE(status().isEmpty());
    EXPECT_EQ(in1<QProgressBar>("PB1").value(), in1<QProgressBar>("PB1").minimum());
}

TEST_F(PagerMenuTest, AReadKeepsThePagesOfTheCapcodeSourceAndMusicSelectors) {
    ConfigImage pager = SampleImage();
    ASSERT_TRUE(StoreCapcodeText(pager, 8, "0000909").ok);  // capcode 9: the second capcode page
    StoreTableChecksum(pager);
    Boardsim board(PagerWith(pagerDir, pager));
    startWith(board);
    choose(combo("cboSource"), 1);  // "Enable" offers the source pages
    ASSERT_FALSE(box("chkCapMusicType")->isChecked());  // the start-up image's music types are off
    box("chkCapMusicType")->click();                     // the music pages are offered
    const struct {
        const char* selector;
        int page;
    } pages[] = {{"cboCCPage", 1}, {"cboSrcPage", 2}, {"cboMTPage", 3}};
    for (const auto& p : pages) {
        ASSERT_TRUE(combo(p.selector)->isEnabled()) << p.selector;
        choose(combo(p.selector), p.page);
    }
    operate([&] { menu("mnuRead"); }, [&] { EXPECT_EQ(status(), "  Read Success!"); });
    for (const auto& p : pages) EXPECT_EQ(combo(p.selector)->currentIndex(), p.page) << p.selector;
    // The pages show what was read.
    EXPECT_EQ(get<QLineEdit>("edtCap0")->text(), "0000909");
    EXPECT_EQ(get<QLabel>("lblCapMusic0")->text(), "Cap #13: Music Type A");
    EXPECT_EQ(box("chkSource0")->text(), "Cap #9: Source A");
}

TEST_F(PagerMenuTest, WriteRechecksTheFrequencyOnTheBandTheSelectorShows) {
    Boardsim board(PagerWith(pagerDir, SampleImage()));
    startWith(board);
    choose(combo("cboFreq"), 1);  // 400-499 MHz with its preset 4540125
    // A table file whose base frequency names no band: Open keeps the band shown.
    ConfigImage made = image();
    made.setByte(0x65, static_cast<std::uint8_t>((made.byte(0x65) & 0x0F) | 0x50));
    const auto path = workingDir / "unnamed-band.tbl";
    ASSERT_FALSE(SaveTableFile(path, made, 16).has_value());
    nextOpen = QString::fromStdString(path.string());
    win().action("mnuOpen")->trigger();
    ASSERT_EQ(combo("cboFreq")->currentIndex(), 1);
    writeMode();
    operate([&] { menu("mnuWrite"); }, [&] { EXPECT_EQ(status(), "  Write Success!"); });
    EXPECT_TRUE(notifier.shown.empty());
    const ConfigImage memory = board.memory();
    EXPECT_EQ(ChannelFrequency(memory), 4540125u);
    EXPECT_EQ(BaseFrequency(memory), 4000000u) << "the words of the band shown, computed again";
}

TEST_F(PagerMenuTest, ClosingTheMainWindowDuringATransferWaitsForItsEnd) {
    Boardsim board(PagerWith(pagerDir, SampleImage()));
    startWith(board);
    bool asked = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (asked || !form1().busy()) return;
        asked = true;
        win().close();
        EXPECT_TRUE(win().isVisible()) << "the main window waits for the port";
    });
    closer.start(5);
    operate([&] { menu("mnuRead"); }, [&] { EXPECT_EQ(status(), "  Read Success!"); });
    ASSERT_TRUE(asked);
    EXPECT_FALSE(win().isVisible()) << "closed once the operation had ended";
    const auto lines = board.log();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "control r 0") << "released after the last block, never in between";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "control r 0"), 1);
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(PagerMenuTest, ABlankPagerIsNotReadAndTheImageStays) {
    Boardsim board;  // a pager whose memory is all 0xFF
    startWith(board);
    const ConfigImage before = image();
    operate([&] { menu("mnuRead"); }, [&] { EXPECT_EQ(status(), "  Read Error!"); });
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg16"});
    EXPECT_EQ(notifier.shown[0].english, "This pager is not ZR-V41K !");
    EXPECT_TRUE(image() == before);
    EXPECT_TRUE(win().boardSession().boardPort().has_value()) << "a refused pager keeps the board";
}

TEST_F(PagerMenuTest, WriteModeWritesThePagerAndAVerifyFindsItEqual) {
    Boardsim board(PagerWith(pagerDir, SampleImage(), {"--serial", "PAGER0000042"}));
    startWith(board);
    QLineEdit& cap = *get<QLineEdit>("edtCap0");
    typeInto(cap, "204801");
    writeMode();
    operate([&] { menu("mnuWrite"); }, [&] { EXPECT_EQ(status(), "  Write Success!"); });
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_TRUE(win().writeMode());
    EXPECT_FALSE(cap.isEnabled()) << "Write mode is applied again after the write";

    const ConfigImage memory = board.memory();
    EXPECT_EQ(CapcodeAt(memory, 0), 204801u);
    EXPECT_EQ(PagerSerialNumber(memory), "PAGER0000042") << "the pager keeps its serial number";
    EXPECT_EQ(get<QLineEdit>("txtSN")->text(), "PAGER0000042");
    EXPECT_EQ(memory.word(L::kChecksum), ImageChecksum(memory));
    // What the pager holds is the image in the pager's character set, the write marker set.
    ConfigImage sent = image();
    ConvertTextsToPager(sent);
    for (std::size_t a = 0; a < kImageSize; ++a) {
        if (a != L::kWriteMarker && a != L::kStatus530 && a != L::kStatus531 && a != L::kChecksum &&
            a != L::kChecksum + 1) {
            ASSERT_EQ(memory.byte(a), sent.byte(a)) << "address " << a;
        }
    }

    QPlainTextEdit& memo = app_->companions().frmOTA->memo1();
    memo.setPlainText("old report");
    operate([&] { menu("mnuVerfy"); }, [&] { EXPECT_EQ(status(), "  Verify Success!"); });
    EXPECT_TRUE(memo.toPlainText().isEmpty());
}

TEST_F(PagerMenuTest, ModifyModeRefusesToWriteAndSendsNothing) {
    Boardsim board(PagerWith(pagerDir, SampleImage()));
    startWith(board);
    const ConfigImage before = board.memory();
    menu("mnuWrite");
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg63"});
    EXPECT_EQ(notifier.shown[0].english, "Modify Mode can not write! Please check !");
    EXPECT_FALSE(form1().isVisible());
    EXPECT_FALSE(boardWrote(board));
    EXPECT_TRUE(board.memory() == before);
}

TEST_F(PagerMenuTest, VerifyListsTheDifferingAddressesInTheOtaMemo) {
    // The pager holds what a write of the image the window starts with put
    // there, but for the first letter of its model name.
    ConfigImage pager;
    {
        Boardsim first(PagerWith(pagerDir, SampleImage()));
        startWith(first);
        writeMode();
        operate([&] { menu("mnuWrite"); }, [&] { EXPECT_EQ(status(), "  Write Success!"); });
        pager = first.memory();
        app_.reset();
    }
    pager.setByte(L::kPagerIdentity.offset, 'X');  // 'Z' - 2: the checksum's low byte follows
    StoreImageChecksum(pager);
    WriteMemoryFile(pagerDir / "pager.bin", pager);
    Boardsim board({"--memory", (pagerDir / "pager.bin").string()});
    startWith(board);
    const ConfigImage before = image();
    operate([&] { menu("mnuVerfy"); }, [&] { EXPECT_EQ(status(), "  Verify Error!"); });
    EXPECT_EQ(app_->companions().frmOTA->memo1().toPlainText(), ":3E1:7FF");
    EXPECT_TRUE(image() == before);
    EXPECT_TRUE(app_->companions().frmOTA->memo1().isReadOnly());
}

TEST_F(PagerMenuTest, RepeatedWriteProgramsPagersWithConsecutiveCapcodes) {
    Boardsim board(PagerWith(pagerDir, SampleImage()));
    startWith(board);
    box("optAuto1")->click();
    ASSERT_TRUE(win().boardSession().autoIncrease().first);
    QLineEdit& cap = *get<QLineEdit>("edtCap0");
    typeInto(cap, "100");
    writeMode();
    std::vector<std::uint32_t> written;
    operate([&] { menu("mnuWrite"); }, [&] {
        auto& write = in1<QPushButton>("cmdWrite");
        EXPECT_TRUE(write.isVisible());
        EXPECT_TRUE(in1<QLabel>("lblAuto1").isVisible());
        EXPECT_FALSE(in1<QLabel>("lblAuto2").isVisible());
        EXPECT_FALSE(boardWrote(board)) << "nothing is written before Write is pressed";
        for (int pager = 0; pager < 2; ++pager) {
            write.click();
            EXPECT_EQ(status(), "  Write Success !");
            EXPECT_EQ(in1<QLabel>("lblAuto1").text(), QString(" 1st capcode : %1").arg(100 + pager, 7, 10, QChar('0')));
            EXPECT_TRUE(write.isEnabled());
            EXPECT_EQ(in1<QProgressBar>("PB1").value(), 0);
            written.push_back(CapcodeAt(board.memory(), 0));
            EXPECT_EQ(cap.text(), QString("%1").arg(101 + pager, 7, 10, QChar('0')));
        }
    });
    EXPECT_EQ(written, (std::vector<std::uint32_t>{100, 101}));
    EXPECT_EQ(CapcodeAt(image(), 0), 102u) << "the next pager would get 102";
    EXPECT_FALSE(in1<QLabel>("lblAuto1").isVisible());
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(PagerMenuTest, ABoardLostHalfWayTurnsTheStatusRedAndKeepsTheImage) {
    ConfigImage pager = SampleImage();
    ASSERT_TRUE(StoreCapcodeText(pager, 0, "1765432").ok);
    StoreTableChecksum(pager);
    // identify, start, the identity read, then twenty blocks of the read
    Boardsim board(PagerWith(pagerDir, pager, {"--vanish-after", "23"}));
    startWith(board);
    const ConfigImage before = image();
    operate([&] { menu("mnuRead"); }, [&] {
        EXPECT_EQ(status(), "  Read Error!");
        EXPECT_TRUE(staMsgRed()) << "red while the window is still open";
    });
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg6"});
    EXPECT_TRUE(image() == before);
    EXPECT_FALSE(win().boardSession().boardPort().has_value());
    EXPECT_EQ(staMsg().text(), "  The Programmed Board Disconnect!   Logged") << "the failed read is logged";
    EXPECT_FALSE(win().action("mnuRead")->isEnabled());
    // Nothing starts without a board.
    menu("mnuVerfy");
    EXPECT_FALSE(form1().isVisible());
    EXPECT_TRUE(win().boardSession().pollTimer()->isActive()) << "polling goes on to find the board again";
}

TEST_F(PagerMenuTest, ABoardLostDuringAWriteSaysThePagerMayBePartlyWritten) {
    // identify, start, identity, serial and firmware reads, then five blocks
    Boardsim board(PagerWith(pagerDir, SampleImage(), {"--vanish-after", "10"}));
    startWith(board);
    writeMode();
    operate([&] { menu("mnuWrite"); }, [&] {
        EXPECT_EQ(status(), "  Write Error!");
        EXPECT_TRUE(staMsgRed());
    });
    ASSERT_EQ(notifier.keys(), (std::vector<std::string>{"Msg4", "MsgPartlyWritten"}));
    EXPECT_EQ(notifier.shown[1].english, "The pager may be partly written: write it again before it is used!");
}

TEST_F(PagerMenuTest, CancelStopsAReadWriteOrVerifyAndSaysWhatThePagerHolds) {
    Boardsim board(PagerWith(pagerDir, SampleImage()));
    startWith(board);
    QLineEdit& cap = *get<QLineEdit>("edtCap0");
    typeInto(cap, "204801");
    const struct {
        const char* item;
        bool byEscape;
        const char* message;  // what the user is told of the pager
    } cases[] = {
        {"mnuRead", true, "Cancelled: the pager was not changed"},
        {"mnuWrite", false, "The pager is partly written: write it again before use"},
        {"mnuVerfy", true, "Cancelled: the pager was not changed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        notifier.clear();
        if (std::string(c.item) == "mnuWrite") writeMode();
        const ConfigImage before = image();
        const std::size_t logBefore = board.log().size();
        // Cancel once the transfer is well under way.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!form1().busy() || in1<QProgressBar>("PB1").value() < 4000) return;
            watch.stop();
            EXPECT_TRUE(in1<QPushButton>("cmdCancel").isVisible());
            if (c.byEscape)
                QTest::keyClick(&form1(), Qt::Key_Escape);
            else
                in1<QPushButton>("cmdCancel").click();
        });
        watch.start(1);
        operate([&] { menu(c.item); }, [&] {
            EXPECT_EQ(status(), "  Cancelled");
            EXPECT_FALSE(in1<QPushButton>("cmdCancel").isVisible());
        });
        ASSERT_EQ(notifier.shown.size(), 1u);
        EXPECT_EQ(notifier.shown[0].english, c.message);
        EXPECT_TRUE(image() == before) << "the configuration stays as it was";
        EXPECT_FALSE(win().boardSession().portInUse());
        EXPECT_TRUE(win().boardSession().boardPort().has_value()) << "the board is not lost";
        std::size_t written = 0;
        const auto lines = board.log();
        for (std::size_t k = logBefore; k < lines.size(); ++k)
            if (lines[k].rfind("write ", 0) == 0) written += std::stoul(lines[k].substr(11));
        if (std::string(c.item) == "mnuWrite") {
            EXPECT_GT(written, 0u);
            EXPECT_LT(written, kImageSize) << "the write stopped before its end";
        } else {
            EXPECT_EQ(written, 0u);
        }
    }
    // The board is free again: the next write goes through whole.
    notifier.clear();
    operate([&] { menu("mnuWrite"); }, [&] { EXPECT_EQ(status(), "  Write Success!"); });
    EXPECT_EQ(CapcodeAt(board.memory(), 0), 204801u);
}

TEST_F(PagerMenuTest, TheStatusLineFollowsTheBoardWhileTheProgrammingWindowWaits) {
    auto board = std::make_unique<Boardsim>(PagerWith(pagerDir, SampleImage()));
    startWith(*board);
    box("optAuto1")->click();
    writeMode();
    operate([&] { menu("mnuWrite"); }, [&] {
        auto& write = in1<QPushButton>("cmdWrite");
        write.click();
        EXPECT_EQ(status(), "  Write Success !");
        board.reset();  // the adapter is pulled out while the window waits for the next pager
        EXPECT_TRUE(QTest::qWaitFor([&] { return staMsgRed(); }, 12000)) << "red within a polling tick";
        EXPECT_EQ(staMsg().text(), "    The Programmed Board Disconnect !   Logged");
        EXPECT_TRUE(form1().isVisible());
        EXPECT_TRUE(notifier.shown.empty()) << "polling stays silent";
        // Write once more: the board is gone, and that is what it says.
        write.click();
        EXPECT_EQ(status(), "  Write Error !");
        EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg53"});
        EXPECT_TRUE(write.isEnabled());
    });
}

TEST_F(PagerMenuTest, AnOpenedFileVerifiesAgainstThePagerItWasWrittenInto) {
    ConfigImage table = SampleImage();
    ASSERT_TRUE(StoreCapcodeText(table, 0, "1234567").ok);
    StoreTableChecksum(table);
    const auto file = pagerDir / "file.tbl";
    WriteMemoryFile(file, table);
    // The pager keeps its own serial number and gets its firmware's words.
    Boardsim board(PagerWith(pagerDir, SampleImage(), {"--serial", "PAGER0000777", "--firmware", "12"}));
    const auto write = RunProgram("zrv41k-cli", {"write", "--port", board.path(), file.string()});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    startWith(board);
    nextOpen = QString::fromStdString(file.string());
    menu("mnuOpen");
    ASSERT_EQ(get<QLineEdit>("edtCap0")->text(), "1234567");
    QPlainTextEdit& memo = app_->companions().frmOTA->memo1();
    operate([&] { menu("mnuVerfy"); }, [&] { EXPECT_EQ(status(), "  Verify Success!"); });
    EXPECT_TRUE(memo.toPlainText().isEmpty()) << memo.toPlainText().toStdString();

    typeInto(*get<QLineEdit>("edtCap0"), "1234568");  // a real difference
    operate([&] { menu("mnuVerfy"); }, [&] { EXPECT_EQ(status(), "  Verify Error!"); });
    EXPECT_TRUE(memo.toPlainText().startsWith(":128")) << memo.toPlainText().toStdString();
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(PagerMenuTest, PollingTurnsTheStatusBlackWhenTheBoardComesAndRedWhenItGoes) {
    const auto link = workingDir / "board";  // where the adapter appears
    options.probeBoard = true;
    options.ports = {link.string()};
    start();
    // The port is not there yet: that is said, with the connection check offered.
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"MsgCheckOffer"});
    EXPECT_TRUE(staMsgRed());
    EXPECT_FALSE(win().action("mnuWrite")->isEnabled());
    QTimer* timer1 = win().boardSession().pollTimer();
    ASSERT_TRUE(timer1->isActive());
    EXPECT_EQ(timer1->interval(), 3000);

    auto board = std::make_unique<Boardsim>();
    std::filesystem::create_symlink(board->path(), link);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !staMsgRed(); }, 12000)) << "black within a polling tick";
    EXPECT_EQ(staMsg().text(), "    The Programmed Board Connect !");
    EXPECT_TRUE(win().action("mnuRead")->isEnabled());
    EXPECT_EQ(win().boardSession().boardPort(), link.string());

    board.reset();  // the adapter is pulled out
    ASSERT_TRUE(QTest::qWaitFor([&] { return staMsgRed(); }, 12000)) << "red within a polling tick";
    EXPECT_EQ(staMsg().text(), "    The Programmed Board Disconnect !");
    EXPECT_FALSE(win().action("mnuRead")->isEnabled());
    EXPECT_FALSE(win().boardSession().boardPort().has_value());
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"MsgCheckOffer"}) << "polling stays silent";
}

TEST_F(PagerMenuTest, ScannedSerialNumberIsWrittenIntoThePager) {
    Boardsim board(PagerWith(pagerDir, SampleImage(), {"--serial", "OLD000000001"}));
    startWith(board);
    writeMode();
    win().activateWindow();
    operate([&] {
        for (const char c : std::string("SCAN12345678")) QTest::keyClick(win().windowHandle(), c);
        QTest::keyClick(win().windowHandle(), Qt::Key_Return);
    }, [&] { EXPECT_EQ(status(), "  Write Success!"); });
    EXPECT_EQ(PagerSerialNumber(board.memory()), "SCAN12345678");
    EXPECT_TRUE(SerialNumberValid(board.memory()));
    EXPECT_EQ(get<QLineEdit>("txtSN")->text(), "SCAN12345678");
    EXPECT_TRUE(win().boardSession().keepsPagerSerial()) << "kept again for the next write";
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(PagerMenuTest, TheProgrammingWindowSpeaksTheLanguageOfTheFile) {
    useGermanLanguageFile();
    Boardsim board(PagerWith(pagerDir, SampleImage()));
    startWith(board);
    operate([&] { menu("mnuRead"); }, [&] {
        EXPECT_EQ(form1().windowTitle(), "Pager programmieren");
        EXPECT_EQ(status(), "  Lesen erfolgreich!");
    });
}

}  // namespace
}  // namespace zrv::test
