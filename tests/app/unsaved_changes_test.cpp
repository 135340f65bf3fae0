// A dealer's changes are never lost without a question: the caption marks a
// changed document, closing or opening another file asks "Save changes to
// ...?", every change can be undone and redone byte for byte, and the file
// dialogs start where the user's files are.
#include <QTest>

#include "app/edit_history.h"
#include "core/default_image.h"
#include "core/document.h"
#include "core/field_table.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

using Choice = Notifier::SaveChoice;

class UnsavedChangesTest : public WindowTest {
protected:
    /// Clicks into \p box (which empties it), types \p text and leaves it with Tab.
    void typeInto(const char* name, const char* text) {
        QLineEdit& box = *get<QLineEdit>(name);
        ClickInto(win(), box);
        QTest::keyClicks(&box, QString::fromLatin1(text));
        QTest::keyClick(&box, Qt::Key_Tab);
        QApplication::processEvents();
    }
    /// Chooses an item and lets the change be noted.
    void chooseItem(const char* name, int index) {
        choose(combo(name), index);
        QApplication::processEvents();
    }
    void trigger(QAction& action) {
        action.trigger();
        QApplication::processEvents();
    }
    std::string shown(const ConfigImage& image, const char* field) {
        return FindField(field)->get(image, ContextAfterOpen(image));
    }
    /// A valid table file at \p path.
    void writeTable(const std::filesystem::path& path) {
        Document table(StartupImage());
        ASSERT_FALSE(table.saveAs(path).has_value());
    }
};

TEST_F(UnsavedChangesTest, AChangedDocumentIsNeitherClosedNorReplacedWithoutAsking) {
    const auto defaultTable = programDir / "default.tbl";
    writeTable(workingDir / "other.tbl");
    nextOpen = QString::fromStdString((workingDir / "other.tbl").string());
    const struct {
        Choice answer;
        bool goesOn;
        bool saved;
    } cases[] = {{Choice::Cancel, false, false}, {Choice::Discard, true, false}, {Choice::Save, true, true}};
    for (const auto& c : cases) {
        for (const bool byClose : {true, false}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(c.answer) << (byClose ? " close" : " open"));
            std::filesystem::remove(defaultTable);
            start();
            EXPECT_FALSE(win().isWindowModified());
            typeInto("edtCap1", "1234599");
            ASSERT_TRUE(win().document().modified()) << shown(image(), "capcode.2") << " " << get<QLineEdit>("edtCap1")->text().toStdString() << " keys " << testing::PrintToString(notifier.keys());
            EXPECT_TRUE(win().isWindowModified());
            EXPECT_TRUE(win().windowTitle().contains("[*]"));
            const ConfigImage edited = image();
            notifier.clear();
            notifier.saveChoices = {c.answer};
            openDialogs = 0;
            if (byClose)
                EXPECT_EQ(win().close(), c.goesOn);
            else
                trigger(*win().action("mnuOpen"));
            ASSERT_EQ(notifier.asked.size(), 1u);
            EXPECT_EQ(notifier.asked[0].key, "MsgSaveChanges");
            EXPECT_EQ(notifier.asked[0].args, std::vector<std::string>{"default.tbl"});
            EXPECT_EQ(std::filesystem::exists(defaultTable), c.saved);
            if (c.saved) {
                Document saved;
                ASSERT_TRUE(saved.open(defaultTable).ok);
                EXPECT_EQ(shown(saved.image(), "capcode.2"), "1234599");
            }
            if (!c.goesOn) EXPECT_EQ(image(), edited);  // Cancel leaves everything as it was
            if (!byClose) {
                EXPECT_EQ(openDialogs, c.goesOn ? 1 : 0);  // asked before the dialog
                EXPECT_EQ(win().document().fileName(), c.goesOn ? workingDir / "other.tbl" : defaultTable);
            }
            app_.reset();
        }
    }
}

TEST_F(UnsavedChangesTest, UndoAndRedoGiveTheBytesOfEachStep) {
    start();
    // A capcode, a band with its baud rate and preset frequency, and a
    // prompt language with its prompts and logo: one step each.
    std::vector<ConfigImage> images{image()};
    typeInto("edtCap1", "1234599");
    images.push_back(image());
    chooseItem("cboFreq", 1);
    images.push_back(image());
    chooseItem("cboLng", 0);
    images.push_back(image());
    for (std::size_t k = 1; k < images.size(); ++k) ASSERT_NE(images[k], images[k - 1]) << k;
    EXPECT_EQ(win().history().undoAction().text(), "Undo prompt language");

    for (std::size_t k = images.size() - 1; k > 0; --k) {
        trigger(win().history().undoAction());
        EXPECT_EQ(image(), images[k - 1]) << "undo to step " << k - 1;
    }
    EXPECT_FALSE(win().document().modified());
    EXPECT_FALSE(win().history().undoAction().isEnabled());
    for (std::size_t k = 1; k < images.size(); ++k) {
        trigger(win().history().redoAction());
        EXPECT_EQ(image(), images[k]) << "redo to step " << k;
    }
    // Saved, it is unchanged; an undo after the save changes it again.
    trigger(*win().action("mnuSave"));
    EXPECT_FALSE(win().document().modified());
    trigger(win().history().undoAction());
    EXPECT_TRUE(win().document().modified());
    EXPECT_EQ(shown(image(), "prompt.language"), shown(images[2], "prompt.language"));
}

TEST_F(UnsavedChangesTest, FileDialogsStartInTheOpenFilesFolderElseTheLastUsedElseTheFirst) {
    QStringList folders;
    options.firstDialogFolder = QString::fromStdString(workingDir.path().string());
    options.openDialog = [&](QWidget*, const QString& folder) {
        folders << folder;
        return nextOpen;
    };
    std::filesystem::create_directory(workingDir / "ward3");
    writeTable(workingDir / "ward3" / "pager.tbl");
    start();
    nextOpen = QString::fromStdString((workingDir / "ward3" / "pager.tbl").string());
    trigger(*win().action("mnuOpen"));  // no file of the user's, none used: the first folder
    trigger(*win().action("mnuOpen"));  // the open file's folder
    app_.reset();
    start();
    nextOpen.clear();
    trigger(*win().action("mnuOpen"));  // the default table is open: the last folder used
    const QString first = QString::fromStdString(workingDir.path().string());
    const QString ward = QString::fromStdString((workingDir / "ward3").string());
    EXPECT_EQ(folders, (QStringList{first, ward, ward}));
}

}  // namespace
}  // namespace zrv::test
