// The main window at work: refresh of the hint-bound controls, generic
// write-back, menu boxes, page selectors, text-field sizing, serial fields,
// the refresh order of the editor modules, modes, scanner input, dialogs.
#include <QTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QMenu>
#include <QWindow>

#include "editors/function_bit_window.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "editors/edit_events.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"
#include "link/board_session.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

// A module that records what the window asks of it, registered like every
// editor module. One instance per window at every slot it is asked for.
std::vector<std::string>* gCalls = nullptr;
class RecordingModule : public EditorModule {
public:
    explicit RecordingModule(RefreshSlot slot, std::string name) : slot_(slot), name_(std::move(name)) {}
    std::string name() const override { return name_; }
    std::vector<RefreshSlot> refreshSlots() const override { return {slot_}; }
    void refresh(MainForm&, RefreshSlot) override {
        if (gCalls) gCalls->push_back("refresh " + name_);
    }
    void boundControlChanged(MainForm&, QWidget* control) override {
        if (gCalls && slot_ == RefreshSlot::BandFrequency)
            gCalls->push_back("changed " + control->objectName().toStdString());
    }

private:
    RefreshSlot slot_;
    std::string name_;
};
// Registered in name order "z..." so that the slot, not the name, decides.
const EditorModuleRegistration regA{"zz-serial-late", [] {
    return std::make_unique<RecordingModule>(RefreshSlot::BatteryLowTone, "battery-low-tone");
}};
const EditorModuleRegistration regB{"zz-band", [] {
    return std::make_unique<RecordingModule>(RefreshSlot::BandFrequency, "band");
}};
const EditorModuleRegistration regC{"zz-capcode-page", [] {
    return std::make_unique<RecordingModule>(RefreshSlot::CapcodePage, "capcode-page");
}};

class MainWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        gCalls = &calls;
    }
    void TearDown() override {
        gCalls = nullptr;
        WindowTest::TearDown();
    }
    std::vector<std::string> calls;
};

TEST_F(MainWindowTest, Byte39C1IsShownByEveryControlBoundToIt) {
    start();
    image().setByte(0x39, 0xC1);
    win().refreshAll();
    EXPECT_EQ(combo(ctl::readTimeOut.text)->currentIndex(), 1);
    EXPECT_EQ(combo(ctl::readTimeOut.text)->currentText(), "12 sec");
    EXPECT_TRUE(box(ctl::displaySourceAddress.text)->isChecked());
    EXPECT_TRUE(box(ctl::lowcellAlert.text)->isChecked());
    EXPECT_TRUE(box("chkDuplicateMsgDetect")->isChecked());
    EXPECT_TRUE(box(ctl::counterOut.text)->isChecked());
    EXPECT_FALSE(box("chkDirectShowLampOn")->isChecked());
    EXPECT_EQ(image().byte(0x39), 0xC1);  // storing back what was shown changes nothing
}

TEST_F(MainWindowTest, UserChangesGoStraightIntoTheImage) {
    start();
    QCheckBox* deleteOff = box(ctl::menuDeleteOff.text);
    deleteOff->setChecked(true);
    deleteOff->setChecked(false);
    EXPECT_EQ(image().byte(0x7E1), 0xFF);
    deleteOff->setChecked(true);
    EXPECT_EQ(image().byte(0x7E1), 0x00);
    image().setByte(0x7E1, 0x42);
    win().refreshAll();
    EXPECT_FALSE(deleteOff->isChecked());

    choose(combo(ctl::baud.text), 2);  // "2400 bps"
    EXPECT_EQ(image().GetImageBits(layout::kBaudCode, 4, 2), 1);
    EXPECT_EQ(image().byte(layout::kBaudByte1), 5);
    EXPECT_EQ(image().byte(layout::kBaudByte2), 0x1F);
    image().SetImageBits(layout::kBaudCode, 4, 0, 2);
    win().refreshAll();
    EXPECT_EQ(combo(ctl::baud.text)->currentText(), "2400 bps");

    // Two boxes on one bit follow each other through the image.
    box("chkAirProgram")->setChecked(!box("chkAirProgram")->isChecked());
    win().refreshAll();
    EXPECT_EQ(box(ctl::otaProgram.text)->isChecked(), box("chkAirProgram")->isChecked());
}

TEST_F(MainWindowTest, PagingDisplayComboShowsDirectShowLampOnlyForDirect) {
    start();
    choose(combo(ctl::pagingDisplay.text), 1);
    EXPECT_EQ(image().GetImageBits(0x3B, 4, 1), 1);
    EXPECT_FALSE(box("chkDirectShowLampOn")->isHidden());
    choose(combo(ctl::pagingDisplay.text), 0);
    EXPECT_TRUE(box("chkDirectShowLampOn")->isHidden());
    image().SetImageBits(0x3B, 4, 1, 1);
    win().refreshAll();
    EXPECT_FALSE(box("chkDirectShowLampOn")->isHidden());
}

TEST_F(MainWindowTest, MenuCodeListDecidesTheMenuBoxes) {
    start();
    image().fill(layout::kMenuCodes.offset, layout::kMenuCodes.length, 0x20);
    win().refreshAll();
    for (int k = 0; k < 8; ++k) EXPECT_TRUE(win().registry().get<QCheckBox>("chkMenu", k)->isChecked()) << k;
    image().setByte(0x7E, 0x0B);  // code 11: "Auto Sleep" is on
    image().setByte(0x7D, 0x99);  // no menu item: ignored, not an index
    win().refreshAll();
    EXPECT_FALSE(box("chkMenu4")->isChecked());
    EXPECT_TRUE(box("chkMenu4")->isHidden());
    for (int k : {0, 1, 2, 3, 5, 6, 7}) EXPECT_TRUE(win().registry().get<QCheckBox>("chkMenu", k)->isChecked()) << k;
}

TEST_F(MainWindowTest, MenuBoxHandlersSeeTheMenuBoxesPhaseOnlyWhileTheRefreshSetsThem) {
    start();
    std::vector<RefreshPhase> seen;
    QObject::connect(box("chkMenu4"), &QCheckBox::toggled, [&] { seen.push_back(win().state().refreshPhase); });
    image().setByte(0x7E, 0x0B);
    win().refreshAll();
    image().setByte(0x7E, 0x20);
    win().refreshAll();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], RefreshPhase::MenuBoxes);
    EXPECT_EQ(seen[1], RefreshPhase::MenuBoxes);
    EXPECT_EQ(win().state().refreshPhase, RefreshPhase::None);
    box("chkMenu4")->setChecked(false);  // a change outside the refresh
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2], RefreshPhase::None);
}

TEST_F(MainWindowTest, LockoutOutOfRangeContrastAndTransferOptionsFollowTheirBits) {
    start();
    image().setByte(layout::kSequentialLockout, 0x09);  // on, step 1
    image().SetImageBits(layout::kOption4FC, 1, 1, 1);
    image().setByte(layout::kOption3D, 0x0C);           // out of range on, step 2; manual write on
    image().setByte(layout::kContrast, 6);
    image().setByte(layout::kTransferOptions, 0x06);
    win().refreshAll();
    EXPECT_EQ(combo("cboSLC")->currentText(), "60 seconds");
    EXPECT_EQ(combo("cboOSC")->currentIndex(), 3);
    EXPECT_EQ(get<QSlider>("TrackBar1")->value(), 6);
    EXPECT_EQ(get<QLabel>("lblValue")->text(), "6");
    EXPECT_TRUE(box("chkManualWEn")->isChecked());
    EXPECT_TRUE(box("chkFreqMEn")->isChecked());
    EXPECT_TRUE(box("chkPwdREn")->isChecked());
    EXPECT_TRUE(box("chkPwdMEn")->isChecked());
    image().setByte(layout::kSequentialLockout, 0x04);  // longest time wins over bit 3
    image().SetImageBits(layout::kOption4FC, 1, 0, 1);
    image().setByte(layout::kContrast, 0);              // below the slider's range
    win().refreshAll();
    EXPECT_EQ(combo("cboSLC")->currentText(), "240 seconds");
    EXPECT_EQ(combo("cboOSC")->currentIndex(), 5);
    EXPECT_EQ(get<QSlider>("TrackBar1")->value(), 1);
    EXPECT_EQ(image().byte(layout::kContrast), 0);      // shown at the end, not rewritten
    EXPECT_TRUE(box("chkCapMusicType")->isChecked() == (image().GetImageBits(layout::kOption458, 2, 1) == 0));
}

TEST_F(MainWindowTest, RefreshForcesItsTwoValues) {
    start();
    image().setByte(layout::kOption457, 0xFF);
    image().setByte(layout::kOption4F8, 0x00);
    win().refreshAll();
    EXPECT_EQ(image().byte(layout::kOption457), 0x7F);
    EXPECT_EQ(image().byte(layout::kOption4F8), 0x29);
}

TEST_F(MainWindowTest, DependentEnablingFollowsTheOptionBoxes) {
    start();
    box("chkAlarmMusicType")->setChecked(false);
    EXPECT_FALSE(get<QComboBox>("cboAlarmType3")->isEnabled());
    box("chkAlarmMusicType")->setChecked(true);
    EXPECT_TRUE(get<QComboBox>("cboAlarmType3")->isEnabled());
    box("chkPushKeyLampOn")->setChecked(false);
    EXPECT_TRUE(box("chkRDKeyDel")->isHidden());
    box("chkPushKeyLampOn")->setChecked(true);
    EXPECT_FALSE(box("chkRDKeyDel")->isHidden());
    EXPECT_FALSE(box(ctl::rdKeySwitchAlert.text)->isHidden());
    // Out-of-range alert controls hang on cboOSC and CheckBox2.
    image().SetImageBits(layout::kOption4FC, 1, 1, 1);
    image().SetImageBits(layout::kOption3D, 3, 0, 1);  // "Disable"
    win().refreshAll();
    EXPECT_FALSE(box(ctl::outOfRangeAlert.text)->isEnabled());
    image().SetImageBits(layout::kOption4FC, 0, 0, 1);  // CheckBox2 (chkN) checked
    image().SetImageBits(layout::kOption3D, 3, 1, 1);
    win().refreshAll();
    EXPECT_TRUE(box(ctl::outOfRangeAlert.text)->isEnabled());
    EXPECT_TRUE(get<QWidget>("edtOORMusic")->isEnabled());
    EXPECT_TRUE(get<QWidget>("edtPrompt41")->isEnabled());
}

TEST_F(MainWindowTest, CapcodePageSelectorsOfferTheEntriesOfSixteenCapcodes) {
    start();
    win().rebuildCapcodePageSelectors();
    QComboBox* cc = combo("cboCCPage");
    ASSERT_EQ(cc->count(), 2);
    EXPECT_EQ(cc->itemText(0), "Capcode 1 - 8");
    EXPECT_EQ(cc->itemText(1), "Capcode 9 - 16");
    EXPECT_EQ(cc->currentIndex(), 0);
    for (const char* name : {"cboSrcPage", "cboMTPage"}) {
        QComboBox* c = combo(name);
        ASSERT_EQ(c->count(), 4) << name;
        EXPECT_EQ(c->itemText(0), "Capcode 1 - 4");
        EXPECT_EQ(c->itemText(3), "Capcode 13 - 16");
    }
    EXPECT_EQ(combo("cboSrcPage")->maxVisibleItems(), 4);
}

TEST_F(MainWindowTest, LogoLargeFontSizesPromptZeroBoldForSixteenLetters) {
    start();
    auto* prompt0 = win().registry().get<QLineEdit>("edtPrompt", 0);
    auto* prompt1 = win().registry().get<QLineEdit>("edtPrompt", 1);
    auto* prompt3 = win().registry().get<QLineEdit>("edtPrompt", 3);
    ASSERT_TRUE(prompt0 && prompt1 && prompt3);
    box("chkLogoLargeFont")->setChecked(true);
    win().sizeTextFields();
    EXPECT_EQ(prompt0->maxLength(), 16);
    EXPECT_TRUE(prompt0->font().bold());
    const int boldWidth = prompt0->width();
    box("chkLogoLargeFont")->setChecked(false);
    win().sizeTextFields();
    EXPECT_EQ(prompt0->maxLength(), 21);
    EXPECT_FALSE(prompt0->font().bold());
    EXPECT_EQ(prompt3->maxLength(), 18);
    EXPECT_EQ(prompt1->width(), prompt0->width());
    EXPECT_LT(prompt3->width(), prompt1->width());
    EXPECT_NE(boldWidth, prompt0->width());
    // The width is that of the letters in the field's font.
    QFont bold = prompt0->font();
    bold.setBold(true);
    EXPECT_GE(boldWidth, QFontMetrics(bold).horizontalAdvance(QString(17, 'A')));
    auto* logo = win().registry().get<QLineEdit>("txtSource", 32);
    auto* source = win().registry().get<QLineEdit>("txtSource", 31);
    ASSERT_TRUE(logo && source);
    EXPECT_EQ(logo->maxLength(), 16);
    EXPECT_TRUE(logo->font().bold());
    EXPECT_EQ(source->maxLength(), 21);
}

TEST_F(MainWindowTest, SerialFieldsShowHexDigitsAndAValidSerialNumber) {
    start();
    for (std::size_t i = 0; i < layout::kSsn.length; ++i) image().setByte(layout::kSsn.offset + i, i);
    image().setByte(layout::kSsn.offset + 5, 0x1F);
    for (std::size_t i = 0; i < layout::kPsn.length; ++i) image().setByte(layout::kPsn.offset + i, 0x0A);
    StorePagerSerialNumber(image(), "ABC123456789");
    StoreSerialNumberSum(image());
    win().refreshAll();
    EXPECT_EQ(get<QLineEdit>("edtSSN")->text(), "012341F6789ABCDEF");
    EXPECT_EQ(get<QLineEdit>("edtSSN")->text().size(), 17);
    EXPECT_EQ(get<QLineEdit>("edtPSN")->text(), "AAAAAAAAAAAA");
    EXPECT_EQ(get<QLineEdit>("txtSN")->text(), "ABC123456789");
    image().setByte(layout::kPagerSerialSum + 1, image().byte(layout::kPagerSerialSum + 1) ^ 1);
    win().refreshAll();
    EXPECT_EQ(get<QLineEdit>("txtSN")->text(), "");
}

TEST_F(MainWindowTest, RefreshRunsTheEditorsRefreshersInTheirSlotsAndSideEffectsOnChanges) {
    start();
    calls.clear();
    win().refreshAll();
    const auto at = [&](const std::string& c) {
        return std::find(calls.begin(), calls.end(), c) - calls.begin();
    };
    ASSERT_LT(at("refresh capcode-page"), std::ptrdiff_t(calls.size()));
    EXPECT_LT(at("refresh capcode-page"), at("refresh band"));
    EXPECT_LT(at("refresh band"), at("refresh battery-low-tone"));

    // A bound box the refresh changes runs its side effects; one it leaves
    // as it was does not.
    calls.clear();
    const bool was = box("chkKeyboardInterlock")->isChecked();
    image().SetImageBits(0x2F, 7, was ? 1 : 0, 1);  // chkN: flip what it shows
    win().refreshAll();
    EXPECT_EQ(box("chkKeyboardInterlock")->isChecked(), !was);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "changed chkKeyboardInterlock"), 1);
    calls.clear();
    win().refreshAll();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "changed chkKeyboardInterlock"), 0);
}

TEST_F(MainWindowTest, ModulesSharingARefreshSlotRunInTheirDeclaredOrder) {
    start();
    // The window's own modules: "music" before "options" at the bound
    // enabling, as declared, whatever order the module list holds them in.
    std::vector<EditorModule*> modules = win().modules();
    std::reverse(modules.begin(), modules.end());
    std::vector<std::string> names;
    for (const EditorModule* m : ModulesAt(modules, RefreshSlot::BoundEnabling)) names.push_back(m->name());
    EXPECT_EQ(names, (std::vector<std::string>{"music", "options"}));
    // Every slot the program's own modules share has its order declared
    // (the recording modules of this file join slots on purpose).
    std::vector<EditorModule*> own;
    for (EditorModule* m : win().modules())
        if (!dynamic_cast<RecordingModule*>(m)) own.push_back(m);
    EXPECT_EQ(UndeclaredSharedSlot(own), std::nullopt);

    // A module joining a shared slot without a declared place, or two
    // modules sharing a slot nobody ordered, is found; alone it is fine.
    RecordingModule joiner(RefreshSlot::BoundEnabling, "joiner");
    RecordingModule first(RefreshSlot::Contrast, "first"), second(RefreshSlot::Contrast, "second");
    own.push_back(&joiner);
    EXPECT_EQ(UndeclaredSharedSlot(own), RefreshSlot::BoundEnabling);
    EXPECT_EQ(UndeclaredSharedSlot({&first, &second}), RefreshSlot::Contrast);
    EXPECT_EQ(UndeclaredSharedSlot({&first, &joiner}), std::nullopt);
    EXPECT_EQ(ModulesAt({&second, &joiner, &first}, RefreshSlot::Contrast),
              (std::vector<EditorModule*>{&second, &first}));
}

TEST_F(MainWindowTest, BatteryTypeFromTheImageKeepsItsThresholds) {
    start();
    QCheckBox* battery = box(ctl::batteryRechargeable.text);
    for (const int type : {0, 1, 0}) {
        calls.clear();
        image().SetImageBits(layout::kOption4FC, 2, type, 1);
        image().setByte(0x8D, 111);
        image().setByte(0x8E, 121);
        image().setByte(0x8F, 151);
        win().refreshAll();
        EXPECT_EQ(battery->isChecked(), type == 1);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "changed chkCtl22"), 0);
        EXPECT_EQ(image().byte(0x8D), 111);
        EXPECT_EQ(image().byte(0x8E), 121);
        EXPECT_EQ(image().byte(0x8F), 151);
    }
}

TEST_F(MainWindowTest, PageSelectorsBringTheirPageToTheFront) {
    start();
    EXPECT_EQ(win().pages().currentPanel()->objectName(), "panCF");
    EXPECT_TRUE(get<QLabel>("sedtFC")->isHidden());
    win().state().currentPrompt = 7;
    QTest::mouseClick(get<QLabel>("sedtMT"), Qt::LeftButton);
    EXPECT_EQ(win().pages().currentPanel()->objectName(), "pnlMusic");
    EXPECT_EQ(win().state().currentPrompt, -1);
    EXPECT_TRUE(get<QLabel>("sedtMT")->isHidden());
    EXPECT_FALSE(get<QLabel>("sedtFC")->isHidden());
    QTest::mouseClick(get<QLabel>("staticEncryF"), Qt::LeftButton);
    EXPECT_EQ(win().pages().currentPanel()->objectName(), "panAES");
    EXPECT_FALSE(get<QLabel>("sedtMT")->isHidden());
}

TEST_F(MainWindowTest, WriteModeLocksTheEditorsButNotPagesAndMenus) {
    start();
    get<QRadioButton>("RBtWrite")->click();
    EXPECT_TRUE(win().writeMode());
    for (const char* name : {"edtCap0", "cboFreq", "chkCtl15", "txtSource3", "edtAESKey2", "btnFunBit0"})
        EXPECT_FALSE(get<QWidget>(name)->isEnabled()) << name;
    for (const char* name : {"RBtModify", "RBtWrite", "sedtAS", "StaticText6", "staticEncryF", "Edit1"})
        EXPECT_TRUE(get<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(win().action("mnuOpen")->isEnabled());
    EXPECT_TRUE(win().action("mnuWrite")->isEnabled());
    QTest::mouseClick(get<QLabel>("sedtAS"), Qt::LeftButton);
    EXPECT_EQ(win().pages().currentPanel()->objectName(), "panAS");
    // A refresh in Write mode shows the values but unlocks nothing.
    box("chkAlarmMusicType")->setChecked(true);
    win().refreshAll();
    EXPECT_FALSE(get<QWidget>("cboAlarmType0")->isEnabled());

    get<QRadioButton>("RBtModify")->click();
    EXPECT_FALSE(win().writeMode());
    EXPECT_TRUE(get<QWidget>("edtCap0")->isEnabled());
    EXPECT_TRUE(get<QWidget>("chkCtl15")->isEnabled());
    for (int i = 0; i < 18; ++i) EXPECT_FALSE(win().registry().at("btnStop", i)->isEnabled()) << i;
    EXPECT_TRUE(win().registry().at("btnPreview", 17) != nullptr);
}

TEST_F(MainWindowTest, ModifyModeKeepsTheMusicTypeCombosOfUncheckedBoxesLocked) {
    start();
    box("chkAlarmMusicType")->setChecked(false);
    box("chkPriMusicType")->setChecked(true);
    box("chkGupMusicType")->setChecked(false);
    box("chkReminderSelectTone")->setChecked(false);
    get<QRadioButton>("RBtWrite")->click();
    get<QRadioButton>("RBtModify")->click();
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(win().registry().at("cboAlarmType", i)->isEnabled()) << i;
    EXPECT_TRUE(get<QWidget>("cboPriType")->isEnabled());
    EXPECT_FALSE(get<QWidget>("cboGroupType")->isEnabled());
    EXPECT_FALSE(get<QWidget>("lblToneType")->isEnabled());
    box("chkAlarmMusicType")->setChecked(true);
    EXPECT_TRUE(win().registry().at("cboAlarmType", 4)->isEnabled());
}

TEST_F(MainWindowTest, ModifyModeAppliesTheSourceTextRules) {
    start();
    QComboBox* source = combo("cboSource");
    ASSERT_GT(source->count(), 1);
    source->setCurrentIndex(0);
    get<QRadioButton>("RBtWrite")->click();
    get<QRadioButton>("RBtModify")->click();
    EXPECT_FALSE(combo("cboSrcPage")->isEnabled());
    EXPECT_FALSE(win().registry().at("txtSource", 1)->isEnabled());
    source->setCurrentIndex(1);
    auto* enable2 = win().registry().get<QCheckBox>("chkSource", 2);
    ASSERT_NE(enable2, nullptr);
    enable2->setChecked(true);
    win().registry().get<QCheckBox>("chkSource", 4)->setChecked(false);
    get<QRadioButton>("RBtModify")->click();
    EXPECT_TRUE(combo("cboSrcPage")->isEnabled());
    EXPECT_TRUE(win().registry().at("txtSource", 2)->isEnabled());
    EXPECT_TRUE(win().registry().at("txtSource", 3)->isEnabled());
    EXPECT_FALSE(win().registry().at("txtSource", 4)->isEnabled());
    EXPECT_FALSE(win().registry().at("txtSource", 5)->isEnabled());
}

// Keys reach the window as a user's do: through its window handle.
class ScannerTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start();
        win().activateWindow();
        QObject::connect(win().action("mnuWrite"), &QAction::triggered, [this] {
            ++writes;
            keepSerialDuringWrite = win().boardSession().keepsPagerSerial();
        });
        focus = win().registry().get<QLineEdit>("edtCap", 1);
        focus->setFocus();
    }
    void type(const QString& text) {
        for (const QChar c : text) QTest::keyClick(win().windowHandle(), c.toLatin1());
    }
    void enter() { QTest::keyClick(win().windowHandle(), Qt::Key_Return); }
    int writes = 0;
    bool keepSerialDuringWrite = true;
    QLineEdit* focus = nullptr;
};

TEST_F(ScannerTest, ElevenCharactersAndEnterStoreAPaddedSerialAndWrite) {
    type("AB123456789");
    enter();
    EXPECT_EQ(writes, 1);
    EXPECT_FALSE(keepSerialDuringWrite);
    EXPECT_TRUE(win().boardSession().keepsPagerSerial());
    EXPECT_EQ(PagerSerialNumber(image()), "AB123456789 ");
    EXPECT_EQ(get<QLineEdit>("txtSN")->text(), "AB123456789 ");
    EXPECT_TRUE(win().scannerInput().buffer().text().isEmpty());
}

TEST_F(ScannerTest, ThirteenCharactersOrATickBetweenStoreNothing) {
    const std::string before = PagerSerialNumber(image());
    type("ABCDEFGHIJKLM");
    enter();
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(PagerSerialNumber(image()), before);
    EXPECT_EQ(win().scannerInput().buffer().text(), "ABCDEFGHIJKLM");  // kept until the tick
    win().scannerInput().Timer2Timer();
    type("ABCDEF");
    win().scannerInput().Timer2Timer();  // a tick falls between the characters and the Enter
    type("GHIJKL");
    enter();
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(PagerSerialNumber(image()), before);
}

TEST_F(ScannerTest, TwelveTypedCharactersReachTheFocusedFieldToo) {
    type("123456789012");
    EXPECT_EQ(win().scannerInput().buffer().text(), "123456789012");
    enter();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(PagerSerialNumber(image()), "123456789012");
}

TEST_F(MainWindowTest, AdvancePasswordInCapitalsOrLowerCaseOnly) {
    start();
    app::PasswordDialog& dialog = *app_->companions().PasswordDlg1;
    auto* password = dialog.findChild<QLineEdit*>("Password");
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    password->setText("Kv3r8T52");
    dialog.OKBtnClick();
    EXPECT_FALSE(win().state().advanceMode);
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg29"});
    EXPECT_EQ(notifier.shown[0].english, "Password Error!");
    password->setText("kv3r8t52");
    dialog.OKBtnClick();
    EXPECT_TRUE(win().state().advanceMode);
    EXPECT_EQ(password->text(), "kv3r8t52");  // kept for the next showing
}

TEST_F(MainWindowTest, WindowsAreCreatedInTheirStartUpOrder) {
    start(false);
    EXPECT_EQ(app_->companions().creationOrder(),
              (QStringList{"frmOTA", "fm_FunBit", "fm_About", "Form1", "frmAlert", "frmLang", "PasswordDlg1"}));
    EXPECT_EQ(win().objectName(), "fm_Main");
    EXPECT_EQ(win().windowTitle(), "ZRV41K USB Version 1.09");
    EXPECT_EQ(QApplication::applicationName(), "ZR-V41 (USB)");
    EXPECT_FALSE(win().findChild<QMenu*>("mnuTool")->menuAction()->isVisible());
    EXPECT_EQ(win().action("mnuOpen")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(win().action("mnuExit")->shortcut(), QKeySequence("Ctrl+E"));
    EXPECT_EQ(win().action("mnuVerfy")->shortcut(), QKeySequence("F9"));
    // Start-up values of the image that the window itself applies.
    for (std::size_t i = layout::kStartupZeroed.offset; i <= layout::kStartupZeroed.last(); ++i)
        EXPECT_EQ(image().byte(i), 0) << i;
    EXPECT_FALSE(get<QWidget>("sedtMT")->isHidden());
}

TEST_F(MainWindowTest, FunctionBitButtonsSelectTheCapcodeOfTheirRow) {
    start();
    win().state().capcodePage = 1;
    FunctionBitWindow* funBit = app_->companions().fm_FunBit;
    QTimer::singleShot(0, funBit, [funBit] { funBit->accept(); });
    get<QPushButton>("btnFunBit3")->click();
    EXPECT_EQ(funBit->selectedCapcode, 11);
}

TEST_F(MainWindowTest, AboutWindowShowsVersionAndChannelSpacingOfTheMode) {
    options.channelSpacingMode = 1;
    start();
    app::AboutWindow& about = *app_->companions().fm_About;
    about.FormShow();
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), "Version 1.09(2014.12.30)");
    const QString band = combo("cboFreq")->currentText();
    EXPECT_EQ(about.findChild<QLabel*>("lblCS")->text(),
              QString(16, ' ') + band + " : Channel Spacing = 6.25KHz");
}

TEST_F(MainWindowTest, MovingOverThePageBackgroundCommitsTheEdit) {
    start();
    win().activateWindow();
    auto* cap = win().registry().get<QLineEdit>("edtCap", 0);
    cap->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(cap->hasFocus());
    int exits = 0;
    OnExit(cap, [&] { ++exits; });
    QWidget* panel = get<QWidget>("panCF");
    QTest::mouseMove(panel, cap->mapTo(panel, QPoint(cap->width() / 2, cap->height() / 2)));
    EXPECT_TRUE(cap->hasFocus());  // over a control: nothing happens
    QMouseEvent move(QEvent::MouseMove, QPointF(990, 590), panel->mapToGlobal(QPointF(990, 590)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    EXPECT_TRUE(get<QLineEdit>("Edit1")->hasFocus());
    EXPECT_EQ(exits, 1);  // the edit's exit handler ran
}

}  // namespace
}  // namespace zrv::test
