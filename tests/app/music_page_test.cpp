// The "Music && Tone" page as a user works it: melodies typed, refused and
// stored, the music page change, the music-type rows, Preview and Stop, the
// alert tone, the reminder duration, the out-of-range timer and the side
// effects of the music check boxes.
#include <QAudioDevice>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/music.h"
#include "core/table_file.h"
#include "editors/control_names.h"
#include "editors/tone_player.h"
#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

constexpr int kUser = 0, kTone1 = 1, kTone2 = 2, kMusic4 = 8;

class MusicPageTest : public WindowTest {
protected:
    /// Starts the window with "Capcode Music Type Enable" checked and the
    /// music page in front; every row of the first page is "User".
    void startOnMusicPage() {
        start();
        image().SetImageBits(0x2F, 0, 0, 1);
        image().SetImageBits(0x458, 2, 0, 1);
        for (int row = 0; row < kMusicRowsPerPage; ++row)
            image().setByte(MusicTypeOffset(0, row), ToneCode(ToneSelector::MusicType, kUser));
        win().refreshAll();
        QTest::mouseClick(get<QLabel>("sedtMT"), Qt::LeftButton);
        ASSERT_EQ(win().pages().currentPanel()->objectName(), "pnlMusic");
        ASSERT_TRUE(win().require(ctl::chkCapMusicType).isChecked());
        player().setTimeScale(0.002);  // a 120 ms note lasts a fraction of a millisecond
        notifier.clear();
    }
    /// Clicks into the box, types \p text and leaves it with \p leave.
    void typeInto(QLineEdit& box, const char* text, Qt::Key leave = Qt::Key_Return) {
        ClickInto(win(), box);
        QTest::keyClicks(&box, QString::fromUtf8(text));
        QTest::keyClick(&box, leave);
        QApplication::processEvents();
    }
    QLineEdit& melody(int row) { return win().require(ctl::family::edtMusicType, row); }
    QComboBox& musicType(int row) { return win().require(ctl::family::cboMusicType, row); }
    QPushButton& preview(int tag) { return win().require(ctl::family::btnPreview, tag); }
    QPushButton& stop(int tag) { return win().require(ctl::family::btnStop, tag); }
    TonePlayer& player() {
        auto* p = win().findChild<TonePlayer*>(QStringLiteral("tonePlayer"));
        EXPECT_NE(p, nullptr);
        return *p;
    }
    MelodyBytes stored(std::size_t offset) { return ReadMelody(image(), offset); }
    bool previewsEnabled(int last) {
        for (int t = 0; t <= last; ++t)
            if (!preview(t).isEnabled()) return false;
        return true;
    }
    bool anyPreviewEnabled(int last) {
        for (int t = 0; t <= last; ++t)
            if (preview(t).isEnabled()) return true;
        return false;
    }
};

// Melody boxes ------------------------------------------------------------------------------

TEST_F(MusicPageTest, TypedNotesAreStoredPaddedWithRestsAndShownSo) {
    startOnMusicPage();
    typeInto(melody(0), "CDE");
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(stored(MelodyOffset(0, 0)), (MelodyBytes{238, 212, 189, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(melody(0).text(), "CDE0000000000000");
    EXPECT_FALSE(melody(0).hasFocus());  // Enter hands the focus to the focus sink
    // The reminder's melody box stores at its own address, left with Tab.
    choose(combo("cboRDC"), 1);
    box("chkReminderSelectTone")->setChecked(true);
    choose(combo("cboRToneType"), kUser);
    typeInto(win().require(ctl::edtReminderMusic), "1101", Qt::Key_Tab);
    EXPECT_EQ(stored(kReminderMelodyOffset), (MelodyBytes{94, 94, 0, 94}));
    EXPECT_EQ(win().require(ctl::edtReminderMusic).text(), "1101000000000000");
}

TEST_F(MusicPageTest, FirstKeyDecidesTheModeAndRefusedKeysAreNotTyped) {
    startOnMusicPage();
    ClickInto(win(), melody(1));
    EXPECT_TRUE(melody(1).text().isEmpty());  // entering empties the box
    QTest::keyClicks(&melody(1), "1A");
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg74"});
    EXPECT_EQ(notifier.shown[0].boxCaption(), "ZRV41K");
    EXPECT_EQ(melody(1).text(), "1");
    // Emptied with Backspace, the box decides again: notes now.
    notifier.clear();
    QTest::keyClick(&melody(1), Qt::Key_Backspace);
    QTest::keyClicks(&melody(1), "A1");
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg55"});
    EXPECT_EQ(melody(1).text(), "A");
    // Editing keys pass without a message; a rest first leaves the mode open.
    notifier.clear();
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_End, Qt::Key_Delete, Qt::Key_Backspace})
        QTest::keyClick(&melody(1), key);
    QTest::keyClicks(&melody(1), "0x");
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg77"});
    QTest::keyClicks(&melody(1), "1");
    QTest::keyClick(&melody(1), Qt::Key_Return);
    EXPECT_EQ(stored(MelodyOffset(0, 1))[1], 94);
    EXPECT_EQ(melody(1).text(), "0100000000000000");
}

TEST_F(MusicPageTest, SeventeenthCharacterIsRefusedAndAPasteKeepsSixteen) {
    startOnMusicPage();
    ClickInto(win(), melody(2));
    QTest::keyClicks(&melody(2), "CDEFGABcdefgabCD");
    EXPECT_TRUE(notifier.shown.empty());
    QTest::keyClicks(&melody(2), "E");
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg77"});
    QTest::keyClick(&melody(2), Qt::Key_Return);
    EXPECT_EQ(melody(2).text(), "CDEFGABcdefgabCD");
    notifier.clear();
    QApplication::clipboard()->setText("gfedcbaGFEDCBAgfedc");
    ClickInto(win(), melody(2));
    QTest::keyClick(&melody(2), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&melody(2), Qt::Key_Return);
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(melody(2).text(), "gfedcbaGFEDCBAgf");
    EXPECT_EQ(stored(MelodyOffset(0, 2))[15], 89);  // "f"
}

TEST_F(MusicPageTest, EmptiedOrPastedNonsenseLeavesTheStoredMelody) {
    startOnMusicPage();
    ASSERT_TRUE(StoreMelody(image(), MelodyOffset(0, 3), "ab").ok);
    win().refreshAll();
    const MelodyBytes before = stored(MelodyOffset(0, 3));
    ClickInto(win(), melody(3));
    QTest::keyClick(&melody(3), Qt::Key_Tab);
    EXPECT_EQ(melody(3).text(), "ab00000000000000");
    EXPECT_TRUE(notifier.shown.empty());
    QApplication::clipboard()->setText("hello");
    ClickInto(win(), melody(3));
    QTest::keyClick(&melody(3), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&melody(3), Qt::Key_Return);
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg77"});
    EXPECT_EQ(melody(3).text(), "ab00000000000000");
    EXPECT_EQ(stored(MelodyOffset(0, 3)), before);
}

// Music pages and types -----------------------------------------------------------------------

TEST_F(MusicPageTest, PageChangeNumbersTheRowsAndShowsThatPagesBytes) {
    startOnMusicPage();
    image().setByte(MusicTypeOffset(1, 0), ToneCode(ToneSelector::MusicType, kMusic4));
    ASSERT_TRUE(StoreMelody(image(), MelodyOffset(1, 5), "GG").ok);
    image().setByte(MusicTypeOffset(1, 5), ToneCode(ToneSelector::MusicType, kUser));
    choose(combo("cboMTPage"), 1);
    EXPECT_EQ(win().state().musicTypePage, 1);
    EXPECT_EQ(get<QLabel>("lblCapMusic0")->text(), "Cap #5: Music Type A");
    EXPECT_EQ(get<QLabel>("lblCapMusic7")->text(), "Cap #6: Music Type D");
    EXPECT_EQ(get<QLabel>("lblCapMusic15")->text(), "Cap #8: Music Type D");
    EXPECT_EQ(musicType(0).currentIndex(), kMusic4);
    EXPECT_TRUE(melody(0).isHidden());
    EXPECT_EQ(melody(5).text(), "GG00000000000000");
    EXPECT_FALSE(melody(5).isHidden());
    // A row typed on page 2 is stored in page 2's bytes.
    typeInto(melody(5), "a");
    EXPECT_EQ(stored(MelodyOffset(1, 5))[0], 70);
    EXPECT_EQ(stored(MelodyOffset(0, 5))[0], image().byte(MelodyOffset(0, 5)));
    choose(combo("cboMTPage"), 0);
    EXPECT_EQ(get<QLabel>("lblCapMusic4")->text(), "Cap #2: Music Type A");
}

TEST_F(MusicPageTest, RowLabelsTakeTheLanguageFilesFormatsAndSurviveBadOnes) {
    useGermanLanguageFile();
    i18n::ProfileFile file(workingDir / i18n::kLanguageFileName);
    ASSERT_TRUE(file.writeString("German", "lblCapMusic1", "Rufnr. #%d: Musikart B"));
    ASSERT_TRUE(file.writeString("German", "lblCapMusic2", "%s%s%n #%d"));
    startOnMusicPage();
    choose(combo("cboMTPage"), 2);
    EXPECT_EQ(get<QLabel>("lblCapMusic1")->text(), "Rufnr. #9: Musikart B");
    // The one number fills the first place; the rest reads no argument.
    EXPECT_EQ(get<QLabel>("lblCapMusic2")->text(), "9%s%n #%d");
    EXPECT_EQ(get<QLabel>("lblCapMusic3")->text(), "Rufnr. #9: Musikart D");  // the factory catalogue's format
}

TEST_F(MusicPageTest, ChoosingAMusicTypeStoresItsCodeAndShowsTheMelodyBoxForUserOnly) {
    startOnMusicPage();
    choose(&musicType(6), kTone1);
    EXPECT_EQ(image().byte(MusicTypeOffset(0, 6)), 0x01);
    EXPECT_TRUE(melody(6).isHidden());
    EXPECT_TRUE(stop(6).isHidden());
    choose(&musicType(6), kUser);
    EXPECT_EQ(image().byte(MusicTypeOffset(0, 6)), 0x08);
    EXPECT_FALSE(melody(6).isHidden());
    EXPECT_FALSE(stop(6).isHidden());
    // The reminder's selector has its own codes.
    box("chkReminderSelectTone")->setChecked(true);
    choose(combo("cboRToneType"), kTone2);
    EXPECT_EQ(image().byte(kReminderToneOffset), 0x09);
    EXPECT_TRUE(win().require(ctl::edtReminderMusic).isHidden());
    choose(combo("cboORAAlert"), kUser);
    EXPECT_EQ(image().byte(kOutOfRangeTypeOffset), 0x08);
    // A code of no item leaves the row as it was and the byte unchanged.
    image().setByte(MusicTypeOffset(0, 6), 0x7E);
    win().refreshAll();
    EXPECT_EQ(musicType(6).currentIndex(), kUser);
    EXPECT_FALSE(melody(6).isHidden());
    EXPECT_EQ(image().byte(MusicTypeOffset(0, 6)), 0x7E);
}

// Preview and Stop ----------------------------------------------------------------------------

TEST_F(MusicPageTest, UserMelodyPlaysUntilStopAndStopRestoresTheButtons) {
    startOnMusicPage();
    typeInto(melody(0), "CCD");
    preview(0).click();
    EXPECT_TRUE(player().playing());
    EXPECT_FALSE(anyPreviewEnabled(16));
    EXPECT_TRUE(preview(17).isEnabled() == win().require(ctl::chkReminderSelectTone).isChecked());
    EXPECT_TRUE(stop(0).isEnabled());
    // "CCD" + 13 rests is three steps; it starts over until stopped.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player().stepsBegun() > 7; }, 10000));
    EXPECT_TRUE(player().playing());
    stop(0).click();
    EXPECT_FALSE(player().playing());
    EXPECT_TRUE(previewsEnabled(15));
    EXPECT_FALSE(stop(0).isEnabled());
    const int begun = player().stepsBegun();
    QTest::qWait(20);
    EXPECT_EQ(player().stepsBegun(), begun);  // nothing more is played
}

TEST_F(MusicPageTest, BuiltInTunePlaysOnceAndThenRestoresTheButtons) {
    startOnMusicPage();
    choose(&musicType(1), kTone1);
    preview(1).click();
    EXPECT_TRUE(player().playing());
    EXPECT_FALSE(anyPreviewEnabled(16));
    EXPECT_TRUE(stop(1).isHidden());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player().playing(); }, 10000));
    EXPECT_EQ(player().stepsBegun(), 6);  // "Tone 1": three notes, three pauses
    EXPECT_TRUE(previewsEnabled(15));
    EXPECT_FALSE(stop(1).isEnabled());
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(MusicPageTest, APreviewWithoutAudioOutputSaysSoOnceInTheStatusLine) {
    useGermanLanguageFile();
    startOnMusicPage();
    player().setOutputLookup([] { return QAudioDevice(); });  // a machine without audio output
    QLabel& status = *get<QLabel>("staMsg");
    preview(0).click();
    EXPECT_TRUE(player().playing()) << "the steps run silently";
    EXPECT_EQ(status.text(), "  Keine Audioausgabe gefunden: die Vorschau bleibt stumm.");
    stop(0).click();
    status.setText(" Message :");  // the line moves on
    preview(0).click();
    stop(0).click();
    EXPECT_EQ(status.text(), " Message :") << "said once per run";
    EXPECT_TRUE(notifier.shown.empty()) << "no message box";
}

TEST_F(MusicPageTest, PriorityAndGroupMusicTypesSayInTheirToolTipThatOnlyOtaCarriesThem) {
    useGermanLanguageFile();
    startOnMusicPage();
    for (const char* name : {"cboPriType", "cboGroupType"}) {
        QComboBox* c = combo(name);
        QHelpEvent hover(QEvent::ToolTip, QPoint(4, 4), c->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(c, &hover);
        EXPECT_EQ(c->toolTip(), "Wird nur mit einem OTA-Befehl gesendet: diese Auswahl wird weder in der "
                                "Tabellendatei gespeichert noch in den Pager geschrieben.")
            << name;
    }
}

TEST_F(MusicPageTest, ReminderPreviewAlsoLocksItsOwnButton) {
    startOnMusicPage();
    choose(combo("cboRDC"), 2);
    box("chkReminderSelectTone")->setChecked(true);
    ASSERT_TRUE(preview(17).isEnabled());
    choose(combo("cboRToneType"), kUser);
    preview(17).click();
    EXPECT_FALSE(anyPreviewEnabled(17));
    EXPECT_TRUE(stop(17).isEnabled());
    stop(17).click();
    EXPECT_TRUE(preview(17).isEnabled());
    EXPECT_FALSE(stop(17).isEnabled());
}

// Check boxes, alert tone, reminder, out-of-range timer ----------------------------------------

TEST_F(MusicPageTest, CapcodeMusicTypeBoxSaysWhetherTheAlertToneIsOffered) {
    startOnMusicPage();
    image().fill(0x78, 7, 0x20);  // every pager menu item off, "Set Alert" too
    win().refreshAll();
    ASSERT_TRUE(box("chkMenu6")->isChecked());
    notifier.clear();
    EXPECT_TRUE(win().require(ctl::cboTone).isHidden());
    box("chkCapMusicType")->click();
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg76"});
    EXPECT_EQ(notifier.shown[0].boxCaption(), "ZR-V41K");
    EXPECT_EQ(image().GetImageBits(0x458, 2, 1), 1);
    EXPECT_EQ(image().GetImageBits(0x2F, 0, 1), 1);
    EXPECT_FALSE(win().require(ctl::cboTone).isHidden());
    EXPECT_FALSE(musicType(3).isEnabled());
    EXPECT_FALSE(preview(3).isEnabled());
    EXPECT_FALSE(combo("cboMTPage")->isEnabled());
    notifier.clear();
    box("chkCapMusicType")->click();
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg75"});
    EXPECT_EQ(image().GetImageBits(0x458, 2, 1), 0);
    EXPECT_TRUE(win().require(ctl::cboTone).isHidden());
    EXPECT_TRUE(musicType(3).isEnabled());
    // A refresh shows the same without a message.
    notifier.clear();
    win().refreshAll();
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_TRUE(win().require(ctl::cboTone).isHidden());

    // A refresh that changes the box runs its click, message and switch
    // included: Open forces the box's own bit (0x2F bit 0) off.
    const auto path = workingDir / "music.tbl";
    ASSERT_FALSE(SaveTableFile(path, image(), 16).has_value());
    nextOpen = QString::fromStdString(path.string());
    win().action("mnuOpen")->trigger();  // the changed image is discarded after the question
    EXPECT_EQ(notifier.keys(), (std::vector<std::string>{"MsgSaveChanges", "Msg76"}));
    EXPECT_FALSE(box("chkCapMusicType")->isChecked());
    EXPECT_EQ(image().GetImageBits(0x458, 2, 1), 1);
    EXPECT_FALSE(win().require(ctl::cboTone).isHidden());
    // New contents that switch it on again: Msg75, the tone hidden.
    notifier.clear();
    image().SetImageBits(0x2F, 0, 0, 1);
    image().SetImageBits(0x458, 2, 0, 1);
    win().refreshAll();
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg75"});
    EXPECT_TRUE(box("chkCapMusicType")->isChecked());
    EXPECT_TRUE(win().require(ctl::cboTone).isHidden());
}

TEST_F(MusicPageTest, WithSetAlertOnTheBoxSaysNothingAndTheToneStaysHidden) {
    startOnMusicPage();
    box("chkMenu6")->setChecked(false);
    notifier.clear();
    box("chkCapMusicType")->click();
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(image().GetImageBits(0x458, 2, 1), 1);
    EXPECT_TRUE(win().require(ctl::cboTone).isHidden());
}

TEST_F(MusicPageTest, AlertToneStoresItsKindAndReminderDurationItsValue) {
    startOnMusicPage();
    choose(combo("cboTone"), 12);  // "Vibration"
    EXPECT_EQ(image().byte(kAlertToneOffset), 0x20);
    EXPECT_EQ(image().byte(kAlertToneKindOffset), 1);
    choose(combo("cboTone"), 5);  // "Music 2"
    EXPECT_EQ(image().byte(kAlertToneOffset), 0x12);
    EXPECT_EQ(image().byte(kAlertToneKindOffset), 0);
    choose(combo("cboRDC"), 4);
    EXPECT_EQ(image().byte(0x53E), 857 & 0xFF);
    EXPECT_EQ(image().byte(0x53F), 857 >> 8);
    image().setByte(0x53E, 29);
    image().setByte(0x53F, 0);
    win().refreshAll();
    EXPECT_EQ(combo("cboRDC")->currentText(), "20 Seconds");
    EXPECT_TRUE(box("chkReminderSelectTone")->isEnabled());
    choose(combo("cboRDC"), 0);
    EXPECT_FALSE(box("chkReminderSelectTone")->isEnabled());
}

TEST_F(MusicPageTest, OutOfRangeTimerAndAlertBoxEnableTheAlertsControls) {
    startOnMusicPage();
    image().setByte(0x3D, 0x06);  // timer bits 1-2 set, timer off
    choose(combo("cboOSC"), 5);   // "15 min"
    EXPECT_EQ(image().byte(0x4FB), 15);
    EXPECT_EQ(image().GetImageBits(0x4FC, 1, 1), 0);
    EXPECT_EQ(image().byte(0x3D), 0x06);
    EXPECT_TRUE(box(ctl::outOfRangeAlert.text)->isEnabled());
    box(ctl::outOfRangeAlert.text)->setChecked(true);
    EXPECT_TRUE(combo("cboORAAlert")->isEnabled());
    EXPECT_TRUE(get<QWidget>("edtPrompt41")->isEnabled());
    box(ctl::outOfRangeAlert.text)->setChecked(false);
    EXPECT_FALSE(combo("cboORAAlert")->isEnabled());
    EXPECT_FALSE(preview(16).isEnabled());
    box(ctl::outOfRangeAlert.text)->setChecked(true);
    choose(combo("cboOSC"), 0);
    EXPECT_FALSE(box(ctl::outOfRangeAlert.text)->isEnabled());
    EXPECT_FALSE(combo("cboORAAlert")->isEnabled());
    EXPECT_FALSE(get<QWidget>("lblPrompt41")->isEnabled());
    EXPECT_EQ(image().GetImageBits(0x3D, 3, 1), 0);
    EXPECT_EQ(image().GetImageBits(0x4FC, 1, 1), 1);
}

}  // namespace
}  // namespace zrv::test
