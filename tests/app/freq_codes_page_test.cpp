// The "Freq. && Codes" page as a user meets it: the frequency group and its
// PLL strip, the capcode slots and pages, the function bit and alert
// windows, the R/W password box and the alert-length strip.
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/alert_lengths.h"
#include "core/capcode_rules.h"
#include "core/capcodes.h"
#include "core/frequency.h"
#include "core/rw_password.h"
#include "core/table_file.h"
#include "editors/alert_window.h"
#include "editors/control_names.h"
#include "editors/function_bit_window.h"
#include "link/board_session.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class FreqCodesPageTest : public WindowTest {
protected:
    /// Clicks into the box (entering it; a box that kept the focus after a
    /// refusal has its text selected instead, so typing replaces it), types
    /// \p text and leaves the box with \p leave: Enter moves the focus to
    /// the focus sink, Tab to the next control. Then lets a refused box take
    /// its focus back.
    void typeInto(QLineEdit& box, const char* text, Qt::Key leave = Qt::Key_Return) {
        if (box.hasFocus())
            QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        else
            ClickInto(win(), box);
        QTest::keyClicks(&box, QString::fromUtf8(text));
        QTest::keyClick(&box, leave);
        QApplication::processEvents();
    }
    /// Opens a modal window with \p open, runs \p act on it while it is
    /// shown, then presses its OK button.
    void whileOpen(QDialog& window, const char* ok, const std::function<void()>& act,
                   const std::function<void()>& open) {
        bool ran = false;
        QTimer::singleShot(0, &window, [&] {
            ran = true;
            EXPECT_TRUE(window.isVisible());
            act();
            window.findChild<QPushButton*>(ok)->click();
        });
        open();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(window.isVisible());
    }
    QLineEdit& freq() { return win().require(ctl::edtFreq); }
    QLineEdit& cap(int slot) { return win().require(ctl::family::edtCap, slot); }
    QString label(ctl::Name<QLabel> name) { return win().require(name).text(); }
};

// Frequency group --------------------------------------------------------------------------

TEST_F(FreqCodesPageTest, FrequencyOnTheFineRasterIsStoredAndTheStripFollows) {
    start();
    EXPECT_TRUE(win().require(ctl::chkBand).isChecked());  // the default image's narrowband bit
    EXPECT_EQ(label(ctl::lblBfreq), "-------");
    typeInto(freq(), "1530025");
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(ChannelFrequency(image()), 1530025u);
    EXPECT_EQ(image().byte(0x0E), 2);
    EXPECT_EQ(image().byte(0x45A), 50);
    EXPECT_EQ(BaseFrequency(image()), 1300125u);
    EXPECT_EQ(freq().text(), "1530025");
    EXPECT_EQ(label(ctl::lblChannel), "2.5KHz");
    EXPECT_EQ(label(ctl::lblPLLN), "54DA80");
    EXPECT_EQ(label(ctl::lblPLLR), "082F11");
    EXPECT_EQ(label(ctl::lblINCD), "80");
    EXPECT_FALSE(freq().hasFocus());
}

TEST_F(FreqCodesPageTest, FrequencyOffTheRasterOrTheBandIsRefusedAndKeepsTheTypedText) {
    start();
    const ConfigImage before = image();
    typeInto(freq(), "1530010");
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg51"});
    EXPECT_EQ(notifier.shown[0].english, "Please input numeric between 0 - 25!");
    EXPECT_TRUE(image() == before);
    EXPECT_EQ(freq().text(), "1530010");  // typed text and focus stay for a correction
    EXPECT_TRUE(freq().hasFocus());

    notifier.clear();
    typeInto(freq(), "1800001");
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].key, "Msg50");
    EXPECT_EQ(notifier.shown[0].english, "Frequency setting error(1300000 < = Frequency < =1800000 )");
    EXPECT_TRUE(image() == before);
    EXPECT_TRUE(freq().hasFocus());

    notifier.clear();
    typeInto(freq(), "1800000");  // the limits are inclusive
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(ChannelFrequency(image()), 1800000u);
}

TEST_F(FreqCodesPageTest, FrequencyBoxFilterRefusesLettersButNotEditingKeys) {
    start();
    ClickInto(win(), freq());
    EXPECT_TRUE(freq().text().isEmpty());  // entering empties the box
    QTest::keyClicks(&freq(), "1530");
    for (const auto key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_End, Qt::Key_Delete, Qt::Key_Backspace})
        QTest::keyClick(&freq(), key);
    QTest::keyClick(&freq(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&freq(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(freq().text(), "153");
    EXPECT_EQ(QApplication::clipboard()->text(), "153");

    QTest::keyClicks(&freq(), "4x");
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg1"});
    EXPECT_EQ(freq().text(), "1530000");  // the stored frequency again; the x is not typed
    EXPECT_TRUE(freq().hasFocus());

    // Pasted over the whole text, text that is not a number: Msg1, the
    // stored value, nothing written.
    notifier.clear();
    const ConfigImage before = image();
    QApplication::clipboard()->setText("15a0000");
    QTest::keyClick(&freq(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&freq(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(freq().text(), "15a0000");
    QTest::keyClick(&freq(), Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg1"});
    EXPECT_EQ(freq().text(), "1530000");
    EXPECT_TRUE(image() == before);

    // Leaving the emptied box shows the stored value without a message.
    notifier.clear();
    ClickInto(win(), freq());
    win().commitEditing();
    EXPECT_EQ(freq().text(), "1530000");
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(FreqCodesPageTest, BandChangeForces1200BpsAndThePresetAndNarrowBandIsItsOwnBit) {
    start();
    choose(&win().require(ctl::baud), 2);  // 2400 bps
    ASSERT_EQ(BaudItemFromImage(image()), 2);
    choose(&win().require(ctl::cboFreq), 1);
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(BaudItemFromImage(image()), kBaud1200);
    EXPECT_EQ(win().require(ctl::baud).currentIndex(), kBaud1200);
    EXPECT_EQ(freq().text(), "4540125");
    EXPECT_EQ(ChannelFrequency(image()), 4540125u);
    EXPECT_EQ(label(ctl::lblBfreq), "4000000");
    EXPECT_EQ(label(ctl::lblChannel), "12.5KHz");
    EXPECT_EQ(win().state().bandText, "400-499MHz");

    // Band 2 writes no byte 0x0C: INCD shows the leftover high byte of band 1.
    choose(&win().require(ctl::cboFreq), 2);
    EXPECT_EQ(freq().text(), "9310125");
    EXPECT_EQ(label(ctl::lblINCD), "04");
    typeInto(freq(), "9310100");
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg51"});

    QCheckBox& narrow = win().require(ctl::chkBand);
    narrow.click();
    EXPECT_EQ(image().GetImageBits(0x457, 5, 1), 0);
    image().SetImageBits(0x457, 5, 1, 1);
    win().refreshAll();
    EXPECT_TRUE(narrow.isChecked());
}

// Capcodes ---------------------------------------------------------------------------------

TEST_F(FreqCodesPageTest, CapcodeBoxStoresTimesEightAndRefusesOutOfRange) {
    start();
    typeInto(cap(1), "42");
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(image().byte(0x1283), 0x00);
    EXPECT_EQ(image().byte(0x1284), 0x01);
    EXPECT_EQ(image().byte(0x1285), 0x50);
    EXPECT_EQ(cap(1).text(), "0000042");

    const ConfigImage before = image();
    for (const char* bad : {"6", "2097152"}) {
        notifier.clear();
        typeInto(cap(1), bad);
        ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg48"}) << bad;
        EXPECT_EQ(notifier.shown[0].english, "Please insert a number between 0000007 to 2097151 !");
        EXPECT_TRUE(image() == before) << bad;
        EXPECT_EQ(cap(1).text(), "0000042") << bad;  // the stored value again
        EXPECT_TRUE(cap(1).hasFocus()) << bad;
    }
    notifier.clear();
    typeInto(cap(2), "7");
    typeInto(cap(3), "2097151");
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(cap(2).text(), "0000007");
    EXPECT_EQ(CapcodeText(image(), 3), "2097151");

    ClickInto(win(), cap(4));
    QTest::keyClicks(&cap(4), "12-");
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg47"});
    EXPECT_EQ(cap(4).text(), "12");  // the refused character is not typed
}

TEST_F(FreqCodesPageTest, SecondPageNumbersItsSlotsAndStoresCapcodeNine) {
    start();
    EXPECT_EQ(win().require(ctl::family::lblCCode, 0).text(), "Cap #1");
    EXPECT_TRUE(win().require(ctl::family::chkEnCap, 0).isChecked());  // only capcode 1 is on
    EXPECT_FALSE(win().require(ctl::family::chkEnCap, 1).isChecked());
    choose(&win().require(ctl::cboCCPage), 1);
    EXPECT_EQ(win().state().capcodePage, 1);
    EXPECT_EQ(win().require(ctl::family::lblCCode, 0).text(), "Cap #9");
    EXPECT_EQ(win().require(ctl::family::lblCCode, 7).text(), "Cap #16");
    EXPECT_FALSE(win().require(ctl::family::chkEnCap, 0).isChecked());
    EXPECT_EQ(cap(0).text(), "0000000");

    typeInto(cap(0), "1234");
    EXPECT_EQ(CapcodeText(image(), 8), "0001234");
    EXPECT_EQ(image().byte(0x1298) << 16 | image().byte(0x1299) << 8 | image().byte(0x129A), 1234 * 8);
    win().require(ctl::family::chkEnCap, 0).click();
    EXPECT_EQ(image().byte(0x123E), 0x80);
    win().require(ctl::family::chkManu, 2).click();
    EXPECT_EQ(image().byte(0x1236), 0x20);  // capcode 11's Manual bit
    EXPECT_EQ(image().byte(0x123D), 0x80);  // page 0 untouched

    choose(&win().require(ctl::cboCCPage), 0);
    EXPECT_EQ(cap(0).text(), "1234567");
    EXPECT_FALSE(win().require(ctl::family::chkManu, 2).isChecked());
}

TEST_F(FreqCodesPageTest, AutoIncreaseBoxesSetTheLinksFlags) {
    start();
    win().require(ctl::optAuto2).click();
    EXPECT_FALSE(win().boardSession().autoIncrease().first);
    EXPECT_TRUE(win().boardSession().autoIncrease().second);
    win().require(ctl::optAuto1).click();
    win().require(ctl::optAuto2).click();
    EXPECT_TRUE(win().boardSession().autoIncrease().first);
    EXPECT_FALSE(win().boardSession().autoIncrease().second);
}

TEST_F(FreqCodesPageTest, FunctionBitWindowWritesOnlyWhatTheUserChanges) {
    start();
    FunctionBitWindow& window = *app_->companions().fm_FunBit;
    image().setByte(0x370 + 4 * 1 + 1, 0xFF);  // capcode 2, function bit B: Group
    win().refreshAll();
    EXPECT_EQ(win().require(ctl::family::edtType, 1).text(), "PGPP");
    const ConfigImage before = image();
    whileOpen(window, "btnFunSetOK", [&] {
        EXPECT_EQ(window.findChild<QLabel*>("lblCapFunBit")->text(), "Capcode 2 Function Bit");
        EXPECT_EQ(window.findChild<QComboBox*>("cboType1")->currentText(), "Group");
        EXPECT_EQ(window.findChild<QComboBox*>("cboDisp0")->currentText(), "Alpha");
        EXPECT_TRUE(image() == before);  // opening writes nothing
        window.findChild<QCheckBox*>("chkFunPri0")->click();
        choose(window.findChild<QComboBox*>("cboDisp3"), 4);   // Tone Only
        choose(window.findChild<QComboBox*>("cboType2"), 16);  // Group
        choose(window.findChild<QComboBox*>("cboType1"), 15);  // Mail Drop F
    }, [&] { win().findChild<QPushButton*>("btnFunBit1")->click(); });
    EXPECT_EQ(window.selectedCapcode, 1);
    EXPECT_EQ(image().byte(0x1215), 0x08);  // capcode 2 keeps its flags in bits 3..0
    EXPECT_EQ(image().byte(0x390 + 4 + 3), 4);
    EXPECT_EQ(image().byte(0x370 + 4 + 2), 0xFF);
    EXPECT_EQ(image().byte(0x370 + 4 + 1), 15);
    EXPECT_EQ(win().require(ctl::family::edtPri, 1).text(), "v---");
    EXPECT_EQ(win().require(ctl::family::edtDisp, 1).text(), "AAAT");
    EXPECT_EQ(win().require(ctl::family::edtType, 1).text(), "PFGP");

    // On page 2 the button of slot 0 edits capcode 9, whose bytes are in the extended area.
    choose(&win().require(ctl::cboCCPage), 1);
    whileOpen(window, "btnFunSetOK", [&] {
        EXPECT_EQ(window.findChild<QLabel*>("lblCapFunBit")->text(), "Capcode 9 Function Bit");
        choose(window.findChild<QComboBox*>("cboType0"), 3);
    }, [&] { win().findChild<QPushButton*>("btnFunBit0")->click(); });
    EXPECT_EQ(image().byte(0x1410), 3);
    EXPECT_EQ(win().require(ctl::family::edtType, 0).text(), "3PPP");
}

TEST_F(FreqCodesPageTest, CompanionWindowsAndSlotLabelsSpeakTheLanguageOfTheFile) {
    useGermanLanguageFile();
    start();
    EXPECT_EQ(win().require(ctl::family::lblCCode, 0).text(), "Rufnr. #1");
    choose(&win().require(ctl::cboCCPage), 1);
    EXPECT_EQ(win().require(ctl::family::lblCCode, 7).text(), "Rufnr. #16");
    FunctionBitWindow& bits = *app_->companions().fm_FunBit;
    whileOpen(bits, "btnFunSetOK", [&] {
        EXPECT_EQ(bits.windowTitle(), "Capcode-Funktionsbits einstellen");
        EXPECT_EQ(bits.findChild<QLabel*>("lblCapFunBit")->text(), "Funktionsbits der Rufnummer 12");
        EXPECT_EQ(bits.findChild<QComboBox*>("cboType0")->currentText(), "Persönlich");
        EXPECT_EQ(bits.findChild<QCheckBox*>("chkFunPri3")->text(), "Funk.-Bit D");
    }, [&] { win().findChild<QPushButton*>("btnFunBit3")->click(); });
    AlertWindow& alerts = *app_->companions().frmAlert;
    whileOpen(alerts, "btnPMOK", [&] {
        EXPECT_EQ(alerts.windowTitle(), "Statussteuerung Persönlich und Mail Drop");
        EXPECT_EQ(alerts.findChild<QComboBox*>("cboPersonal")->currentText(), "8 s");
        EXPECT_EQ(alerts.findChild<QComboBox*>("cboMailAlert0")->currentText(), "Aus");
    }, [&] { win().require(ctl::btnSelect).click(); });
}

// Alert lengths --------------------------------------------------------------------------

TEST_F(FreqCodesPageTest, AlertWindowStoresEachChoiceAndTheStripFollows) {
    start();
    AlertWindow& window = *app_->companions().frmAlert;
    const auto strip = [&](int tag) { return win().require(ctl::family::lblLength, tag).text(); };
    EXPECT_EQ(strip(0), "08");
    for (int tag = 1; tag <= 15; ++tag) EXPECT_EQ(strip(tag), "--") << tag;
    auto* personal = window.findChild<QComboBox*>("cboPersonal");
    auto* drop3 = window.findChild<QComboBox*>("cboMailAlert2");
    whileOpen(window, "btnPMOK", [&] {
        EXPECT_EQ(personal->currentText(), "8 sec");
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cboMailAlert%1").arg(i))->currentText(), "Disable");
        choose(personal, 4);  // "continuos"
        choose(drop3, 3);     // "16 sec"
    }, [&] { win().require(ctl::btnSelect).click(); });
    EXPECT_EQ(image().byte(0x90), 0);
    EXPECT_EQ(strip(0), "CT");
    EXPECT_EQ(image().byte(0x37), 0x04);
    EXPECT_EQ(image().byte(0x93), 16);
    EXPECT_EQ(strip(3), "16");

    whileOpen(window, "btnPMOK", [&] {
        EXPECT_EQ(drop3->currentText(), "16 sec");
        choose(drop3, 0);  // "Disable" keeps the length byte
    }, [&] { win().require(ctl::btnSelect).click(); });
    EXPECT_EQ(image().byte(0x37), 0x00);
    EXPECT_EQ(image().byte(0x93), 16);
    EXPECT_EQ(strip(3), "--");
}

TEST_F(FreqCodesPageTest, AlertWindowFollowsALoadWhileClosed) {
    start();
    AlertWindow& window = *app_->companions().frmAlert;
    ConfigImage loaded = image();
    StorePersonalAlert(loaded, 3);       // 32 sec
    StoreMailDropAlert(loaded, 14, 1);   // mail drop F: beep
    const auto path = workingDir / "alerts.tbl";
    ASSERT_FALSE(SaveTableFile(path, loaded, 16));
    nextOpen = QString::fromStdString(path.string());
    win().action("mnuOpen")->trigger();
    ASSERT_TRUE(notifier.shown.empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.findChild<QComboBox*>("cboPersonal")->currentText(), "32 sec");
    EXPECT_EQ(window.findChild<QComboBox*>("cboMailAlert14")->currentText(), "Beep");
    EXPECT_EQ(win().require(ctl::family::lblLength, 15).text(), "BP");
}

// R/W password ---------------------------------------------------------------------------

TEST_F(FreqCodesPageTest, PasswordBoxStoresSixCharactersAndRefusesFiveWithMsg30) {
    start();
    QLineEdit& box = win().require(ctl::textPass);
    EXPECT_EQ(box.text(), "000000");
    typeInto(box, "654321", Qt::Key_Tab);
    EXPECT_TRUE(notifier.shown.empty());
    for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(image().byte(0xFC3 + k), "654321"[k]) << k;

    const ConfigImage before = image();
    typeInto(box, "12345", Qt::Key_Tab);
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg30"});
    EXPECT_EQ(notifier.shown[0].english, "Password must 6 digits only!");
    EXPECT_TRUE(image() == before);
    EXPECT_EQ(box.text(), "654321");  // the stored password again
}

TEST_F(FreqCodesPageTest, AlertStripKeepsALabelWhoseValueHasNoCode) {
    start();
    image().setByte(0x90, 5);
    image().setByte(0x38, 0x40);  // mail drop F on ...
    image().setByte(0x9F, 2);     // ... with a length no item names
    win().refreshAll();
    EXPECT_EQ(win().require(ctl::family::lblLength, 0).text(), "08");
    EXPECT_EQ(win().require(ctl::family::lblLength, 15).text(), "--");
}

// One session of edits, saved: the file holds what the core rules compute ----------------

TEST_F(FreqCodesPageTest, EditsThroughTheWindowSaveTheImageTheRulesCompute) {
    start();
    ConfigImage expected = image();
    typeInto(freq(), "1530125");
    typeInto(cap(0), "42");
    win().require(ctl::family::chkEnCap, 1).click();
    whileOpen(*app_->companions().fm_FunBit, "btnFunSetOK", [&] {
        auto* w = app_->companions().fm_FunBit;
        w->findChild<QCheckBox*>("chkFunPri2")->click();
        choose(w->findChild<QComboBox*>("cboDisp1"), 0);
    }, [&] { win().findChild<QPushButton*>("btnFunBit0")->click(); });
    whileOpen(*app_->companions().frmAlert, "btnPMOK", [&] {
        choose(app_->companions().frmAlert->findChild<QComboBox*>("cboMailAlert8"), 2);
    }, [&] { win().require(ctl::btnSelect).click(); });
    typeInto(win().require(ctl::textPass), "A1B2C3", Qt::Key_Tab);
    ASSERT_TRUE(notifier.shown.empty());

    ASSERT_TRUE(StoreChannelFrequency(expected, 0, "1530125", false).ok());
    ASSERT_TRUE(StoreCapcodeText(expected, 0, "42").ok);
    StoreCapcodeOnBox(expected, 0, 1, true);
    SetPriorityAlert(expected, 0, 2, true);
    StoreFunctionBitDisplay(expected, 0, 1, 0);
    StoreMailDropAlert(expected, 8, 2);
    ASSERT_TRUE(StoreRwPassword(expected, "A1B2C3").ok);

    const auto saved = workingDir / "session.tbl";
    const auto computed = workingDir / "computed.tbl";
    nextSave = QString::fromStdString(saved.string());
    win().action("mnuSaveAs")->trigger();
    ASSERT_TRUE(notifier.shown.empty());
    ASSERT_FALSE(SaveTableFile(computed, expected, 16));
    const std::string savedBytes = ReadFile(saved);
    EXPECT_EQ(savedBytes.size(), kImageSize);
    EXPECT_TRUE(savedBytes == ReadFile(computed));
}

}  // namespace
}  // namespace zrv::test
