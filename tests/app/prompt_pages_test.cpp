// The pager's own texts as a user edits them: the menu prompts and their
// alignment on "Prompts Edit", the logo and the prompt language on "Alerts
// && Status", and the source texts of "Source Prompts".
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/prompts.h"
#include "editors/control_names.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class PromptPagesTest : public WindowTest {
protected:
    void openPage(const char* selector) {
        QTest::mouseClick(get<QLabel>(selector), Qt::LeftButton);
        QApplication::processEvents();
    }
    /// Clicks into the box (or selects its text when it kept the focus after
    /// a refusal), types \p text and leaves the box with Tab.
    void typeInto(QLineEdit& box, const QString& text) {
        if (!box.hasFocus()) ClickInto(win(), box);
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&box, text);
        QTest::keyClick(&box, Qt::Key_Tab);
        QApplication::processEvents();
    }
    QLineEdit& prompt(int tag) { return win().require(ctl::family::edtPrompt, tag); }
    std::string stored(std::size_t a) {
        const auto bytes = image().range(a + 2, image().byte(a + 1));
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(PromptPagesTest, APromptIsStoredWithItsSpacesAndATooLongOneIsRefused) {
    start();
    openPage("sedtPE");
    typeInto(prompt(1), "  HELLO");
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(image().byte(0x114) & 0x0F, 2);
    EXPECT_EQ(stored(0x114), "HELLO");
    EXPECT_EQ(prompt(1).text(), "  HELLO");

    typeInto(prompt(3), "HELLO");  // "BEEP", a prompt that keeps three more spaces
    EXPECT_EQ(image().byte(0x218) & 0x0F, 3);
    EXPECT_EQ(prompt(3).text(), "HELLO");

    const ConfigImage before = image();
    typeInto(prompt(1), QString(19, QLatin1Char('W')));
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg2"});
    EXPECT_TRUE(image() == before);
    EXPECT_EQ(prompt(1).text(), QString(19, QLatin1Char('W')));  // kept for a correction
    EXPECT_TRUE(prompt(1).hasFocus());
}

TEST_F(PromptPagesTest, AlignmentButtonsActOnThePromptEnteredLast) {
    start();
    openPage("sedtPE");
    const ConfigImage before = image();
    get<QPushButton>("btnCenter0")->click();  // no prompt entered yet: nothing happens
    EXPECT_TRUE(image() == before);
    // Typed, then the button clicked at once: leaving the box stores it, then
    // the button aligns it (Tab would enter the next prompt instead).
    QTest::mouseClick(&prompt(7), Qt::LeftButton);
    QTest::keyClick(&prompt(7), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&prompt(7), "HELLO");
    QTest::mouseClick(get<QPushButton>("btnCenter0"), Qt::LeftButton);
    EXPECT_EQ(prompt(7).text(), QString(8, QLatin1Char(' ')) + "HELLO");
    EXPECT_EQ(image().byte(0x1B4) & 0x0F, 8);
    QTest::mouseClick(get<QPushButton>("btnRight0"), Qt::LeftButton);
    EXPECT_EQ(image().byte(0x1B4) & 0x0F, 15);  // 16 spaces: one stays in front of the text
    EXPECT_EQ(stored(0x1B4), " HELLO");
    QTest::mouseClick(get<QPushButton>("btnLeft0"), Qt::LeftButton);
    EXPECT_EQ(prompt(7).text(), "HELLO");
    openPage("sedtAS");  // a page change forgets the prompt
    openPage("sedtPE");
    const ConfigImage aligned = image();
    get<QPushButton>("btnRight0")->click();
    EXPECT_TRUE(image() == aligned);
}

TEST_F(PromptPagesTest, LogoLargeFontCentresTheLogoInItsLength) {
    start();
    openPage("sedtAS");
    QLineEdit& logo = prompt(0);
    QCheckBox& large = win().require(ctl::chkLogoLargeFont);
    ASSERT_TRUE(large.isChecked());  // the default image's large logo font
    EXPECT_EQ(logo.maxLength(), 16);
    typeInto(logo, "HELLO");
    QTest::mouseClick(get<QPushButton>("btnRight1"), Qt::LeftButton);
    EXPECT_EQ(logo.text(), QString(11, QLatin1Char(' ')) + "HELLO");
    large.click();
    EXPECT_EQ(image().GetImageBits(0x2F, 3, 1), 1);  // 1 = regular font
    EXPECT_EQ(logo.maxLength(), 21);
    EXPECT_EQ(logo.text(), QString(8, QLatin1Char(' ')) + "HELLO");
    EXPECT_EQ(image().byte(0x100) & 0x0F, 8);
    large.click();
    EXPECT_EQ(logo.text(), QString(5, QLatin1Char(' ')) + "HELLO");
    // A logo whose leading spaces reach past the large box keeps every letter.
    large.click();
    typeInto(logo, "   ABCDEFGHIJKLMN");
    large.click();
    EXPECT_EQ(logo.text(), " ABCDEFGHIJKLMN");
    EXPECT_EQ(stored(0x100), "ABCDEFGHIJKLMN");
    EXPECT_EQ(image().byte(0x100) & 0x0F, 1);

    // A loaded image with the other font shows it without re-storing the logo.
    ConfigImage loaded = image();
    loaded.SetImageBits(0x2F, 3, 1, 1);
    image() = loaded;
    win().refreshAll();
    EXPECT_FALSE(large.isChecked());
    EXPECT_TRUE(image() == loaded);
}

TEST_F(PromptPagesTest, PromptLanguageLoadsItsSetAndCentresTheLogo) {
    start();
    choose(&win().require(ctl::cboLng), 4);  // Swedish: its code, the English texts
    EXPECT_EQ(image().byte(0x3E) & 0x0F, 15);
    EXPECT_EQ(image().byte(0x3A) & 0x0F, 15);
    EXPECT_EQ(prompt(1).text(), "      NO PAGES");
    EXPECT_EQ(prompt(0).text(), QString(5, QLatin1Char(' ')) + "TELORI");  // centred in 16
    EXPECT_EQ(stored(0x100), "TELORI");

    choose(&win().require(ctl::cboLogo), 2);  // French logo font
    EXPECT_EQ(image().byte(0x3F) & 0x0F, 6);
    image().setByte(0x3E, (image().byte(0x3E) & 0xF0) | 3);  // a code no item names
    win().refreshAll();
    EXPECT_EQ(win().require(ctl::cboLng).currentIndex(), 4);
}

TEST_F(PromptPagesTest, ALongLoadedPromptIsShownWholeAndKeptWhenLeftUnchanged) {
    start();
    openPage("sedtPE");
    ASSERT_TRUE(StorePromptText(image(), 1, std::string(15, ' ') + std::string(18, 'L')).ok);
    win().refreshAll();
    EXPECT_EQ(prompt(1).text(), QString(15, QLatin1Char(' ')) + QString(18, QLatin1Char('L')));
    const ConfigImage before = image();
    QTest::mouseClick(&prompt(1), Qt::LeftButton);
    win().commitEditing();
    EXPECT_TRUE(image() == before);
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(PromptPagesTest, SourceTextsOfTheSecondPage) {
    start();
    openPage("sedtSP");
    QCheckBox& enable = win().require(ctl::family::chkSource, 10);  // source 5: capcode 6, B
    QLineEdit& line = win().require(ctl::family::txtSource, 10);
    choose(&win().require(ctl::cboSource), 0);
    EXPECT_FALSE(enable.isEnabled());
    EXPECT_FALSE(win().require(ctl::cboSrcPage).isEnabled());
    choose(&win().require(ctl::cboSource), 1);
    EXPECT_EQ(image().byte(0x3B) & 0x60, 0x40);
    choose(&win().require(ctl::cboSrcPage), 1);
    EXPECT_EQ(enable.text(), "Cap #6: Source B");
    EXPECT_EQ(win().require(ctl::family::chkSource, 0).text(), "Cap #5: Source A");
    ASSERT_TRUE(enable.isEnabled());
    EXPECT_FALSE(line.isEnabled());
    enable.click();
    EXPECT_EQ(image().byte(0x7C2), 0x04);
    EXPECT_TRUE(line.isEnabled());
    EXPECT_TRUE(win().require(ctl::family::txtSource, 11).isEnabled());
    typeInto(line, "HI THERE");
    const std::size_t at = SourceLineOffset(1, 5, 0);
    EXPECT_EQ(std::string(image().range(at, 21).begin(), image().range(at, 21).end()), "HI THERE" + std::string(13, ' '));
    EXPECT_EQ(line.text(), "HI THERE" + QString(13, QLatin1Char(' ')));
    QTest::mouseClick(&line, Qt::LeftButton);  // entering drops the padding
    EXPECT_EQ(line.text(), "HI THERE");

    choose(&win().require(ctl::cboSrcPage), 0);
    EXPECT_FALSE(enable.isChecked());  // page 0's source 5 is off
    EXPECT_EQ(enable.text(), "Cap #2: Source B");
}

}  // namespace
}  // namespace zrv::test
