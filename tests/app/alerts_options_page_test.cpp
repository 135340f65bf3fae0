// The option settings of the "Alerts && Status" page as a user works them:
// the lockout selector, the pager menu boxes, the battery thresholds and the
// battery type, the contrast slider and the manual-write boxes.
#include <QSlider>
#include <QTest>

#include "core/default_image.h"
#include "core/table_file.h"
#include "editors/control_names.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class AlertsOptionsPageTest : public WindowTest {
protected:
    /// Starts the window and brings the "Alerts && Status" page to the front.
    void startOnPage() {
        start();
        win().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&win()));
        QTest::mouseClick(get<QLabel>("sedtAS"), Qt::LeftButton);
        ASSERT_EQ(win().pages().currentPanel()->objectName(), "panAS");
    }
    /// Opens a table file made from the start-up image with \p edit, as File > Open does.
    void open(const std::function<void(ConfigImage&)>& edit) {
        ConfigImage made = StartupImage();
        edit(made);
        const auto path = workingDir / "options.tbl";
        ASSERT_FALSE(SaveTableFile(path, made, 16).has_value());
        nextOpen = QString::fromStdString(path.string());
        win().action("mnuOpen")->trigger();
        ASSERT_TRUE(notifier.shown.empty());
    }
    void click(QCheckBox* b) {
        ASSERT_TRUE(b->isVisible()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    std::vector<std::uint8_t> menuList() {
        const auto r = image().range(0x78, 7);
        return {r.begin(), r.end()};
    }
    QComboBox& threshold(int tag) { return win().require(ctl::family::cboBatLev, tag); }
};

TEST_F(AlertsOptionsPageTest, LockoutOfTheLongestTimeKeepsTheStepAndShowsAfterARefresh) {
    startOnPage();
    QComboBox* lockout = combo("cboSLC");
    EXPECT_EQ(lockout->currentText(), "Disable");
    choose(lockout, 2);  // "60 seconds"
    EXPECT_EQ(image().byte(0x3C) & 0x0F, 0x09);
    choose(lockout, 5);  // "240 seconds"
    EXPECT_EQ(image().byte(0x3C) & 0x0F, 0x0D);  // bits 0-1 still 1, bits 2 and 3 set
    lockout->setCurrentIndex(0);
    win().refreshAll();
    EXPECT_EQ(lockout->currentText(), "240 seconds");
}

TEST_F(AlertsOptionsPageTest, MenuBoxesWriteTheListOfTheItemsThatStayOn) {
    startOnPage();
    EXPECT_TRUE(box("chkMenu4")->isChecked());  // the default list lacks "Auto Sleep"
    EXPECT_TRUE(box("chkMenu4")->isHidden());
    image().SetImageBits(0x3D, 5, 0, 1);
    click(box("chkMenu2"));  // "Set Time Off"
    EXPECT_TRUE(box("chkMenu2")->isChecked());
    EXPECT_EQ(menuList(), (std::vector<std::uint8_t>{0x20, 0x07, 0x08, 0x0A, 0x0C, 0x0D, 0x0E}));
    EXPECT_EQ(image().GetImageBits(0x3D, 5, 1), 1u);  // the menu-list flag
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(AlertsOptionsPageTest, UncheckingTheLastOffItemIsRefusedWithMsg42AndTheBoxIsCheckedAgain) {
    startOnPage();
    // Every item on but "CAP-ON": the hidden "Auto Sleep Off" comes unchecked.
    open([](ConfigImage& i) {
        const std::uint8_t list[] = {0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D};
        i.write(0x78, list);
    });
    EXPECT_FALSE(box("chkMenu4")->isChecked());
    EXPECT_TRUE(box("chkMenu7")->isChecked());
    const ConfigImage before = image();
    click(box("chkMenu7"));
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg42"});
    EXPECT_EQ(notifier.shown[0].english, "You must disable one option !");
    EXPECT_EQ(notifier.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(notifier.shown[0].boxCaption(), "ZR-V41K");
    EXPECT_TRUE(box("chkMenu7")->isChecked());
    EXPECT_TRUE(image() == before);
}

TEST_F(AlertsOptionsPageTest, SetAlertOffShowsTheAlertToneSelector) {
    startOnPage();
    ASSERT_FALSE(box("chkCapMusicType")->isChecked());
    EXPECT_FALSE(combo("cboTone")->isVisible());
    click(box("chkMenu6"));
    EXPECT_TRUE(combo("cboTone")->isVisible());
    click(box("chkMenu6"));
    EXPECT_FALSE(combo("cboTone")->isVisible());
}

TEST_F(AlertsOptionsPageTest, TheTrioOfTheBatteryTypeInForceIsShownWithTheStoredItems) {
    startOnPage();
    // The default image: rechargeable, with standard-row values: no item shown.
    for (int tag = 0; tag < 3; ++tag) {
        EXPECT_TRUE(threshold(tag).isVisible()) << tag;
        EXPECT_EQ(threshold(tag).currentIndex(), -1) << tag;
        EXPECT_FALSE(threshold(tag + 3).isVisible()) << tag;
    }
    open([](ConfigImage& i) { i.SetImageBits(0x4FC, 2, 0, 1); });  // standard cell
    EXPECT_FALSE(box(ctl::batteryRechargeable.text)->isChecked());
    EXPECT_EQ(image().byte(0x8D), 121);  // the thresholds that came with the file stay
    for (int tag = 0; tag < 3; ++tag) EXPECT_FALSE(threshold(tag).isVisible()) << tag;
    EXPECT_EQ(threshold(3).currentText(), "1.19V");
    EXPECT_EQ(threshold(4).currentText(), "1.29V");
    EXPECT_EQ(threshold(5).currentText(), "1.39V");

    choose(&threshold(5), 2);  // High "1.48V"
    EXPECT_EQ(image().byte(0x8F), 151);
    EXPECT_TRUE(notifier.shown.empty());
    choose(&threshold(4), 2);  // Med "1.48V" as well: out of order
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg41"});
    EXPECT_EQ(notifier.shown[0].english, "Waring ! You must let ( Level-High > Level-Med > Level-Low ).");
    EXPECT_EQ(notifier.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(image().byte(0x8E), 151);  // kept for the user to correct
    EXPECT_EQ(image().byte(0x8F), 151);
    notifier.clear();
    choose(&threshold(4), 3);  // "1.43V" puts it right
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(image().byte(0x8E), 146);

    // A value the row lacks clears the item rather than keep a stale one.
    image().setByte(0x8E, 150);
    win().refreshAll();
    EXPECT_EQ(threshold(4).currentIndex(), -1);
    EXPECT_EQ(image().byte(0x8E), 150);
}

TEST_F(AlertsOptionsPageTest, AChangedBatteryTypeBringsItsDefaultThresholds) {
    startOnPage();
    image().setByte(0x530, 7);
    image().setByte(0x531, 9);
    box(ctl::batteryRechargeable.text)->setChecked(false);  // the hidden box: the only way to change the type
    EXPECT_EQ(image().GetImageBits(0x4FC, 2, 1), 0u);
    EXPECT_EQ(image().byte(0x530), 0);
    EXPECT_EQ(image().byte(0x531), 0);
    EXPECT_EQ(threshold(3).currentText(), "1.19V");
    EXPECT_EQ(threshold(5).currentText(), "1.39V");
    EXPECT_TRUE(threshold(3).isVisible());
    box(ctl::batteryRechargeable.text)->setChecked(true);
    EXPECT_EQ(image().byte(0x8D), 204);
    EXPECT_EQ(image().byte(0x8E), 218);
    EXPECT_EQ(image().byte(0x8F), 225);
    EXPECT_EQ(threshold(0).currentText(), "2.40V");
    EXPECT_EQ(threshold(1).currentText(), "2.55V");
    EXPECT_EQ(threshold(2).currentText(), "2.65V");
    EXPECT_FALSE(threshold(3).isVisible());
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(AlertsOptionsPageTest, TheContrastSliderMovedByKeyboardStoresItsPosition) {
    startOnPage();
    auto* slider = get<QSlider>("TrackBar1");
    EXPECT_EQ(slider->value(), 4);
    slider->setFocus(Qt::TabFocusReason);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(slider->value(), 6);
    EXPECT_EQ(image().byte(0x89), 6);
    EXPECT_EQ(get<QLabel>("lblValue")->text(), "6");
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(image().byte(0x89), 8);
    EXPECT_EQ(win().state().contrast, 8);

    // A byte outside 1..8 shows at the nearer end and is not written back.
    open([](ConfigImage& i) { i.setByte(0x89, 0); });
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(get<QLabel>("lblValue")->text(), "1");
    EXPECT_EQ(image().byte(0x89), 0);
    image().setByte(0x89, 0x20);
    win().refreshAll();
    EXPECT_EQ(slider->value(), 8);
    EXPECT_EQ(image().byte(0x89), 0x20);
    QTest::keyClick(slider, Qt::Key_Left);  // the user's move stores a valid byte
    EXPECT_EQ(image().byte(0x89), 7);
}

TEST_F(AlertsOptionsPageTest, ManualWriteBoxesStoreTheirOwnBits) {
    startOnPage();
    const std::uint8_t b36 = image().byte(0x36), b3d = image().byte(0x3D);
    click(box("chkManualWEn"));
    EXPECT_EQ(image().byte(0x3D), b3d & ~0x10);  // checked: bit 4 cleared
    click(box("chkManualWEn"));
    EXPECT_EQ(image().byte(0x3D), b3d);  // unchecked sets bit 4 again
    click(box("chkPwdREn"));
    EXPECT_EQ(image().byte(0x36), b36 | 0x02);
    win().refreshAll();
    EXPECT_TRUE(box("chkPwdREn")->isChecked());
    EXPECT_FALSE(box("chkManualWEn")->isChecked());
}

}  // namespace
}  // namespace zrv::test
