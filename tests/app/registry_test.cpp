// The control registry: families by name prefix, indexed by Tag, on a
// synthetic form and on the real main window.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "editors/control_registry.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

QWidget* Add(QWidget* form, QWidget* w, const char* name, int tag) {
    w->setParent(form);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", tag);
    return w;
}

TEST(ControlRegistry, FilesByFirstMatchingPrefixAtTagAndLaterReplacesEarlier) {
    TestApp();
    QWidget form;
    auto* manualWrite = Add(&form, new QCheckBox, "chkManualWEn", 0);
    auto* manu0 = Add(&form, new QCheckBox, "chkManu0", 0);
    auto* manu7 = Add(&form, new QCheckBox, "chkManu7", 7);
    auto* menu4 = Add(&form, new QCheckBox, "chkMenu4", 4);
    auto* ctl22 = Add(&form, new QCheckBox, "chkCtl22", 22);
    auto* cap3 = Add(&form, new QLineEdit, "edtCap3", 3);
    auto* source5 = Add(&form, new QLineEdit, "txtSource5", 5);
    auto* nested = Add(Add(&form, new QWidget, "panX", 0), new QLabel, "lblCCode2", 2);
    Add(&form, new QLabel, "lblOther", 1);
    Add(&form, new QLineEdit, "edtBad", -1);
    Add(&form, new QLineEdit, "edtPrompt9", 9999);  // beyond any family's size

    ControlRegistry registry;
    registry.build(&form);
    EXPECT_EQ(registry.at("chkManu", 0), manu0);  // chkManualWEn was replaced
    EXPECT_NE(registry.at("chkManu", 0), manualWrite);
    EXPECT_EQ(registry.at("chkManu", 7), manu7);
    EXPECT_EQ(registry.at("chkManu", 3), nullptr);
    EXPECT_EQ(registry.at("chkMenu", 4), menu4);   // not taken by chkManu
    EXPECT_EQ(registry.at("chkCtl", 22), ctl22);
    EXPECT_EQ(registry.get<QLineEdit>("edtCap", 3), cap3);
    EXPECT_EQ(registry.at("txtSource", 5), source5);
    EXPECT_EQ(registry.at("lblCCode", 2), nested);  // found on a panel too
    EXPECT_EQ(registry.at("edtPrompt", 9), nullptr);
    EXPECT_EQ(registry.at("nosuch", 0), nullptr);
    EXPECT_EQ(registry.at("edtCap", -1), nullptr);
    EXPECT_EQ(ControlRegistry::FamilyOf("chkManualWEn"), "chkManu");
    EXPECT_EQ(ControlRegistry::FamilyOf("chkEnCap0"), "chkEnCap");
    EXPECT_EQ(ControlRegistry::FamilyOf("lblOther"), "");
}

TEST(ControlRegistry, CreationOrderDecidesWhoKeepsTheIndex) {
    TestApp();
    QWidget form;
    auto* manu0 = Add(&form, new QCheckBox, "chkManu0", 0);
    Add(&form, new QCheckBox, "chkManualWEn", 0);  // created after: it wins
    ControlRegistry registry;
    registry.build(&form);
    EXPECT_NE(registry.at("chkManu", 0), manu0);
    EXPECT_EQ(registry.at("chkManu", 0)->objectName(), "chkManualWEn");
}

class WindowRegistry : public WindowTest {};

// Every family of the main window is complete: a missing or mistagged
// control on a page would leave a hole that a shared handler falls into.
TEST_F(WindowRegistry, EveryFamilyHasAllItsMembersUnderTheirOwnNames) {
    start(false);
    const struct {
        const char* family;
        int first;
        int last;
    } families[] = {
        {"edtCap", 0, 7},       {"edtDisp", 0, 7},      {"edtType", 0, 7},     {"edtPri", 0, 7},
        {"edtPrompt", 0, 43},      {"lblLength", 0, 15},  {"cboBatLev", 0, 5},
        {"chkMenu", 0, 7},      {"chkSource", 0, 31},   {"cboMusicType", 0, 15}, {"cboAlarmType", 0, 4},
        {"txtSource", 0, 33},   {"edtMusicType", 0, 15}, {"btnPreview", 0, 17}, {"btnStop", 0, 17},
        {"lblCapMusic", 0, 15}, {"edtAESKey", 0, 15},   {"cboAESKey", 0, 31},  {"lblCCode", 0, 7},
        {"lblECAP", 0, 7},      {"chkManu", 0, 7},      {"chkEnCap", 0, 7},
    };
    const auto& registry = win().registry();
    for (const auto& f : families) {
        for (int tag = f.first; tag <= f.last; ++tag) {
            QWidget* w = registry.at(f.family, tag);
            ASSERT_NE(w, nullptr) << f.family << tag;
            if (std::string_view(f.family) == "cboAESKey")
                EXPECT_TRUE(w->objectName().startsWith(f.family)) << f.family << tag;
            else
                EXPECT_EQ(w->objectName(), QString("%1%2").arg(f.family).arg(tag));
        }
    }
    // The option boxes are numbered by their Tag, with gaps.
    for (const int tag : {0, 10, 11, 12, 14, 15, 16, 17, 18, 22}) {
        QWidget* w = registry.at("chkCtl", tag);
        ASSERT_NE(w, nullptr) << tag;
        EXPECT_EQ(w->objectName(), QString("chkCtl%1").arg(tag));
    }
    EXPECT_EQ(registry.at("chkManu", 0)->objectName(), "chkManu0");
}

}  // namespace
}  // namespace zrv::test
