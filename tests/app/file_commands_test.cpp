// File > Open, Save and Save As, the default table at start-up, the window
// caption, and the captions from the language file.
#include <QFontMetrics>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>

#include "core/default_image.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "app/gui_notifier.h"
#include "core/table_file.h"
#include "i18n/message_catalogue.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class FileCommandsTest : public WindowTest {
protected:
    /// A valid full table file made from the start-up image with \p edit.
    std::filesystem::path makeTable(const std::string& name, const std::function<void(ConfigImage&)>& edit = {}) {
        ConfigImage image = StartupImage();
        if (edit) edit(image);
        const auto path = workingDir / name;
        EXPECT_FALSE(SaveTableFile(path, image, 16).has_value());
        return path;
    }
    QString caption() { return win().windowTitle(); }
};

TEST_F(FileCommandsTest, OpenLoadsRefreshesAndNamesTheFileInTheCaption) {
    start();
    const auto path = makeTable("one.tbl", [](ConfigImage& i) {
        i.setByte(0x39, 0xC1);
        i.setByte(layout::kMenuCodes.last(), 0x0B);
    });
    const QString startCaption = caption();
    nextOpen = QString::fromStdString(path.string());
    win().action("mnuOpen")->trigger();
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(caption(), startCaption + " - [" + nextOpen + "]");
    EXPECT_EQ(win().document().fileName().string(), path.string());
    EXPECT_EQ(combo("cboCtl6")->currentIndex(), 1);
    EXPECT_FALSE(box("chkMenu4")->isChecked());
    EXPECT_EQ(image().byte(0x1246), 16);                 // forced after a load
    EXPECT_EQ(image().byte(layout::kOption4F8), 0x29);   // forced by the refresh
    EXPECT_FALSE(get<QWidget>("edtPrompt42")->isHidden());
    EXPECT_EQ(combo("cboCCPage")->count(), 2);

    // A second file replaces only the bracketed name.
    const auto second = makeTable("two.tbl");
    nextOpen = QString::fromStdString(second.string());
    win().action("mnuOpen")->trigger();
    EXPECT_EQ(caption(), startCaption + " - [" + nextOpen + "]");
    EXPECT_EQ(caption().count('['), 1);
}

TEST_F(FileCommandsTest, BrokenFilesLeaveImageControlsAndCaptionUntouched) {
    start();
    const ConfigImage before = image();
    const QString startCaption = caption();
    const bool shownDeleteOff = box("chkCtl15")->isChecked();

    const auto checksum = makeTable("checksum.tbl", [](ConfigImage& i) { i.setByte(0x7E1, 0x00); });
    std::string bytes = ReadFile(checksum);
    bytes[0x36C] ^= 0x01;
    WriteFile(checksum, bytes);
    const auto model = workingDir / "model.tbl";
    std::string other = ReadFile(checksum);
    other[0x3E7] = 'X';
    WriteFile(model, other);
    const auto size = workingDir / "size.tbl";
    WriteFile(size, std::string(22015, '\0'));

    const std::pair<std::filesystem::path, const char*> cases[] = {
        {checksum, "Msg70"}, {model, "Msg45"}, {size, "Msg61"}};
    for (const auto& [path, key] : cases) {
        notifier.shown.clear();
        nextOpen = QString::fromStdString(path.string());
        win().action("mnuOpen")->trigger();
        ASSERT_EQ(notifier.shown.size(), 1u) << key;
        EXPECT_EQ(notifier.shown[0].key, key);
        EXPECT_TRUE(image() == before) << key;
        EXPECT_EQ(caption(), startCaption) << key;
        EXPECT_EQ(box("chkCtl15")->isChecked(), shownDeleteOff) << key;
    }
    EXPECT_EQ(notifier.shown[0].english, "The file size is error !");
    // A refused file does not become the file that Save writes: Save still
    // goes to the table named in the caption, and the refused file is kept.
    EXPECT_EQ(win().document().fileName().string(), (programDir / "default.tbl").string());

    notifier.shown.clear();
    nextOpen.clear();  // cancelled
    win().action("mnuOpen")->trigger();
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_TRUE(image() == before);

    const std::string refused = ReadFile(model);
    win().action("mnuSave")->trigger();
    EXPECT_EQ(ReadFile(model), refused);
    EXPECT_EQ(ReadFile(programDir / "default.tbl").size(), kImageSize);
}

TEST_F(FileCommandsTest, SaveWritesTheDefaultTableUntilAFileIsChosen) {
    start();
    const auto defaultTable = programDir / "default.tbl";
    win().action("mnuSave")->trigger();
    EXPECT_EQ(saveDialogs, 0);
    ASSERT_EQ(ReadFile(defaultTable).size(), kImageSize);
    EXPECT_TRUE(caption().endsWith("[" + QString::fromStdString(defaultTable.string()) + "]"));

    // Save As over a longer file leaves exactly an image, then Open of it
    // gives back the saved image apart from the forced values.
    const auto target = workingDir / "copy";
    WriteFile(workingDir / "copy.tbl", std::string(30000, 'x'));
    nextSave = QString::fromStdString(target.string());
    image().setByte(0x39, 0x81);
    win().action("mnuSaveAs")->trigger();
    const auto saved = workingDir / "copy.tbl";  // the default extension was added
    EXPECT_EQ(win().document().fileName().string(), saved.string());
    EXPECT_EQ(ReadFile(saved).size(), kImageSize);
    const ConfigImage afterSave = image();
    nextOpen = QString::fromStdString(saved.string());
    win().action("mnuOpen")->trigger();
    ConfigImage expected = afterSave;
    int count = 16;
    NormaliseAfterLoad(expected, count);
    ApplyRefreshForcedValues(expected);
    EXPECT_EQ(image().byte(0x39), 0x81);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < kImageSize; ++i) differing += image().byte(i) != expected.byte(i);
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(caption().count('['), 1);

    // A target that cannot be written is told and the image stays.
    nextSave = QString::fromStdString((workingDir / "no/such/folder/x.tbl").string());
    const ConfigImage before = image();
    win().action("mnuSaveAs")->trigger();
    ASSERT_EQ(notifier.keys().back(), "Msg57");
    EXPECT_TRUE(image() == before);
}

TEST_F(FileCommandsTest, DefaultTableLoadsAtStartUpWhenPresent) {
    ConfigImage image = StartupImage();
    image.setByte(0x39, 0xC1);
    ASSERT_FALSE(SaveTableFile(programDir / "default.tbl", image, 16).has_value());
    start();
    EXPECT_EQ(openDialogs, 0);
    EXPECT_EQ(combo("cboCtl6")->currentIndex(), 1);
    EXPECT_TRUE(caption().endsWith("default.tbl]"));
}

TEST_F(FileCommandsTest, WithoutDefaultTableStartUpSelectsGermanPromptsAndLogoFont) {
    start();
    EXPECT_EQ(combo("cboLng")->currentIndex(), 3);
    EXPECT_EQ(combo("cboLogo")->currentIndex(), 3);
    EXPECT_EQ(combo("cboFreq")->currentIndex(), 0);
    EXPECT_EQ(caption(), "ZRV41K USB Version 1.09");
    EXPECT_EQ(win().document().fileName().string(), (programDir / "default.tbl").string());
}

TEST_F(FileCommandsTest, OpenInWriteModeShowsValuesInTheLockedControls) {
    start();
    get<QRadioButton>("RBtWrite")->click();
    nextOpen = QString::fromStdString(makeTable("w.tbl", [](ConfigImage& i) { i.setByte(0x7E1, 0x00); }).string());
    win().action("mnuOpen")->trigger();
    EXPECT_TRUE(box("chkCtl15")->isChecked());
    EXPECT_FALSE(box("chkCtl15")->isEnabled());
    EXPECT_FALSE(get<QWidget>("edtCap0")->isEnabled());
}

// Captions ---------------------------------------------------------------------------

TEST_F(FileCommandsTest, WithoutLanguageFileStartUpWritesEnglishAndKeepsTheDesign) {
    start();
    EXPECT_EQ(ReadFile(workingDir / "Language.ini").find("Language=English"), std::string("[Setting]\r\n").size());
    EXPECT_TRUE(win().action("mnuEnglish")->isChecked());
    EXPECT_FALSE(win().action("mnuGerman")->isChecked());
    EXPECT_EQ(get<QLabel>("sedtFC")->text(), "Freq. && Codes");
}

TEST_F(FileCommandsTest, GermanFromTheLanguageFileAndBackToEnglish) {
    WriteFile(workingDir / "Language.ini",
              "[Setting]\r\nLanguage=German\r\n"
              "[German]\r\nsedtAS=Alarme && Status\r\nmnuOpen=\xD6""ffnen\r\nRBtWrite=Schreiben\r\n"
              "cboCCPageItem0=Rufnummer %d bis %d\r\nlblCCode0=NULL-Test\r\n"
              "[English]\r\nRBtWrite=Write\r\n");
    start();
    EXPECT_TRUE(win().action("mnuGerman")->isChecked());
    EXPECT_EQ(get<QLabel>("sedtAS")->text(), "Alarme && Status");
    EXPECT_EQ(win().action("mnuOpen")->text(), QString::fromUtf8("\xC3\x96""ffnen"));
    EXPECT_EQ(get<QRadioButton>("RBtWrite")->text(), "Schreiben");
    EXPECT_EQ(combo("cboCCPage")->itemText(0), "Rufnummer 1 bis 8");
    win().action("mnuEnglish")->trigger();
    EXPECT_TRUE(win().action("mnuEnglish")->isChecked());
    EXPECT_EQ(get<QRadioButton>("RBtWrite")->text(), "Write");
    EXPECT_EQ(get<QLabel>("sedtAS")->text(), "Alarme && Status");  // [English] lacks it
    EXPECT_NE(ReadFile(workingDir / "Language.ini").find("Language=English"), std::string::npos);
}

TEST_F(FileCommandsTest, CaptionsFromTheLanguageFileAreShownAsWrittenNeverAsMarkup) {
    WriteFile(workingDir / "Language.ini",
              "[Setting]\r\nLanguage=German\r\n"
              "[German]\r\nsedtAS=<b>Alarme</b>\r\nlblTitle=<img src=\"x.png\">\r\n");
    start();
    EXPECT_EQ(get<QLabel>("sedtAS")->text(), "<b>Alarme</b>");
    std::vector<QWidget*> windows{&win()};
    for (QWidget* w : app_->companions().exportOrder()) windows.push_back(w);
    int labels = 0;
    for (QWidget* window : windows) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->objectName().isEmpty() || label->objectName().startsWith("qt_")) continue;
            ++labels;
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        }
    }
    EXPECT_GT(labels, 100);
}

TEST_F(FileCommandsTest, AnotherLanguageAtStartUpKeepsTheDesignedCaptions) {
    WriteFile(workingDir / "Language.ini",
              "[Setting]\r\nLanguage=French\r\n[French]\r\nRBtWrite=Ecrire\r\nMsg29=Mot de passe faux\r\n");
    start();
    EXPECT_EQ(win().state().language, "French");
    EXPECT_FALSE(win().action("mnuEnglish")->isChecked());
    EXPECT_FALSE(win().action("mnuGerman")->isChecked());
    EXPECT_EQ(get<QRadioButton>("RBtWrite")->text(), "Write");
    EXPECT_EQ(win().catalogue().LookupMessage("Msg29", "Password Error!"), "Mot de passe faux");
    EXPECT_EQ(ReadFile(workingDir / "Language.ini").find("Language=English"), std::string::npos);
}

TEST_F(FileCommandsTest, MessageBoxTextComesFromTheCatalogueWithItsArguments) {
    WriteFile(workingDir / "Language.ini",
              "[Setting]\r\nLanguage=German\r\n[German]\r\nMsg45=Die Datei [%s] hat ein falsches Format %s %d!\r\n");
    start(false);
    app::GuiNotifier boxes(&win(), &win().catalogue());
    EXPECT_EQ(boxes.text(NotCorrectFormatMessage("/tmp/a.tbl")),
              "Die Datei [/tmp/a.tbl] hat ein falsches Format %s %d!");  // missing arguments stay literal
    EXPECT_EQ(boxes.text({"Msg999", "Only English", MsgIcon::Exclamation, {}}), "Only English");
    app::GuiNotifier plain(&win(), nullptr);
    EXPECT_EQ(plain.text(SaveErrorMessage()), "Save Error !");
}

TEST_F(FileCommandsTest, MessageBoxesShowTheirTextAsWrittenNeverAsMarkup) {
    WriteFile(workingDir / "Language.ini",
              "[Setting]\r\nLanguage=German\r\n[German]\r\nMsg45=<b>Die Datei</b> [%s] ist falsch\r\n");
    start(false);
    app::GuiNotifier boxes(&win(), &win().catalogue());
    for (const bool question : {false, true}) {
        Qt::TextFormat format = Qt::AutoText;
        QString shown, caption;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                format = box->textFormat();
                shown = box->text();
                caption = box->windowTitle();
                box->reject();
            }
        });
        const Message message = NotCorrectFormatMessage("<i>a</i>.tbl");
        if (question)
            boxes.ask(message);
        else
            boxes.show(message);
        EXPECT_EQ(caption, "ZR-V41K") << question;
        EXPECT_EQ(shown, "<b>Die Datei</b> [<i>a</i>.tbl] ist falsch") << question;
        EXPECT_EQ(format, Qt::PlainText) << question;
    }
    // A short message still gets a box wide enough for the whole caption
    // beside the title bar's buttons, never "ZR…K".
    int width = 0;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            width = box->width();
            box->reject();
        }
    });
    boxes.show({"Msg4", "Write error!", MsgIcon::Exclamation, {}});
    QFont bold = win().font();
    bold.setBold(true);
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance("ZR-V41K") + 120);
}

TEST_F(FileCommandsTest, CaptionExportWritesEveryWindowAndSaysSo) {
    start();
    win().language().btnINI_LangClick();
    ASSERT_FALSE(notifier.shown.empty());
    EXPECT_EQ(notifier.shown.back().english, "Success !");
    const std::string text = ReadFile(programDir / "ZRV37K_Caption.ini");
    EXPECT_NE(text.find("sedtFC\tFreq. && Codes\r\n"), std::string::npos);
    EXPECT_NE(text.find("btnINI_Lang\tLang\r\n"), std::string::npos);
    EXPECT_NE(text.find("mnuOpen\tOpen\r\n"), std::string::npos);
    EXPECT_NE(text.find("cboCtl6Item1\t12 sec\r\n"), std::string::npos);
    EXPECT_NE(text.find("lblCS\t"), std::string::npos);  // the About window follows
    EXPECT_EQ(text.find("RBtWrite\t"), std::string::npos);  // radio buttons are not exported
    EXPECT_LT(text.find("sedtFC\t"), text.find("lblCS\t"));
}

TEST_F(FileCommandsTest, CaptionExportKeepsTheCreationOrderWhateverPageIsInFront) {
    start();
    // Bringing pages to the front reorders the toolkit's child lists.
    for (const char* selector : {"staticEncryF", "sedtPE", "sedtAS"})
        win().pages().pageSelectorClick(get<QLabel>(selector));
    win().language().btnINI_LangClick();
    const std::string text = ReadFile(programDir / "ZRV37K_Caption.ini");
    // The pages were created in this order: alerts, codes, prompts,
    // sources, music, keys; the main window's own controls before them.
    const char* order[] = {"sedtFC\t", "chkManualWEn\t", "lblCCode0\t", "lblPrompt1\t",
                           "chkSource0\t", "lblCapMusic0\t", "lblECAP0\t"};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        ASSERT_NE(text.find(order[i]), std::string::npos) << order[i];
        EXPECT_LT(text.find(order[i]), text.find(order[i + 1])) << order[i] << " / " << order[i + 1];
    }
}

// While another program holds the table file for a change, Save waits for
// it a bounded time and then says the file is in use; nothing is written.
TEST_F(FileCommandsTest, SaveOfAFileAnotherProgramHoldsSaysItIsInUse) {
    start();
    const auto path = makeTable("held.tbl");
    nextOpen = QString::fromStdString(path.string());
    win().action("mnuOpen")->trigger();
    const std::string before = ReadFile(path);
    image().setByte(0x39, 0x81);
    FileLock held;
    ASSERT_EQ(held.lock(path, std::chrono::milliseconds(0)), FileLock::Status::Locked);
    win().action("mnuSave")->trigger();
    ASSERT_FALSE(notifier.shown.empty());
    EXPECT_EQ(notifier.shown.back().key, "MsgFileInUse");
    EXPECT_EQ(notifier.shown.back().args, std::vector<std::string>{path.string()});
    EXPECT_EQ(ReadFile(path), before);
    held.release();
    win().action("mnuSave")->trigger();
    EXPECT_EQ(static_cast<std::uint8_t>(ReadFile(path)[0x39]), 0x81);
}

TEST_F(FileCommandsTest, CaptionExportThatCannotWriteSaysSo) {
    start();
    std::filesystem::create_directory(programDir / "ZRV37K_Caption.ini");  // a folder in its way
    win().language().btnINI_LangClick();
    ASSERT_FALSE(notifier.shown.empty());
    EXPECT_EQ(notifier.shown.back().key, "Msg57");
}

}  // namespace
}  // namespace zrv::test
