// Help > User Guide and F1: the guide in its window, its pictures and links,
// the section of the page or window in front, and a guide that is missing.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextFragment>

#include "app/help_commands.h"
#include "app/log_commands.h"
#include "editors/help_window.h"
#include "log/ui/programming_log_window.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class HelpTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        options.userGuide = SourceDir() / "docs" / "user-guide.md";
    }
    HelpWindow& guide() {
        HelpWindow* w = app_->help().window();
        if (!w) throw std::logic_error("the guide's window was never made");
        return *w;
    }
    /// The text of the line at the top of the guide's view.
    QString lineAtTop() {
        QApplication::processEvents();
        return guide().browser().cursorForPosition(QPoint(8, 8)).block().text();
    }
    void pressF1(QWidget& where) {
        QTest::keyClick(&where, Qt::Key_F1);
        QApplication::processEvents();
    }
};

TEST_F(HelpTest, TheMenuOpensTheGuideWithItsPicturesLinksAndFind) {
    start();
    app_->help().guideAction().trigger();
    ASSERT_TRUE(guide().isVisible());
    EXPECT_EQ(guide().windowTitle(), "User Guide");
    EXPECT_EQ(lineAtTop(), "zrv41k: user guide");
    QTextBrowser& text = guide().browser();
    // The pictures lie beside the guide and are found.
    const QVariant picture = text.loadResource(QTextDocument::ImageResource, QUrl("page-freq-codes.png"));
    EXPECT_FALSE(picture.isNull());
    // Every page and window that F1 knows has its heading.
    for (const app::HelpSection& s : app::HelpSections())
        EXPECT_TRUE(guide().anchors().contains(QLatin1String(s.anchor))) << s.name << " #" << s.anchor;

    // A click on a link of the contents brings its section to the top.
    QTextCursor link;
    for (QTextBlock b = text.document()->begin(); b.isValid() && link.isNull(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorHref() == "#the-programming-log") {
                link = QTextCursor(text.document());
                link.setPosition(it.fragment().position() + 1);
                break;
            }
    ASSERT_FALSE(link.isNull()) << "the contents link to the programming log";
    text.setTextCursor(link);
    text.ensureCursorVisible();
    QTest::mouseClick(text.viewport(), Qt::LeftButton, {}, text.cursorRect(link).center());
    EXPECT_EQ(lineAtTop(), "The programming log");

    // Ctrl+F, a word, Enter: the next place is selected; a word the guide
    // lacks is said.
    QTest::keyClick(&text, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(guide().findBox().hasFocus());
    QTest::keyClicks(&guide().findBox(), "dialout");
    QTest::keyClick(&guide().findBox(), Qt::Key_Return);
    EXPECT_EQ(text.textCursor().selectedText(), "dialout");
    guide().findBox().clear();
    QTest::keyClicks(&guide().findBox(), "qwertzuiop");
    QTest::keyClick(&guide().findBox(), Qt::Key_Return);
    EXPECT_EQ(guide().findChild<QLabel*>("lblGuideFind")->text(), "Not found");
}

TEST_F(HelpTest, F1OnAPageOpensThatPagesSection) {
    start();
    const struct {
        const char* selector;
        const char* heading;
    } pages[] = {{"sedtAS", "The Alerts & Status page"}, {"sedtPE", "The Prompts Edit page"},
                 {"sedtSP", "The Source Prompts page"},  {"sedtMT", "The Music & Tone page"},
                 {"staticEncryF", "The AES Encryption page"}, {"sedtFC", "The Freq. & Codes page"}};
    for (const auto& p : pages) {
        SCOPED_TRACE(p.selector);
        QTest::mouseClick(get<QLabel>(p.selector), Qt::LeftButton);
        pressF1(*get<QLineEdit>("Edit1"));
        ASSERT_TRUE(guide().isVisible());
        EXPECT_EQ(lineAtTop(), p.heading);
    }
}

TEST_F(HelpTest, F1InAWindowBesideTheMainWindowOpensItsSection) {
    start();
    win().action("mnuProgLog")->trigger();
    QApplication::processEvents();
    pressF1(app_->logCommands().window());
    EXPECT_EQ(lineAtTop(), "The programming log");
}

TEST_F(HelpTest, AMissingGuideIsSaidAndNothingOpens) {
    options.userGuide = programDir / "help" / "user-guide.md";
    start();
    app_->help().guideAction().trigger();
    pressF1(*get<QLineEdit>("Edit1"));
    std::vector<Message> missing;
    for (const Message& m : notifier.shown)
        if (m.key == "MsgGuideMissing") missing.push_back(m);
    ASSERT_EQ(missing.size(), 2u);  // the menu and F1
    EXPECT_NE(missing[0].args.at(0).find(options.userGuide.string()), std::string::npos);
    ASSERT_NE(app_->help().window(), nullptr);
    EXPECT_FALSE(guide().isVisible());
}

}  // namespace
}  // namespace zrv::test
