// The OTA window as a user drives it: Tools > OTA Command..., its boxes and
// fields, View and Send against the encoder simulator, the result box, and
// the main-window values it takes from the image.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <set>

#include "app/edit_history.h"
#include "core/capcodes.h"
#include "core/document.h"
#include "core/cp1252.h"
#include "core/option_fields.h"
#include "core/serial_fields.h"
#include "ota/ota_command.h"
#include "ota/ota_image_inputs.h"
#include "ota/ota_send.h"
#include "ota/ota_types.h"
#include "editors/alert_window.h"
#include "ota/ui/ota_window.h"
#include "tests/app/window_fixture.h"
#include "tests/ota/encoder_sim_process.h"

namespace zrv::test {
namespace {

using ota::FindOtaCommandType;
using ota::OtaCommandType;
using ota::ui::OtaWindow;

class OtaWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        start();
        ota().show();
        QApplication::processEvents();
        // A fixed header date, no time message, a valid control ID.
        click("chkDateField");
        type("edtDateField", "1412301530");
        click("chkSysDate");
        type("edtID", "1234567N12");
        notifier.clear();
    }
    void TearDown() override {
        ota().hide();
        WindowTest::TearDown();
    }

    OtaWindow& ota() { return *app_->companions().frmOTA; }
    template <class T>
    T* at(const char* name) {
        T* w = ota().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QCheckBox* otaBox(const char* name) { return at<QCheckBox>(name); }
    QLineEdit* field(const char* name) { return at<QLineEdit>(name); }
    void click(const char* name) { at<QAbstractButton>(name)->click(); }
    /// Types \p text into a field and leaves it (Tab), as a user does.
    void type(const char* name, const QString& text) {
        QLineEdit* f = field(name);
        ota().activateWindow();
        f->setFocus(Qt::TabFocusReason);
        f->selectAll();
        QTest::keyClicks(f, text);
        at<QLineEdit>("edtRepeat") == f ? field("edtPSN")->setFocus(Qt::TabFocusReason)
                                        : field("edtRepeat")->setFocus(Qt::TabFocusReason);
    }
    ConfigImage expectedImage;  ///< the image after expectedView()
    void setPort(const std::string& path) {
        at<QComboBox>("cboEncoderPort")->setEditText(QString::fromStdString(path));
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> out;
        for (const auto& m : notifier.shown) out.push_back(m.english);
        return out;
    }
    QStringList logLines() { return ota().memMsg().toPlainText().split(QLatin1Char('\n')); }
    /// The data strings of the log (the line after each "Content of the data field:").
    QStringList dataStrings() {
        QStringList out;
        const QStringList lines = logLines();
        for (int i = 0; i + 1 < lines.size(); ++i)
            if (lines[i] == QLatin1String("Content of the data field:")) out << lines[i + 1];
        return out;
    }
    /// What the builders give for the window's fields and the main window's
    /// image as a View would, from a builder with the same batch number.
    QStringList expectedView(std::uint8_t batch) {
        RecordingNotifier quiet;
        ota::TCommPort port;
        ota::EncoderLink link(port, quiet);
        ota::OtaBuilder builder(quiet);
        builder.batchNumber = batch;
        ota::OtaSender sender(builder, link, quiet);
        ota::OtaWindowFields fields = ota().fields();
        ConfigImage copy = image();
        const auto in = ota::OtaInputsFromImage(copy);
        QStringList lines;
        sender.View(fields, in.main, in.alert, copy, [&](const std::string& l) { lines << QString::fromStdString(l); });
        expectedImage = copy;
        return lines;
    }
};

TEST_F(OtaWindowTest, ToolsMenuOffersTheWindowAndTheLanguages) {
    auto* tools = win().findChild<QMenu*>("mnuTools");
    ASSERT_NE(tools, nullptr);
    ASSERT_FALSE(tools->actions().isEmpty());
    QAction* entry = tools->actions().front();
    EXPECT_EQ(entry->objectName(), "mnuOTA");
    EXPECT_EQ(entry->text(), "&OTA Command...");
    EXPECT_EQ(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
    auto* languages = win().findChild<QMenu*>("mnuToolsLang");
    ASSERT_NE(languages, nullptr);
    EXPECT_TRUE(tools->actions().contains(languages->menuAction()));
    EXPECT_EQ(languages->actions(), (QList<QAction*>{win().action("mnuEnglish"), win().action("mnuGerman")}));
    EXPECT_FALSE(win().findChild<QMenu*>("mnuTool")->menuAction()->isVisible()) << "the hidden menu stays hidden";

    ota().hide();
    SetCapcode(image(), 7, 4321);
    bool ran = false;
    QTimer::singleShot(0, &ota(), [&] {
        ran = true;
        EXPECT_TRUE(ota().isVisible());
        EXPECT_TRUE(ota().isModal());
        EXPECT_EQ(ota().windowTitle(), "OTA Command");
        EXPECT_EQ(ota().size(), QSize(774, 642));
        EXPECT_TRUE(ota().windowFlags() & Qt::WindowStaysOnTopHint);
        // Show fills the identities from the main window.
        EXPECT_EQ(field("edtTMID")->text(), "0004321N11");
        EXPECT_EQ(field("edtID")->text(), "N12");
        EXPECT_EQ(field("edtPSN")->text().toStdString(), PsnText(image()).substr(7, 5));
        EXPECT_EQ(field("edtSSN")->text().toStdString(), SsnText(image()));
        ota().reject();
    });
    entry->trigger();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(ota().isVisible());
}

/// \p text with every run of white space made one space.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n';
        if (!space || (!out.empty() && out.back() != ' ')) out += space ? ' ' : c;
    }
    return out;
}

TEST_F(OtaWindowTest, TypeBoxesNameTheirTypeAndSayWhatItCarriesAsTheCommandLineHelpDoes) {
    const std::string help = OneLine(RunProgram("zrv41k-cli", {"ota", "--help"}).out);
    struct Case {
        const char* box;
        int type;
        const char* carries;  ///< words the tool tip must hold
    };
    const Case cases[] = {
        {"chkCmd0", 1, "Capcodes 1 to 7"},
        {"chkCmd1", 2, "alert lengths"},
        {"chkCmd2", 3, "capcode 1, function bit A and the prompts 32 and 33"},
        {"chkCmd3", 4, "capcode 1, function bit C and the prompts 36 and 37"},
        {"chkCmd9", 10, "capcode 1, function bit B and the prompts 34 and 35"},
        {"chkCmd11", 12, "capcode 2, function bit B and the prompts 42 and 43"},
        {"chkCmd5", 6, "prompt fields 44 to 59"},
        {"chkCmd15", 16, "prompt fields 44 to 59"},
        {"chkCmd16", 17, "prompt 0"},
        {"chkCmd254", 254, "start address"},
        {"chkLast", 255, "batch number"},
    };
    for (const Case& c : cases) {
        QCheckBox* box = otaBox(c.box);
        QHelpEvent hover(QEvent::ToolTip, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(box, &hover);
        const std::string tip = box->toolTip().toStdString();
        EXPECT_NE(tip.find(c.carries), std::string::npos) << c.box << ": " << tip;
        const OtaCommandType* type = FindOtaCommandType(c.type);
        ASSERT_NE(type, nullptr) << c.type;
        if (c.type != ota::kTypeLast) {  // chkLast keeps its own caption
            EXPECT_EQ(box->text().toStdString(), std::to_string(c.type) + "  " + type->name) << c.box;
        }
        // The command line's help names the type and says the same of it.
        EXPECT_NE(help.find(" " + std::to_string(c.type) + " " + type->name + ": " + OneLine(tip)), std::string::npos)
            << c.box << " not in the help: " << type->name;
    }
    // Every type box has a name of its own.
    std::set<QString> captions;
    for (QCheckBox* box : ota().findChildren<QCheckBox*>())
        if (box->objectName().startsWith("chkCmd")) captions.insert(box->text().section(QStringLiteral("  "), 1));
    EXPECT_EQ(captions.size(), std::size_t{ota::kCommandTypeBoxes});
}

TEST_F(OtaWindowTest, BoxesShowTheirFieldsAndUnofferedTypesCannotBeChosen) {
    for (const char* name : {"chkCmd5", "chkCmd6", "chkCmd7", "chkCmd8", "chkCmd12", "chkCmd13", "chkCmd14",
                             "chkCmd15"}) {
        EXPECT_FALSE(otaBox(name)->isEnabled()) << name;
        EXPECT_TRUE(otaBox(name)->toolTip().contains("prompt fields 44 to 59")) << name;
    }
    EXPECT_TRUE(otaBox("chkCmd0")->isChecked());
    EXPECT_TRUE(otaBox("chkCmd4")->isEnabled());
    // Type 254 shows its raw-data fields as type 2 shows its alert type.
    EXPECT_FALSE(field("edtData")->isVisible());
    click("chkCmd254");
    for (const char* name : {"edtLength", "edtStart", "edtData", "lblLength", "lblStart", "lblData"})
        EXPECT_TRUE(at<QWidget>(name)->isVisible()) << name;
    EXPECT_FALSE(at<QWidget>("cboAlertType")->isVisible());
    click("chkCmd1");
    EXPECT_TRUE(at<QWidget>("cboAlertType")->isVisible());
    EXPECT_TRUE(at<QWidget>("lblAlertType")->isVisible());
    click("chkCmd254");
    EXPECT_FALSE(field("edtStart")->isVisible());

    // The field rules: hex keys only, the length follows, even digits, three-digit start.
    click("chkCmd254");
    type("edtData", "0aG1");
    EXPECT_EQ(field("edtData")->text(), "0a1");
    EXPECT_EQ(shownTexts().front(), "Hex Only !");
    EXPECT_EQ(field("edtLength")->text(), "3");
    EXPECT_EQ(shownTexts().back(), "Please input even digits !");
    type("edtStart", "1f");
    EXPECT_EQ(field("edtStart")->text(), "01F");
    type("edtID", "123");
    EXPECT_EQ(field("edtID")->text(), "0000000123");
    // The manual fields appear with their "System" box unchecked.
    EXPECT_FALSE(field("edtBat")->isVisible());
    click("chkBat");
    EXPECT_TRUE(field("edtBat")->isVisible());
    EXPECT_TRUE(field("edtDate")->isEnabled()) << "System Date is unchecked: the time can be typed";
    click("chkEncypt");
    EXPECT_TRUE(field("edtSSN")->isVisible());
}

TEST_F(OtaWindowTest, RepeatBelowOneShowsOnlyItsMessage) {
    ota().memMsg().setPlainText("previous log");
    for (const char* repeat : {"0", "x"}) {
        notifier.clear();
        type("edtRepeat", repeat);
        click("btnOTAView");
        EXPECT_EQ(shownTexts(), std::vector<std::string>{"Repeat times can not less than 1!"}) << repeat;
        EXPECT_EQ(ota().memMsg().toPlainText(), "previous log");
    }
}

TEST_F(OtaWindowTest, NothingCheckedChecksTheIdAndSendsNothing) {
    EncoderSimProcess sim;
    ASSERT_FALSE(sim.path().empty());
    setPort(sim.path());
    click("chkCmd0");
    click("chkLast");
    ota().memMsg().setPlainText("previous log");
    field("edtID")->setText("N12");  // as Show fills it with an empty control capcode
    notifier.clear();
    click("btnOTASend");
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"PIN/ID fields is 4 - 10 digits Only!"});
    EXPECT_EQ(notifier.shown.front().boxCaption(), "ID/PIN Error");
    type("edtID", "1234567N12");
    notifier.clear();
    click("btnOTASend");
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"Transmit Success !"});
    EXPECT_TRUE(ota().memMsg().toPlainText().isEmpty());
    EXPECT_TRUE(sim.requests().empty());
}

TEST_F(OtaWindowTest, ViewOfTypes1And2And254MatchesTheBuildersAndOpensNoPort) {
    setPort("/dev/zrv41k-no-such-encoder");
    click("chkCmd1");
    click("chkCmd254");
    type("edtData", "0A0B");
    type("edtStart", "1F0");
    at<QComboBox>("cboAlertType")->setCurrentIndex(2);
    const std::uint8_t batch = ota().builder().batchNumber;
    // Capcode 2 switched off: type 1 sends and stores its display codes as 5.
    SetCapcodeOn(image(), 1, false);
    image().setByte(DisplayCodeOffset(1, 0), 2);
    win().document().noteChanges();  // the set-up is a change of its own
    const QStringList expected = expectedView(batch);
    notifier.clear();
    click("btnOTAView");
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"Transmit Success !"});
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(dataStrings().size(), 4);
    EXPECT_FALSE(ota().memMsg().toPlainText().contains("Fill Norvex2"));
    EXPECT_EQ(ota().builder().batchNumber, (batch + 1) % 100) << "the last command advances the batch number";
    // The refresh after type 1 kept the alert type; a later refresh resets it.
    EXPECT_EQ(at<QComboBox>("cboAlertType")->currentIndex(), 2);
    win().refreshAll();
    EXPECT_EQ(at<QComboBox>("cboAlertType")->currentIndex(), 0);
    EXPECT_EQ(image().byte(DisplayCodeOffset(1, 0)), 5);
    EXPECT_TRUE(image() == expectedImage) << "the window wrote back what the builders write back";
    // The write-back is one change of the document, taken back by Undo.
    EXPECT_TRUE(win().document().modified());
    win().history().undoAction().trigger();
    EXPECT_EQ(image().byte(DisplayCodeOffset(1, 0)), 2);
}

TEST_F(OtaWindowTest, RepeatThreeWithAutoIncreasePsnFrom0FFFE) {
    click("chkCmd0");
    click("chkCmd254");
    click("chkLast");
    type("edtPSN", "0FFFE");
    type("edtRepeat", "3");
    click("chkIncPSN");
    click("btnOTAView");
    const QString log = ota().memMsg().toPlainText();
    EXPECT_TRUE(log.contains("SN=0FFFE") && log.contains("SN=0FFFF") && log.contains("SN=10000")) << log.toStdString();
    EXPECT_EQ(field("edtPSN")->text(), "10000");
}

TEST_F(OtaWindowTest, SendOfTypes2And3AndTheLastCommandReachesTheEncoder) {
    EncoderSimProcess sim;
    ASSERT_FALSE(sim.path().empty());
    setPort(sim.path());
    click("chkCmd0");
    click("chkCmd1");
    click("chkCmd2");
    click("btnOTASend");
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"Transmit Success !"});
    const QString log = ota().memMsg().toPlainText();
    EXPECT_TRUE(log.contains("Pkg No.=01  Bth No.") && log.contains("OTA Type=2  "));
    EXPECT_TRUE(log.contains("Pkg No.=02  Bth No.") && log.contains("OTA Type=3  "));
    EXPECT_TRUE(log.contains("Pkg No.=03  Bth No.") && log.contains("OTA Type=255  "));
    EXPECT_TRUE(log.contains("Fill Norvex2="));
    const QStringList data = dataStrings();
    ASSERT_EQ(data.size(), 3);
    std::vector<std::string> frames;
    for (const QString& d : data) frames.push_back("1234567N12 " + d.toStdString());
    EXPECT_EQ(sim.requests(), frames);
    // The last command carries a package count of 2 just before its CRC.
    const std::string lastLine = logLines().filter("OTA Type=255").front().toStdString();
    const std::string crc = lastLine.substr(lastLine.find("CRC=") + 4, 4);
    EXPECT_NE(data[2].toStdString().find("02" + crc), std::string::npos) << data[2].toStdString();
}

TEST_F(OtaWindowTest, SecondOfThreeCommandsFailingStopsTheSend) {
    EncoderSimProcess sim({"--ack-first", "1"});
    ASSERT_FALSE(sim.path().empty());
    setPort(sim.path());
    click("chkCmd1");
    click("chkCmd2");
    click("btnOTASend");
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"Transmit Error !"});
    const QStringList data = dataStrings();
    ASSERT_EQ(data.size(), 2) << "the third and the last command are not even built";
    const auto requests = sim.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front(), "1234567N12 " + data[0].toStdString());
    for (std::size_t i = 1; i < requests.size(); ++i)
        EXPECT_EQ(requests[i], "1234567N12 " + data[1].toStdString()) << "only the second is tried again";
}

TEST_F(OtaWindowTest, ASendRunsOnceAndClosingEndsItAfterTheFrameOnTheLine) {
    EncoderSimProcess sim;
    ASSERT_FALSE(sim.path().empty());
    setPort(sim.path());
    click("chkCmd1");
    bool checked = false;
    // The user acts while the first command is on its way: its log lines are
    // printed just before it is transmitted.
    QObject::connect(&ota().memMsg(), &QPlainTextEdit::textChanged, &ota(), [&] {
        if (checked || !ota().memMsg().toPlainText().contains("Content of the data field:")) return;
        checked = true;
        EXPECT_TRUE(ota().sending());
        EXPECT_FALSE(at<QPushButton>("btnOTASend")->isEnabled());
        EXPECT_FALSE(at<QPushButton>("btnOTAView")->isEnabled());
        ota().btnOTASendClick();  // a second send does not start
        ota().close();
        EXPECT_TRUE(ota().isVisible()) << "the frame on the line finishes first";
    });
    click("btnOTASend");
    EXPECT_TRUE(checked);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"Transmit Error !"});
    EXPECT_EQ(sim.requests().size(), 1u) << "type 1 went out, type 2 and the last command did not";
    EXPECT_FALSE(ota().isVisible());
}

TEST(OtaEncoderPort, CommandLineNamesThePortTheWindowOffersFirst) {
    QString error;
    auto line = app::ParseCommandLine({"--encoder-port", "/dev/pts/9", "--port", "/dev/ttyUSB0"}, error);
    ASSERT_TRUE(line.has_value()) << error.toStdString();
    EXPECT_EQ(line->encoderPort, "/dev/pts/9");
    EXPECT_EQ(line->ports, std::vector<std::string>{"/dev/ttyUSB0"});
    line = app::ParseCommandLine({"--encoder-port=/dev/ttyS1"}, error);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->encoderPort, "/dev/ttyS1");
    EXPECT_FALSE(app::ParseCommandLine({"--encoder-port"}, error).has_value());
    EXPECT_EQ(error, "--encoder-port needs a value");
    EXPECT_FALSE(app::ParseCommandLine({"--encoder-port="}, error).has_value());
    EXPECT_EQ(error, "--encoder-port needs a device path");
    EXPECT_NE(app::UsageText().find("--encoder-port PATH"), std::string::npos);

    TestApp();
    TempDir folder;
    RecordingNotifier notifier;
    auto options = app::StartupOptions::Unattended(folder.path(), notifier);
    app::Application withDefault(options);
    QComboBox* port = withDefault.companions().frmOTA->findChild<QComboBox*>("cboEncoderPort");
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->isEditable());
    EXPECT_EQ(port->currentText(), "/dev/ttyS0");
    options.encoderPort = "/dev/pts/9";
    app::Application withOption(options);
    EXPECT_EQ(withOption.companions().frmOTA->findChild<QComboBox*>("cboEncoderPort")->currentText(), "/dev/pts/9");
}

/// Reads the main window's controls into the structure the builders take.
ota::OtaImageInputs ShownByWindow(app::MainWindow& w, ota::ui::OtaWindow& otaWindow) {
    (void)otaWindow;
    ota::OtaImageInputs s;
    auto& m = s.main;
    const auto box = [&w](const QString& n) { return w.find<QCheckBox>(n)->isChecked(); };
    const auto idx = [&w](const QString& n) { return std::max(0, w.find<QComboBox>(n)->currentIndex()); };
    const auto txt = [&w](const QString& n) { return w.find<QLineEdit>(n)->text().toStdString(); };
    for (int n = 0; n < 7; ++n) {
        m.edtCap[n] = txt(QStringLiteral("edtCap%1").arg(n));
        m.cboMusicType[n] = idx(QStringLiteral("cboMusicType%1").arg(n));
    }
#define ZRV_BOX(name) m.name = box(QStringLiteral(#name))
#define ZRV_IDX(name) m.name = idx(QStringLiteral(#name))
    ZRV_IDX(cboCtl7); ZRV_BOX(chkBeepAndVibration); ZRV_BOX(chkCapMusicType); ZRV_BOX(chkDirectShowLampOn);
    ZRV_IDX(cboCtl4); ZRV_IDX(cboSLC); ZRV_IDX(cboBatLev0); ZRV_IDX(cboBatLev1); ZRV_IDX(cboBatLev2);
    ZRV_BOX(chkDiscardErrMsg); ZRV_BOX(chkCtl12); ZRV_BOX(chkCtl0); ZRV_BOX(chkPushKeyLampOn);
    ZRV_BOX(chkKeyboardInterlock); ZRV_BOX(chkCtl10); ZRV_BOX(chkCtl11); ZRV_BOX(chkRDKeyPagerOff);
    ZRV_BOX(chkRDKeyDel); ZRV_IDX(cboLng); ZRV_BOX(chkDuplicateMsgDetect); ZRV_BOX(chkPriMusicType);
    ZRV_IDX(cboPriType); ZRV_BOX(chkGupMusicType); ZRV_IDX(cboGroupType); ZRV_IDX(cboRDC);
    ZRV_BOX(chkReminderSelectTone); ZRV_BOX(chkReminder); ZRV_IDX(cboTone); ZRV_BOX(chkCtl16);
    ZRV_BOX(chkMailDropAlert); ZRV_BOX(chkMoveToMemo); ZRV_BOX(chkCtl18); ZRV_BOX(chkCtl15); ZRV_IDX(cboSource);
    ZRV_IDX(cboLogo);
#undef ZRV_BOX
#undef ZRV_IDX
    m.txtReminder = txt(QStringLiteral("txtReminder"));
    for (int k = 0; k < 7; ++k) m.chkMenu[k] = box(QStringLiteral("chkMenu%1").arg(k));
    for (int k = 0; k < 32; ++k) m.chkSource[k] = box(QStringLiteral("chkSource%1").arg(k));
    for (int k = 0; k < 44; ++k) m.edtPrompt[k].text = Utf8ToCp1252(txt(QStringLiteral("edtPrompt%1").arg(k)));
    const QWidget& alertWindow = w.alertWindow();  // a dialog of its own
    s.alert.cboPersonal = std::max(0, alertWindow.findChild<QComboBox*>("cboPersonal")->currentIndex());
    for (int i = 0; i < 15; ++i)
        s.alert.cboMailAlert[i] =
            std::max(0, alertWindow.findChild<QComboBox*>(QStringLiteral("cboMailAlert%1").arg(i))->currentIndex());
    s.show.edtCap7 = txt(QStringLiteral("edtCap7"));
    s.show.edtPSN = txt(QStringLiteral("edtPSN"));
    s.show.edtSSN = txt(QStringLiteral("edtSSN"));
    return s;
}

void ExpectSameInputs(const ota::OtaImageInputs& shown, const ota::OtaImageInputs& read, const char* what) {
    const ota::OtaMainFields& a = shown.main;
    const ota::OtaMainFields& b = read.main;
    EXPECT_EQ(a.edtCap, b.edtCap) << what;
    EXPECT_EQ(a.cboMusicType, b.cboMusicType) << what;
#define ZRV_SAME(name) EXPECT_EQ(a.name, b.name) << what << " " #name
    ZRV_SAME(cboCtl7); ZRV_SAME(chkBeepAndVibration); ZRV_SAME(chkCapMusicType); ZRV_SAME(chkDirectShowLampOn);
    ZRV_SAME(cboCtl4); ZRV_SAME(cboSLC); ZRV_SAME(cboBatLev0); ZRV_SAME(cboBatLev1); ZRV_SAME(cboBatLev2);
    ZRV_SAME(chkDiscardErrMsg); ZRV_SAME(chkCtl12); ZRV_SAME(chkCtl0); ZRV_SAME(chkPushKeyLampOn);
    ZRV_SAME(chkKeyboardInterlock); ZRV_SAME(chkCtl10); ZRV_SAME(chkCtl11); ZRV_SAME(chkRDKeyPagerOff);
    ZRV_SAME(chkRDKeyDel); ZRV_SAME(cboLng); ZRV_SAME(chkDuplicateMsgDetect); ZRV_SAME(chkPriMusicType);
    ZRV_SAME(cboPriType); ZRV_SAME(chkGupMusicType); ZRV_SAME(cboGroupType); ZRV_SAME(cboRDC);
    ZRV_SAME(chkReminderSelectTone); ZRV_SAME(chkReminder); ZRV_SAME(txtReminder); ZRV_SAME(cboTone);
    ZRV_SAME(chkMenu); ZRV_SAME(chkCtl16); ZRV_SAME(chkMailDropAlert); ZRV_SAME(chkMoveToMemo); ZRV_SAME(chkCtl18);
    ZRV_SAME(chkCtl15); ZRV_SAME(cboSource); ZRV_SAME(chkSource); ZRV_SAME(cboLogo);
#undef ZRV_SAME
    for (int k = 0; k < 44; ++k) EXPECT_EQ(a.edtPrompt[k].text, b.edtPrompt[k].text) << what << " prompt " << k;
    EXPECT_EQ(shown.alert.cboPersonal, read.alert.cboPersonal) << what;
    EXPECT_EQ(shown.alert.cboMailAlert, read.alert.cboMailAlert) << what;
    EXPECT_EQ(shown.show.edtCap7, read.show.edtCap7) << what;
    EXPECT_EQ(shown.show.edtPSN, read.show.edtPSN) << what;
    EXPECT_EQ(shown.show.edtSSN, read.show.edtSSN) << what;
}

TEST_F(OtaWindowTest, InputsReadFromTheImageAreWhatTheRefreshedWindowShows) {
    ExpectSameInputs(ShownByWindow(win(), ota()), ota::OtaInputsFromImage(image()), "default image");
    // Options flipped, capcodes, a threshold trio, alert lengths, prompts and languages changed.
    ConfigImage changed = image();
    for (std::size_t a : {0x02Fu, 0x036u, 0x039u, 0x03Bu, 0x03Du}) changed.setByte(a, changed.byte(a) ^ 0xFF);
    changed.setByte(0x7E0, 0x00);
    changed.setByte(0x7E2, 0xFF);
    fields::kRechargeableBattery.Set(changed, 1 - fields::kRechargeableBattery.Get(changed));
    fields::kPromptLanguageCode.Set(changed, 8);
    fields::kLogoFontCode.Set(changed, 6);
    for (int n = 0; n < 8; ++n) SetCapcode(changed, n, 1000 + 111 * static_cast<std::uint32_t>(n));
    changed.setByte(0x100 + 2, 'Z');
    changed.setByte(0x90, 2);
    changed.setByte(0x7C0, 0x5A);
    image() = changed;
    win().refreshAll();
    ExpectSameInputs(ShownByWindow(win(), ota()), ota::OtaInputsFromImage(image()), "changed image");
}

}  // namespace
}  // namespace zrv::test
