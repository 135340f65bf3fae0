// Comparing configurations as a dealer does: this configuration against a
// table file (File > Compare With...) and against the pager in the board,
// the list a failed verify leaves in the programming window, and Write
// showing first what it will change.
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "app/compare_commands.h"
#include "core/capcodes.h"
#include "core/field_table.h"
#include "core/image_rules.h"
#include "core/table_file.h"
#include "editors/compare_window.h"
#include "link/board_session.h"
#include "link/ui/programming_window.h"
#include "ota/ui/ota_window.h"
#include "tests/app/window_fixture.h"
#include "tests/link/boardsim_process.h"

namespace zrv::test {
namespace {

using Names = std::vector<std::string>;

/// \p image with the fields of \p values stored as the command line's `set` stores them.
ConfigImage With(ConfigImage image, const std::vector<std::pair<const char*, const char*>>& values) {
    FieldContext context = ContextAfterOpen(image);
    for (const auto& [name, value] : values) {
        const auto stored = SetFieldValue(image, context, RequireField(name), value);
        EXPECT_EQ(stored.status, SetFieldResult::Status::Stored) << name << " " << stored.error;
    }
    StoreTableChecksum(image);
    return image;
}

/// The value the window shows for \p field of \p image.
std::string Shown(const char* field, const ConfigImage& image) {
    return RequireField(field).get(image, ContextAfterOpen(image));
}

class CompareWindowTest : public WindowTest {
protected:
    void SetUp() override {
        qputenv(link::kReadPauseVariable, "0");  // the simulator answers at once
        WindowTest::SetUp();
        // A window that never comes (or never goes) fails the test instead
        // of hanging the suite: every modal window is closed after a minute.
        clock_.start();
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            if (clock_.elapsed() < 60000) return;
            if (!timedOut_) ADD_FAILURE() << "a window waited for an answer that never came";
            timedOut_ = true;
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        watchdog_.start(100);
    }
    void TearDown() override {
        watchdog_.stop();
        timers_.clear();
        WindowTest::TearDown();
        qunsetenv(link::kReadPauseVariable);
    }

    void startWith(Boardsim& board) {
        options.probeBoard = true;
        options.ports = {board.path()};
        start();
        ASSERT_TRUE(win().boardSession().boardPort().has_value());
    }
    /// A pager holding \p image as a write from the PC leaves it.
    std::vector<std::string> pagerWith(const ConfigImage& image, std::vector<std::string> more = {}) {
        WriteMemoryFile(workingDir / "pager.tbl", image);
        more.insert(more.begin(), {"--table", (workingDir / "pager.tbl").string()});
        return more;
    }
    /// Writes \p image into the pager in \p board with the command line's
    /// write: the pager keeps its serial number and gets its firmware's words.
    void writeWithCli(Boardsim& board, const ConfigImage& image) {
        WriteMemoryFile(workingDir / "written.tbl", image);
        const auto write = RunProgram("zrv41k-cli", {"write", "--port", board.path(), (workingDir / "written.tbl").string()});
        ASSERT_EQ(write.exitCode, 0) << write.err;
    }
    /// Saves \p image as \p name and opens it with File > Open.
    void openTable(const ConfigImage& image, const char* name = "mine.tbl") {
        ConfigImage saved = image;
        ASSERT_FALSE(SaveTableFile(workingDir / name, saved, 16).has_value());
        nextOpen = QString::fromStdString((workingDir / name).string());
        win().action("mnuOpen")->trigger();
        ASSERT_FALSE(win().document().modified());
    }
    /// Runs \p act once \p ready holds, from whatever event loop runs then
    /// (a modal window's): as a user who waits for a window and answers it.
    void whenReady(std::function<bool()> ready, std::function<void()> act) {
        auto timer = std::make_unique<QTimer>();
        QTimer* t = timer.get();
        QObject::connect(t, &QTimer::timeout, [t, ready = std::move(ready), act = std::move(act)] {
            if (!ready()) return;
            t->stop();
            act();
        });
        t->start(10);
        timers_.push_back(std::move(timer));
    }
    /// Presses Exit once the programming window's operation has ended, after \p look.
    void exitProgrammingWindow(std::function<void()> look = {}) {
        whenReady([this] {
            auto* exit = form1().findChild<QPushButton*>("cmdExit");
            return form1().isVisible() && !form1().busy() && exit->isVisible() && exit->isEnabled();
        }, [this, look = std::move(look)] {
            if (look) look();
            form1().findChild<QPushButton*>("cmdExit")->click();
        });
    }

    link::ui::ProgrammingWindow& form1() { return *app_->companions().Form1; }
    CompareWindow& compare() { return app_->compareCommands().window(); }
    QPushButton& compareButton(const char* name) { return *compare().findChild<QPushButton*>(name); }
    QString status() { return form1().findChild<QLabel*>("lblMsg")->text(); }
    void menu(const char* item) { win().action(item)->trigger(); }
    /// True when the board has written since its log held \p mark lines.
    bool boardWrote(Boardsim& board, std::size_t mark) {
        const auto lines = board.log();
        return std::any_of(lines.begin() + static_cast<std::ptrdiff_t>(std::min(mark, lines.size())), lines.end(),
                           [](const std::string& l) { return l.rfind("write ", 0) == 0; });
    }
    /// The names of the field rows, and the regions of the byte rows, of \p names.
    static std::pair<Names, Names> fieldsAndRegions(const Names& names) {
        std::pair<Names, Names> out;
        for (const std::string& n : names) {
            if (n.rfind("0x", 0) == 0) out.second.push_back(n.substr(n.find("  ") + 2));
            else out.first.push_back(n);
        }
        return out;
    }
    /// The cells of \p table's row \p r.
    static Names cells(const QTableWidget& table, int r) {
        Names row;
        for (int c = 0; c < table.columnCount(); ++c) row.push_back(table.item(r, c)->text().toStdString());
        return row;
    }
    static Names headings(const QTableWidget& table) {
        Names row;
        for (int c = 0; c < table.columnCount(); ++c) row.push_back(table.horizontalHeaderItem(c)->text().toStdString());
        return row;
    }
    /// Double-clicks the row of \p table whose first cell is \p name.
    void doubleClickRow(QTableWidget& table, const std::string& name) {
        const auto found = table.findItems(QString::fromStdString(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        const QPoint at = table.visualItemRect(found.front()).center();
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }

    std::vector<std::unique_ptr<QTimer>> timers_;
    QTimer watchdog_;
    QElapsedTimer clock_;
    bool timedOut_ = false;
};

TEST_F(CompareWindowTest, ATableFileIsListedByFieldFilteredAndAFieldIsBroughtToTheFront) {
    start();
    const ConfigImage mine = With(SampleImage(), {{"capcode.9", "0000909"}});
    openTable(mine);
    const ConfigImage theirs = With(mine, {{"capcode.9", "1234567"}, {"prompt.1", "HELLO THERE"}, {"contrast", "2"}});
    ConfigImage saved = theirs;
    ASSERT_FALSE(SaveTableFile(workingDir / "theirs.tbl", saved, 16).has_value());
    const ConfigImage before = image();

    nextOpen = QString::fromStdString((workingDir / "theirs.tbl").string());
    menu("mnuCompareWith");
    CompareWindow& w = compare();
    ASSERT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal()) << "the main window stays usable beside it";
    EXPECT_EQ(w.windowTitle(), "Compare - theirs.tbl");
    EXPECT_EQ(w.shownNames(), (Names{"capcode.9", "prompt.1", "contrast", "0x07FE-0x07FF  checksum"}));
    EXPECT_EQ(headings(w.table()), (Names{"Field", "This configuration", "The file"}));
    EXPECT_EQ(cells(w.table(), 0), (Names{"capcode.9", "0000909", "1234567"}));
    EXPECT_EQ(cells(w.table(), 1), (Names{"prompt.1", Shown("prompt.1", mine), Shown("prompt.1", theirs)}));
    EXPECT_EQ(cells(w.table(), 2), (Names{"contrast", Shown("contrast", mine), "2"}));
    EXPECT_TRUE(image() == before) << "comparing changes nothing";
    EXPECT_FALSE(win().document().modified());

    // The filter keeps the rows whose name or value holds its text, whatever the case.
    QTest::keyClicks(&w.filter(), "CAPCODE");
    EXPECT_EQ(w.shownNames(), Names{"capcode.9"});
    w.filter().clear();
    QTest::keyClicks(&w.filter(), "hello");
    EXPECT_EQ(w.shownNames(), Names{"prompt.1"});
    w.filter().clear();
    EXPECT_EQ(w.shownNames().size(), 4u);

    // A double-click brings the field's page, its page selector's page and
    // its control to the front.
    doubleClickRow(w.table(), "prompt.1");
    EXPECT_TRUE(get<QWidget>("panPE")->isVisible());
    EXPECT_TRUE(get<QWidget>("edtPrompt1")->hasFocus());
    doubleClickRow(w.table(), "capcode.9");
    EXPECT_TRUE(get<QWidget>("panCF")->isVisible());
    EXPECT_FALSE(get<QWidget>("panPE")->isVisible());
    EXPECT_EQ(combo("cboCCPage")->currentIndex(), 1) << "capcode 9 is on the second capcode page";
    EXPECT_EQ(get<QLabel>("lblCCode0")->text(), "Cap #9");
    EXPECT_TRUE(get<QWidget>("edtCap0")->hasFocus());
    win().commitEditing();  // the box, emptied for typing as it took the focus, shows its capcode again
    EXPECT_EQ(get<QLineEdit>("edtCap0")->text(), "0000909");
    EXPECT_TRUE(image() == before);

    // A file that is no table file is refused as Open refuses it; the list stays.
    WriteFile(workingDir / "short.tbl", "not a table");
    nextOpen = QString::fromStdString((workingDir / "short.tbl").string());
    menu("mnuCompareWith");
    EXPECT_EQ(notifier.keys(), Names{"Msg61"});
    EXPECT_EQ(w.windowTitle(), "Compare - theirs.tbl");
    EXPECT_EQ(w.shownNames().size(), 4u);
    EXPECT_TRUE(image() == before);
}

TEST_F(CompareWindowTest, ThePagerIsReadIntoAScratchImageAndListedAsAWriteWouldChangeIt) {
    const ConfigImage mine = SampleImage();
    const ConfigImage pager = With(mine, {{"capcode.1", "0000300"}, {"contrast", "7"}});
    // Its own serial number and firmware: a write keeps them, so they are no change.
    Boardsim board({"--serial", "PAGER0000042", "--firmware", "12", "--identity", "ZR-V41K"});
    writeWithCli(board, pager);
    startWith(board);
    openTable(mine);
    const ConfigImage before = image();
    const std::size_t mark = board.log().size();

    menu("mnuComparePager");
    EXPECT_FALSE(form1().isVisible()) << "the programming window closed after its read";
    CompareWindow& w = compare();
    ASSERT_TRUE(w.isVisible());
    // The image checksum follows the contrast; nothing else differs.
    EXPECT_EQ(fieldsAndRegions(w.shownNames()), (std::pair<Names, Names>{{"capcode.1", "contrast"}, {"checksum"}}));
    EXPECT_EQ(headings(w.table()), (Names{"Field", "This configuration", "The pager"}));
    EXPECT_EQ(cells(w.table(), 0), (Names{"capcode.1", Shown("capcode.1", mine), "0000300"}));
    EXPECT_EQ(cells(w.table(), 1), (Names{"contrast", Shown("contrast", mine), "7"}));
    EXPECT_TRUE(image() == before) << "the document is not the pager's now";
    EXPECT_FALSE(win().document().modified());
    EXPECT_FALSE(boardWrote(board, mark));
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(CompareWindowTest, AFailedVerifyListsTheDifferingFieldsInTheProgrammingWindow) {
    // German prompts: the pager holds the texts in its own character set,
    // the list shows them as the window does.
    const ConfigImage mine = With(SampleImage(), {{"prompt.1", "Grüße"}});
    ASSERT_EQ(Shown("prompt.language", mine), "German");
    const ConfigImage pager = With(mine, {{"capcode.1", "0000300"}, {"prompt.1", "Gruss"}});
    Boardsim board(pagerWith(pager));
    startWith(board);
    openTable(mine);
    const int designedHeight = form1().height();

    auto* list = form1().findChild<QTableWidget*>("grdDifferences");
    ASSERT_NE(list, nullptr);
    Names first, second;
    bool grown = false;
    exitProgrammingWindow([&] {
        EXPECT_EQ(status(), "  Verify Error!");
        ASSERT_TRUE(list->isVisible());
        grown = form1().height() > designedHeight && list->geometry().bottom() < form1().height();
        EXPECT_EQ(headings(*list), (Names{"Field", "This configuration", "The pager"}));
        ASSERT_GE(list->rowCount(), 2);
        first = cells(*list, 0);
        second = cells(*list, 1);
    });
    menu("mnuVerfy");
    EXPECT_TRUE(grown) << "the window grows to show the list";
    EXPECT_EQ(first, (Names{"capcode.1", Shown("capcode.1", mine), "0000300"}));
    EXPECT_EQ(second, (Names{"prompt.1", Shown("prompt.1", mine), Shown("prompt.1", pager)}));
    EXPECT_NE(second[1].find("Grüße"), std::string::npos);
    // The OTA window's memo still gets the addresses.
    EXPECT_TRUE(app_->companions().frmOTA->memo1().toPlainText().startsWith(":"));

    // The next showing starts without the list.
    bool hidden = false;
    exitProgrammingWindow([&] { hidden = !list->isVisible() && form1().height() == designedHeight; });
    menu("mnuRead");
    EXPECT_TRUE(hidden);
}

TEST_F(CompareWindowTest, WriteShowsWhatWillChangeFirstWhenAskedAndCancelWritesNothing) {
    const ConfigImage mine = SampleImage();
    const ConfigImage pager = With(mine, {{"capcode.1", "0000300"}, {"contrast", "7"}});
    Boardsim board({"--serial", "PAGER0000042", "--identity", "ZR-V41K"});
    writeWithCli(board, pager);
    startWith(board);
    openTable(mine);
    QAction& option = *win().action("mnuShowChanges");
    EXPECT_FALSE(option.isChecked()) << "off until the user asks for it";
    option.trigger();
    get<QRadioButton>("RBtWrite")->click();
    const ConfigImage held = board.memory();
    const std::size_t mark = board.log().size();

    Names listed;
    whenReady([this] { return compare().isVisible() && compare().isModal(); }, [&] {
        listed = compare().shownNames();
        EXPECT_FALSE(form1().isVisible());
        compareButton("btnCmpCancel").click();
    });
    menu("mnuWrite");
    EXPECT_EQ(fieldsAndRegions(listed), (std::pair<Names, Names>{{"capcode.1", "contrast"}, {"checksum"}}));
    EXPECT_FALSE(boardWrote(board, mark)) << "Cancel writes nothing";
    EXPECT_TRUE(board.memory() == held);

    whenReady([this] { return compare().isVisible() && compare().isModal(); },
              [this] { compareButton("btnCmpWrite").click(); });
    exitProgrammingWindow([this] { EXPECT_EQ(status(), "  Write Success!"); });
    menu("mnuWrite");
    EXPECT_EQ(CapcodeAt(board.memory(), 0), CapcodeAt(mine, 0));
    EXPECT_EQ(Shown("contrast", board.memory()), Shown("contrast", mine));
    EXPECT_TRUE(notifier.shown.empty());

    // The choice is remembered for the next start.
    app_.reset();
    options.probeBoard = false;
    start();
    EXPECT_TRUE(win().action("mnuShowChanges")->isChecked());
}

}  // namespace
}  // namespace zrv::test
