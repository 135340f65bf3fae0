// Pieces of the window that work without it: proportional rescaling, the
// scanner buffer, the command line.
#include <QLabel>
#include <QPushButton>

#include "app/application.h"
#include "ui/kit/proportional_rescaler.h"
#include "app/scanner_input.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

TEST(ProportionalRescaler, HalfSizeHalvesGeometryAndFontsTruncatingTowardZero) {
    TestApp();
    QWidget form;
    form.resize(1000, 600);
    auto* wide = new QPushButton(&form);
    wide->setObjectName("btnWide");
    wide->setGeometry(101, 51, 200, 25);
    QFont nine = wide->font();
    nine.setPointSize(9);
    wide->setFont(nine);
    auto* thin = new QLabel(&form);
    thin->setObjectName("lblThin");
    thin->setGeometry(3, 3, 3, 3);
    auto* unnamed = new QLabel(&form);
    unnamed->setGeometry(10, 10, 40, 40);

    kit::ProportionalRescaler rescaler;
    rescaler.remember(&form);
    form.resize(500, 300);
    rescaler.apply(form.size());
    EXPECT_EQ(wide->geometry(), QRect(50, 25, 100, 12));
    EXPECT_EQ(wide->font().pointSize(), 4);
    EXPECT_EQ(thin->geometry(), QRect(1, 1, 1, 1));
    EXPECT_EQ(unnamed->geometry(), QRect(10, 10, 40, 40));  // not a form component

    // Scaling works from the design values, so going back restores them.
    form.resize(1000, 600);
    rescaler.apply(form.size());
    EXPECT_EQ(wide->geometry(), QRect(101, 51, 200, 25));
    EXPECT_EQ(wide->font().pointSize(), 9);

    // The font follows the smaller ratio; a font below one point is refused.
    rescaler.apply(QSize(2000, 660));
    EXPECT_EQ(wide->geometry(), QRect(202, 56, 400, 27));
    EXPECT_EQ(wide->font().pointSize(), 9);
    rescaler.apply(QSize(100, 60));
    EXPECT_EQ(wide->width(), 20);
    EXPECT_EQ(wide->font().pointSize(), 9);
}

TEST_F(WindowTest, MainWindowRescalesToHalfItsDesignSize) {
    start();
    QWidget* client = win().centralWidget();
    const QSize design = win().pages().designSize();
    auto* cap = win().registry().at("edtCap", 0);
    const QRect before = cap->geometry();
    client->resize(design / 2);
    QApplication::processEvents();
    EXPECT_EQ(cap->width(), kit::ProportionalRescaler::Scaled(before.width(), 0.5));
    EXPECT_EQ(cap->x(), before.x() / 2);
    EXPECT_EQ(cap->font().pointSize(), 4);
    EXPECT_EQ(win().find<QWidget>("panCF")->width(), 500);
    EXPECT_FALSE(win().find<QWidget>("panCF")->isHidden());  // shown again after scaling
}

TEST(ScannerBuffer, PadsElevenTakesTwelveAndKeepsOtherLengths) {
    app::ScannerBuffer b;
    b.append("ABCDEFGHIJK");
    const auto eleven = b.enter();
    ASSERT_TRUE(eleven);
    EXPECT_EQ(*eleven, "ABCDEFGHIJK ");
    b.clear();
    b.append("A\tB\bC");  // control characters are no part of a serial number
    EXPECT_EQ(b.text(), "ABC");
    EXPECT_FALSE(b.enter());
    EXPECT_EQ(b.text(), "ABC");
    b.append("DEFGHIJKLM");
    EXPECT_FALSE(b.enter());  // 13
    EXPECT_EQ(b.text().size(), 13);
}

TEST(CommandLine, PortsRepeatAndChannelSpacingTakesThreeModes) {
    QString error;
    auto line = app::ParseCommandLine({"--port", "/dev/ttyUSB3", "--port=/tmp/pty1", "--channel-spacing", "2"},
                                      error);
    ASSERT_TRUE(line) << error.toStdString();
    EXPECT_EQ(line->ports, (std::vector<std::string>{"/dev/ttyUSB3", "/tmp/pty1"}));
    EXPECT_EQ(line->channelSpacingMode, 2);
    EXPECT_EQ(app::ParseCommandLine({}, error)->channelSpacingMode, 0);
    for (const QStringList& bad : {QStringList{"--channel-spacing", "3"}, QStringList{"--port"},
                                   QStringList{"--portx", "a"}, QStringList{"--frobnicate"},
                                   QStringList{"--channel-spacing=-1"}}) {
        error.clear();
        EXPECT_FALSE(app::ParseCommandLine(bad, error)) << bad.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

}  // namespace
}  // namespace zrv::test
