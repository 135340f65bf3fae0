// The UI text editor as a user works it: opened from Tools, a cell edited
// and applied, the texts exchanged as a .lang file, the factory texts
// restored, the rows searched, the window resized.
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"
#include "i18n/ui/text_editor_window.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class TextEditorWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // The program runs in its own folder: the editor's files and the
        // main window's language file are the same.
        options.workingFolder = programDir.path();
        std::filesystem::copy_file(SourceDir() / "i18n" / i18n::kDefaultCatalogueName,
                                   programDir / i18n::kDefaultCatalogueName);
        std::filesystem::copy_file(SourceDir() / "i18n" / i18n::kDefaultCatalogueName,
                                   programDir / i18n::kLanguageFileName);
    }
    i18n::ui::TextEditorWindow& editor() { return *app_->companions().frmLang; }
    QTableWidget& grid() { return *editor().findChild<QTableWidget*>("StringGrid1"); }
    /// Opens the editor from Tools > Edit Language File, runs \p act while
    /// it is shown; \p act closes it (or it is closed by its border).
    void withEditor(const std::function<void()>& act) {
        bool ran = false;
        QTimer::singleShot(0, &editor(), [&] {
            ran = true;
            act();
            if (editor().isVisible()) editor().done(QDialog::Rejected);  // never left hanging
        });
        win().action("mnuEditLang")->trigger();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(editor().isVisible());
    }
    int rowOf(const char* key) {
        for (int r = 0; r < grid().rowCount(); ++r)
            if (grid().item(r, 1) && grid().item(r, 1)->text() == key) return r;
        ADD_FAILURE() << key;
        return 0;
    }
    /// Types \p text into the Current cell of \p row as a user does: select
    /// the cell, start editing with F2, replace the text, press Enter.
    void editCurrent(int row, const QString& text) {
        editor().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor()));
        grid().setCurrentCell(row, 3);
        grid().setFocus();
        QTest::keyClick(&grid(), Qt::Key_F2);
        QWidget* editorBox = QApplication::focusWidget();
        ASSERT_NE(editorBox, nullptr);
        ASSERT_TRUE(grid().isAncestorOf(editorBox));  // the cell's own edit box
        QTest::keyClick(editorBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editorBox, Qt::Key_Delete);
        QTest::keyClicks(editorBox, text);
        QTest::keyClick(editorBox, Qt::Key_Return);
        QApplication::processEvents();  // the view commits the cell's edit queued
    }
    std::string fileValue(const char* section, const char* key) {
        return i18n::ProfileFile((programDir / i18n::kLanguageFileName).string()).readString(section, key, "?");
    }
};

TEST_F(TextEditorWindowTest, AnEditAppliedChangesTheFileAndTheMainWindowAtOnce) {
    start();
    QAction* entry = win().action("mnuEditLang");
    EXPECT_EQ(entry->shortcut(), QKeySequence("Ctrl+L"));
    EXPECT_TRUE(win().findChild<QMenu*>("mnuTools")->menuAction()->isVisible());
    withEditor([&] {
        EXPECT_EQ(editor().windowTitle(), "UI Text Edit");
        EXPECT_GT(grid().rowCount(), 1000);
        const int row = rowOf("btnSelect");
        EXPECT_EQ(grid().item(row, 0)->text(), QString::number(row + 1));
        EXPECT_EQ(grid().item(row, 2)->text(), "Alert Length Select");
        EXPECT_FALSE(grid().item(row, 2)->flags() & Qt::ItemIsEditable);
        editCurrent(row, "Choose Alert Lengths");
        editor().findChild<QPushButton*>("btnApply")->click();
    });
    EXPECT_EQ(fileValue("English", "btnSelect"), "Choose Alert Lengths");
    EXPECT_EQ(win().findChild<QPushButton*>("btnSelect")->text(), "Choose Alert Lengths");
    EXPECT_TRUE(notifier.asked.empty());
}

TEST_F(TextEditorWindowTest, ClosingWithAnEditAsksAndANoKeepsTheWindowOpen) {
    start();
    withEditor([&] {
        editCurrent(rowOf("btnSelect"), "Never stored");
        notifier.answers = {false, true};
        editor().close();  // the border: asked, "No"
        EXPECT_TRUE(editor().isVisible());
        editor().close();  // asked again, "Yes"
        EXPECT_FALSE(editor().isVisible());
    });
    ASSERT_EQ(notifier.asked.size(), 2u);
    EXPECT_EQ(notifier.asked[0].english, "Discard the changes?");
    EXPECT_EQ(fileValue("English", "btnSelect"), "Alert Length Select");
}

TEST_F(TextEditorWindowTest, SaveAsAndLoadExchangeTheTextsAndAnUnreadableFileShowsMsg62) {
    start();
    const auto lang = programDir / "mine.lang";
    editor().saveDialog = [&](QWidget*, const QString&) { return QString::fromStdString((programDir / "mine").string()); };
    editor().openDialog = [&](QWidget*, const QString&) { return QString::fromStdString(lang.string()); };
    withEditor([&] {
        editCurrent(4, "");  // an empty text
        editCurrent(5, "transmit success  ");
        editor().findChild<QPushButton*>("btnSave")->click();
        notifier.answers = {true};
        editor().close();  // the edits were saved to the file only: discard them here
    });
    const std::string bytes = ReadFile(lang);  // the suffix was added
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.find("\r\n        \r\ntransmit success  \t\r\n"), std::string::npos);

    withEditor([&] {
        editor().findChild<QPushButton*>("btnLoad")->click();  // stored at once
        // Stored into Language.ini at once and shown as the file now holds them.
        EXPECT_TRUE(grid().item(4, 3)->text().trimmed().isEmpty());
        EXPECT_TRUE(grid().item(5, 3)->text().startsWith("transmit success"));
        EXPECT_EQ(fileValue("English", grid().item(5, 1)->text().toStdString().c_str()).substr(0, 16), "transmit success");
        std::filesystem::remove(lang);
        editor().findChild<QPushButton*>("btnLoad")->click();
        editor().close();
    });
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].key, "Msg62");
    EXPECT_EQ(notifier.shown[0].caption, "KIRV");
}

TEST_F(TextEditorWindowTest, LoadDefaultAsksFirstAndOnYesRestoresTheFactoryTextsAndTheLanguageMark) {
    start();
    ASSERT_TRUE(i18n::ProfileFile((programDir / i18n::kLanguageFileName).string())
                    .writeString(i18n::kSettingSection, i18n::kLanguageKey, i18n::kEnglish));
    ASSERT_TRUE(i18n::ProfileFile((programDir / i18n::kLanguageFileName).string())
                    .writeString("English", "btnSelect", "Edited"));
    const std::string edited = ReadFile(programDir / i18n::kLanguageFileName);
    notifier.answers = {false, true};
    withEditor([&] {
        // "No": the file, the backup and the window stay as they were.
        editor().findChild<QPushButton*>("btnLoadDef")->click();
        EXPECT_TRUE(editor().isVisible());
        EXPECT_EQ(ReadFile(programDir / i18n::kLanguageFileName), edited);
        EXPECT_FALSE(std::filesystem::exists(programDir / "Language.bak"));
        // "Yes": the factory texts replace the file and the window closes.
        editor().findChild<QPushButton*>("btnLoadDef")->click();
        EXPECT_FALSE(editor().isVisible());
    });
    ASSERT_EQ(notifier.asked.size(), 2u);
    EXPECT_EQ(notifier.asked[1].key, "MsgLoadDefaultAsk");
    EXPECT_EQ(notifier.asked[1].icon, MsgIcon::Question);
    EXPECT_EQ(ReadFile(programDir / "Language.bak"), edited);
    EXPECT_EQ(fileValue("English", "btnSelect"), "Alert Length Select");
    EXPECT_TRUE(std::filesystem::exists(programDir / "Language.bak"));
    EXPECT_TRUE(win().action("mnuEnglish")->isChecked());
    EXPECT_EQ(win().findChild<QPushButton*>("btnSelect")->text(), "Alert Length Select");
}

TEST_F(TextEditorWindowTest, SearchShowsTheMatchingRowsAndResizingScalesEveryControl) {
    start();
    withEditor([&] {
        auto* search = editor().findChild<QLineEdit*>("edtSearch");
        QTest::keyClicks(search, "alert length");
        int shown = 0;
        for (int r = 0; r < grid().rowCount(); ++r) shown += grid().isRowHidden(r) ? 0 : 1;
        EXPECT_GE(shown, 2);
        EXPECT_LT(shown, 20);
        EXPECT_FALSE(grid().isRowHidden(rowOf("btnSelect")));
        search->clear();
        EXPECT_FALSE(grid().isRowHidden(0));

        auto* apply = editor().findChild<QPushButton*>("btnApply");
        const QRect before = apply->geometry();
        const int points = apply->font().pointSize();
        editor().resize(2 * 767, 2 * 487);
        QApplication::processEvents();
        EXPECT_EQ(apply->geometry(), QRect(2 * before.x(), 2 * before.y(), 2 * before.width(), 2 * before.height()));
        EXPECT_EQ(apply->font().pointSize(), 2 * points);
        editor().resize(767, 487);
        editor().close();
    });
}

}  // namespace
}  // namespace zrv::test
