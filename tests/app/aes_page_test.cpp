// The "AES Encryption" page as a user works it: key edits padded on
// leaving and kept across a load, the key lists of the capcodes and their
// page selector, and the serial-number fields of a blank image.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTest>

#include "core/default_image.h"
#include "core/table_file.h"
#include "editors/control_names.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class AesPageTest : public WindowTest {
protected:
    void startOnPage() {
        start();
        win().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&win()));
        QTest::mouseClick(get<QLabel>("staticEncryF"), Qt::LeftButton);
        ASSERT_EQ(win().pages().currentPanel()->objectName(), "panAES");
    }
    void click(QCheckBox* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }
    QLineEdit& key(int k) { return win().require(ctl::family::edtAESKey, k); }
    QComboBox& list(int tag) { return win().require(ctl::family::cboAESKey, tag); }
    /// Clicks into the edit, replaces its text by \p text and leaves it with \p leave.
    void typeInto(QLineEdit& edit, const QString& text, Qt::Key leave) {
        QTest::mouseClick(&edit, Qt::LeftButton);
        ASSERT_TRUE(edit.hasFocus());
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QTest::keyClicks(&edit, text);
        QTest::keyClick(&edit, leave);
        QApplication::processEvents();
    }
    std::string keyBytes(int k) {
        const auto r = image().range(0x1100 + 16 * static_cast<std::size_t>(k), 16);
        return {r.begin(), r.end()};
    }
    void open(const std::function<void(ConfigImage&)>& edit) {
        ConfigImage made = StartupImage();
        edit(made);
        const auto path = workingDir / "keys.tbl";
        ASSERT_FALSE(SaveTableFile(path, made, 16).has_value());
        nextOpen = QString::fromStdString(path.string());
        win().action("mnuOpen")->trigger();
        ASSERT_TRUE(notifier.shown.empty());
    }
};

TEST_F(AesPageTest, LeavingAKeyPadsItToSixteenCharactersAndStoresIt) {
    startOnPage();
    typeInto(key(2), "k3y", Qt::Key_Tab);
    EXPECT_EQ(keyBytes(2), "k3y             ");  // 0x1120..0x112F
    EXPECT_EQ(key(2).text(), "k3y             ");
    EXPECT_FALSE(key(2).hasFocus());

    // Enter is swallowed and commits the key through the focus sink.
    typeInto(key(5), "0123456789abcdef", Qt::Key_Return);
    EXPECT_EQ(keyBytes(5), "0123456789abcdef");
    EXPECT_TRUE(get<QLineEdit>("Edit1")->hasFocus());
    typeInto(key(5), "", Qt::Key_Tab);  // an emptied key stores sixteen blanks
    EXPECT_EQ(keyBytes(5), std::string(16, ' '));
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(AesPageTest, AKeyTheImageCannotHoldIsRefusedAndTheTypedTextStays) {
    startOnPage();
    // Typed: the character is not typed, the message says why.
    QTest::mouseClick(&key(1), Qt::LeftButton);
    QTest::keyClicks(&key(1), "ab");
    QKeyEvent han(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\xE6\xBC\xA2"));
    QApplication::sendEvent(&key(1), &han);
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"MsgKeyText"});
    EXPECT_EQ(key(1).text(), "ab");
    QTest::keyClick(&key(1), Qt::Key_Tab);
    EXPECT_EQ(keyBytes(1), "ab              ");
    // Pasted: leaving the key refuses it, nothing is stored, the focus comes back.
    notifier.clear();
    QApplication::clipboard()->setText(QString::fromUtf8("x\xE6\xBC\xA2"));
    QTest::mouseClick(&key(1), Qt::LeftButton);
    const ConfigImage typed = image();
    QTest::keyClick(&key(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&key(1), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&key(1), Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"MsgKeyText"});
    EXPECT_TRUE(image() == typed);
    EXPECT_EQ(key(1).text(), QString::fromUtf8("x\xE6\xBC\xA2"));
    EXPECT_TRUE(key(1).hasFocus());
}

TEST_F(AesPageTest, KeyEditsKeepWhatWasTypedAcrossALoad) {
    startOnPage();
    EXPECT_EQ(key(0).text(), "ABCDEFGHIJKLMNOP");  // the placeholder of the first key
    typeInto(key(3), "typed", Qt::Key_Tab);
    open([](ConfigImage& i) { i.fill(0x1100, 0x100, 'Z'); });
    EXPECT_EQ(keyBytes(3), std::string(16, 'Z'));  // the image holds the file's keys
    EXPECT_EQ(key(3).text(), "typed           ");  // the edit keeps what was typed
    EXPECT_EQ(key(0).text(), "ABCDEFGHIJKLMNOP");
    EXPECT_TRUE(key(7).text().isEmpty());

    // Passing through the edits without typing keeps the file's keys.
    QTest::mouseClick(&key(0), Qt::LeftButton);
    for (int k = 0; k < 16; ++k) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    for (int k = 0; k < 16; ++k) EXPECT_EQ(keyBytes(k), std::string(16, 'Z')) << k;
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(AesPageTest, KeyListsStoreTheirChoiceAndThePageSelectorRefillsThem) {
    startOnPage();
    EXPECT_FALSE(box("chkAESEN")->isChecked());  // the default image has AES off
    EXPECT_FALSE(list(0).isEnabled());
    click(box("chkAESEN"));
    EXPECT_TRUE(list(0).isEnabled());
    choose(&list(6), 5);  // cboAESKey06: capcode 2, function bit C, "Key 5"
    EXPECT_EQ(image().byte(0x1006), 5);
    choose(&list(31), 16);
    EXPECT_EQ(image().byte(0x101F), 16);

    image().setByte(0x1000, 0xFF);
    image().setByte(0x1001, 3);
    image().setByte(0x1006, 0);
    win().refreshAll();
    EXPECT_EQ(list(6).currentText(), "Key 5");  // the refresh leaves the lists alone
    choose(combo("cboECPage"), 0);
    EXPECT_EQ(list(0).currentText(), "Disable");
    EXPECT_EQ(list(1).currentText(), "Key 3");
    EXPECT_EQ(list(6).currentText(), "Disable");
    EXPECT_TRUE(list(0).isEnabled());

    click(box("chkAESEN"));  // AES off: the lists follow at once
    EXPECT_EQ(image().GetImageBits(0x458, 1, 1), 1u);
    for (int tag = 0; tag < 32; ++tag) EXPECT_FALSE(list(tag).isEnabled()) << tag;
    choose(combo("cboECPage"), 0);  // and stay so when the page selector runs
    for (int tag = 0; tag < 32; ++tag) EXPECT_FALSE(list(tag).isEnabled()) << tag;
    click(box("chkAESEN"));
    EXPECT_TRUE(list(17).isEnabled());

    // Write mode locks them whatever the refresh brings.
    click(box("chkAESEN"));
    get<QRadioButton>("RBtWrite")->click();
    image().SetImageBits(0x458, 1, 0, 1);
    win().refreshAll();
    EXPECT_TRUE(box("chkAESEN")->isChecked());
    EXPECT_FALSE(list(17).isEnabled());
    get<QRadioButton>("RBtModify")->click();
    EXPECT_TRUE(list(17).isEnabled());
    EXPECT_EQ(get<QLabel>("lblECAP0")->text(), "Capcode 1 Function Bit");
    EXPECT_EQ(get<QLabel>("lblECAP7")->text(), "Capcode 8 Function Bit");
}

TEST_F(AesPageTest, ALanguageCaptionWithAPlaceholderGetsTheCapcodeNumber) {
    WriteFile(workingDir / "Language.ini",
              "[Setting]\r\nLanguage=German\r\n"
              "[German]\r\nlblECAP2=Rufnummer %d Funktionsbit\r\n");
    startOnPage();
    EXPECT_EQ(get<QLabel>("lblECAP2")->text(), "Rufnummer 3 Funktionsbit");  // numbered from the start
    choose(combo("cboECPage"), 0);
    EXPECT_EQ(get<QLabel>("lblECAP2")->text(), "Rufnummer 3 Funktionsbit");
    EXPECT_EQ(get<QLabel>("lblECAP3")->text(), "Capcode 4 Function Bit");
    win().action("mnuEnglish")->trigger();  // the designed text is the format again
    EXPECT_EQ(get<QLabel>("lblECAP2")->text(), "Capcode 3 Function Bit");
}

TEST_F(AesPageTest, ABlankImageShowsTwoDigitsPerSerialNumberByte) {
    startOnPage();
    image().fill(0, kImageSize, 0xFF);
    win().refreshAll();
    EXPECT_EQ(get<QLineEdit>("edtSSN")->text(), QString(32, QLatin1Char('F')));
    EXPECT_EQ(get<QLineEdit>("edtPSN")->text(), QString(24, QLatin1Char('F')));
}

}  // namespace
}  // namespace zrv::test
