// The "Freq. && Codes" page as a user meets it: the R/W password box and the
// alert-length strip of "Message Type Status".
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "editors/control_names.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class FreqCodesPageTest : public WindowTest {
protected:
    /// Clicks into the box (entering it), types \p text and presses Enter,
    /// which moves the focus to the focus sink and leaves the box.
    void typeInto(QLineEdit& box, const char* text) {
        win().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&win()));
        QTest::mouseClick(&box, Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_TRUE(box.hasFocus());
        QTest::keyClicks(&box, QString::fromUtf8(text));
        win().commitEditing();
        QApplication::processEvents();
    }
};

TEST_F(FreqCodesPageTest, PasswordBoxStoresSixCharactersAndRefusesFiveWithMsg30) {
    start();
    QLineEdit& box = win().require(ctl::textPass);
    EXPECT_EQ(box.text(), "000000");
    typeInto(box, "654321");
    EXPECT_TRUE(notifier.shown.empty());
    for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(image().byte(0xFC3 + k), "654321"[k]) << k;

    const ConfigImage before = image();
    typeInto(box, "12345");
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"Msg30"});
    EXPECT_EQ(notifier.shown[0].english, "Password must 6 digits only!");
    EXPECT_TRUE(image() == before);
    EXPECT_EQ(box.text(), "654321");  // the stored password again
}

TEST_F(FreqCodesPageTest, AlertStripShowsTheDefaultImageAndFollowsALoadedOne) {
    start();
    EXPECT_EQ(win().require(ctl::family::lblLength, 0).text(), "08");
    for (int tag = 1; tag <= 15; ++tag) EXPECT_EQ(win().require(ctl::family::lblLength, tag).text(), "--") << tag;
    image().setByte(0x90, 0);     // continuous personal alert
    image().setByte(0x37, 0x04);  // mail drop 3 on ...
    image().setByte(0x93, 16);    // ... for 16 seconds
    win().refreshAll();
    EXPECT_EQ(win().require(ctl::family::lblLength, 0).text(), "CT");
    EXPECT_EQ(win().require(ctl::family::lblLength, 3).text(), "16");
    image().setByte(0x90, 5);     // no code: the label keeps what it showed
    win().refreshAll();
    EXPECT_EQ(win().require(ctl::family::lblLength, 0).text(), "CT");
}

}  // namespace
}  // namespace zrv::test
