// The command line's set stores what the window stores: the same file is
// opened in the window, a sample of fields is changed as a user does, and
// saved; `zrv41k-cli set` with the same values must write the same bytes.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/default_image.h"
#include "core/table_file.h"
#include "editors/control_names.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class WindowVersusSetTest : public WindowTest {
protected:
    void openPage(const char* selector) {
        win().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&win()));
        QTest::mouseClick(get<QLabel>(selector), Qt::LeftButton);
        QApplication::processEvents();
    }
    /// Clicks into the box, replaces its text with \p text and leaves it.
    void typeInto(QLineEdit& box, const char* text) {
        ClickInto(win(), box);
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&box, QString::fromUtf8(text));
        QTest::keyClick(&box, Qt::Key_Return);
        QApplication::processEvents();
    }
    void click(const char* name) {
        QCheckBox* b = box(name);
        ASSERT_TRUE(b->isVisible()) << name;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
        QApplication::processEvents();
    }
    /// Saves the start-up image as the table file \p source, starts the
    /// program and opens that file as File > Open does.
    void startWithStartupTable(const std::filesystem::path& source) {
        ConfigImage made = StartupImage();
        ASSERT_FALSE(SaveTableFile(source, made, 16).has_value());
        start();
        nextOpen = QString::fromStdString(source.string());
        win().action("mnuOpen")->trigger();
    }
    /// Saves the window's image with Save As to \p path.
    void saveAs(const std::filesystem::path& path) {
        nextSave = QString::fromStdString(path.string());
        win().action("mnuSaveAs")->trigger();
    }
};

TEST_F(WindowVersusSetTest, ASampleOfFieldsGivesTheSameBytesThroughBothWays) {
    const auto source = workingDir / "source.tbl";
    ASSERT_NO_FATAL_FAILURE(startWithStartupTable(source));
    ASSERT_TRUE(notifier.shown.empty());

    // "Freq. && Codes": an edit, a check box, a hint-bound combo, an ON box.
    openPage("sedtFC");
    typeInto(win().require(ctl::family::edtCap, 2), "4242");
    click("chkBand");
    choose(combo(ctl::baud.text), 2);
    click("chkEnCap1");
    typeInto(win().require(ctl::edtFreq), "1530125");
    // "Alerts && Status": the lockout, a pager menu box, the logo font size
    // with its centring, and the prompt language with its built-in set.
    openPage("sedtAS");
    choose(combo("cboSLC"), 2);
    click("chkMenu6");
    click("chkLogoLargeFont");
    choose(combo("cboLng"), 0);
    click("chkCtl11");
    // "Prompts Edit": a prompt with leading spaces.
    openPage("sedtPE");
    typeInto(win().require(ctl::family::edtPrompt, 5), "  ZOOM");
    // The music page: the capcode music switch (Msg75 while "Set Alert" is
    // off), then a row's type and its melody.
    openPage("sedtMT");
    notifier.clear();
    click("chkCapMusicType");
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg75"});
    choose(&win().require(ctl::family::cboMusicType, 1), 0);
    typeInto(win().require(ctl::family::edtMusicType, 1), "CDEfg");
    const auto windowSaved = workingDir / "window.tbl";
    saveAs(windowSaved);

    const auto cliSaved = workingDir / "cli.tbl";
    const auto r = RunProgram("zrv41k-cli",
                              {"set", source.string(), "-o", cliSaved.string(), "capcode.3=4242", "narrowband=off",
                               "baud=2400 bps", "capcode.2.on=on", "frequency=1530125", "lockout=60 seconds",
                               "menu.alert-off=on", "logo.large-font=off", "prompt.language=English",
                               "long-message-control=on", "prompt.5=  ZOOM", "music.capcode-enable=on",
                               "music.1.B.type=User", "music.1.B.melody=CDEfg"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "warning: Msg75: Default tones selection will be disable !\n");
    const std::string a = ReadFile(windowSaved);
    const std::string b = ReadFile(cliSaved);
    ASSERT_EQ(a.size(), kImageSize);
    ASSERT_EQ(b.size(), kImageSize);
    for (std::size_t k = 0; k < a.size(); ++k)
        EXPECT_EQ(static_cast<int>(static_cast<std::uint8_t>(a[k])), static_cast<int>(static_cast<std::uint8_t>(b[k])))
            << "byte 0x" << std::hex << k;
    EXPECT_NE(a, ReadFile(source)) << "the sample changed the file";
}

TEST_F(WindowVersusSetTest, SetAlertBackOnThePagersMenuStoresToneOneThroughBothWays) {
    const auto source = workingDir / "source.tbl";
    ASSERT_NO_FATAL_FAILURE(startWithStartupTable(source));
    openPage("sedtAS");
    click("chkMenu6");  // "Set Alert Off" offers the fixed alert tone
    QComboBox& tone = win().require(ctl::cboTone);
    ASSERT_TRUE(tone.isVisible());
    choose(&tone, 5);  // "Music 2"
    ASSERT_EQ(image().byte(0x2E), 0x12);
    click("chkMenu6");  // "Set Alert" back on the pager's menu
    EXPECT_FALSE(tone.isVisible());
    EXPECT_EQ(tone.currentText(), "Tone 1");
    EXPECT_EQ(image().byte(0x2E), 0x01);
    EXPECT_EQ(image().byte(0x4F9), 0);
    const auto windowSaved = workingDir / "window.tbl";
    saveAs(windowSaved);

    const auto cliSaved = workingDir / "cli.tbl";
    const auto r = RunProgram("zrv41k-cli", {"set", source.string(), "-o", cliSaved.string(), "menu.alert-off=on",
                                             "alert-tone=Music 2", "menu.alert-off=off"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string b = ReadFile(cliSaved);
    ASSERT_EQ(b.size(), kImageSize);
    EXPECT_EQ(static_cast<std::uint8_t>(b[0x2E]), 0x01);
    EXPECT_EQ(static_cast<std::uint8_t>(b[0x4F9]), 0);
    EXPECT_EQ(ReadFile(windowSaved), b);
}

}  // namespace
}  // namespace zrv::test
