// Checks the six main-window page designs against the control lists of the
// main window, binding and editor descriptions: names, designed classes,
// Tags, binding hints, captions, items, lengths, design-time states, the
// registry families, and a layout that stays readable.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringList>

#include <algorithm>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/kit/caption_fit.h"
#include "app/pages/pages.h"
#include "core/field_table.h"
#include "i18n/captions.h"
#include "i18n/profile_file.h"
#include "tests/support/test_support.h"

namespace zrv::pages {
namespace {

QString Prop(const QWidget* w, const char* name) { return w->property(name).toString(); }
int TagOf(const QWidget* w) { return w->property("Tag").toInt(); }

/// The six pages created in the main window's order, with every designed
/// control found by name.
class Pages : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        for (PageId id : kCreationOrder) CreatePage(id, window.get());
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->property("designedClass").isValid()) continue;
            ordered.push_back(w);
            const std::string name = w->objectName().toStdString();
            EXPECT_FALSE(name.empty()) << "a designed control has no name";
            EXPECT_TRUE(byName.emplace(name, w).second) << "name used twice: " << name;
        }
    }
    QWidget* Get(const std::string& name) {
        auto it = byName.find(name);
        if (it == byName.end()) {
            ADD_FAILURE() << "missing control " << name;
            static QWidget dummy;
            return &dummy;
        }
        return it->second;
    }
    bool Has(const std::string& name) const { return byName.count(name) != 0; }
    QString PageOf(QWidget* w) {
        while (w->parentWidget() && w->parentWidget() != window.get()) w = w->parentWidget();
        return w->objectName();
    }
    bool Inside(QWidget* w, const std::string& container) {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (p->objectName().toStdString() == container) return true;
        return false;
    }
    QStringList Items(const std::string& name) {
        QStringList out;
        if (auto* c = qobject_cast<QComboBox*>(Get(name)))
            for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
    QString Caption(const std::string& name) {
        QWidget* w = Get(name);
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        return {};
    }

    std::unique_ptr<QWidget> window;
    std::vector<QWidget*> ordered;  // creation order
    std::map<std::string, QWidget*> byName;
};

TEST_F(Pages, EachPageIsAnOpaqueFrameOfDesignSizeNamedForItsPanel) {
    const std::map<PageId, std::string> names{{PageId::CF, "panCF"},     {PageId::AS, "panAS"},
                                              {PageId::PE, "panPE"},     {PageId::Source, "pnlSource"},
                                              {PageId::Music, "pnlMusic"}, {PageId::AES, "panAES"}};
    for (auto [id, name] : names) {
        EXPECT_EQ(PanelName(id), name);
        QWidget* page = Get(name);
        EXPECT_NE(qobject_cast<QFrame*>(page), nullptr) << name;
        EXPECT_EQ(page->parentWidget(), window.get()) << name;
        EXPECT_EQ(page->size(), QSize(kPageWidth, kPageHeight)) << name;
        // Pages are stacked: the one in front must hide the others.
        EXPECT_TRUE(page->autoFillBackground()) << name;
    }
}

TEST_F(Pages, DesignedClassMatchesTheQtClass) {
    const std::map<QString, const char*> qt{
        {"TLabel", "QLabel"},       {"TStaticText", "QLabel"},   {"TGroupBox", "QGroupBox"},
        {"TCheckBox", "QCheckBox"}, {"TRadioButton", "QRadioButton"}, {"TButton", "QPushButton"},
        {"TBitBtn", "QPushButton"}, {"TComboBox", "QComboBox"},  {"TEdit", "QLineEdit"},
        {"TTrackBar", "QSlider"},   {"TPanel", "QFrame"}};
    for (QWidget* w : ordered) {
        auto it = qt.find(Prop(w, "designedClass"));
        ASSERT_NE(it, qt.end()) << w->objectName().toStdString();
        EXPECT_STREQ(w->metaObject()->className(), it->second) << w->objectName().toStdString();
        // A caption from a language file is shown as it is, never as markup.
        if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(l->textFormat(), Qt::PlainText) << w->objectName().toStdString();
        }
        // The class is implied by the name prefix.
        const QString n = w->objectName();
        if (n.startsWith("edt") || n.startsWith("txt")) {
            EXPECT_EQ(Prop(w, "designedClass"), "TEdit") << n.toStdString();
        }
        if (n.startsWith("cbo")) {
            EXPECT_EQ(Prop(w, "designedClass"), "TComboBox") << n.toStdString();
        }
        if (n.startsWith("chk") || n.startsWith("opt") || n.startsWith("CheckBox")) {
            EXPECT_EQ(Prop(w, "designedClass"), "TCheckBox") << n.toStdString();
        }
        if (n.startsWith("lbl")) {
            EXPECT_EQ(Prop(w, "designedClass"), "TLabel") << n.toStdString();
        }
    }
}

struct Binding {
    int offset, bit, width;
    const char* kind;
    const char* name;
    const char* caption;  // caption of a check box, or nullptr for a combo box
};

// The hint-bound controls: image field, kind and caption.
const Binding kBindings[] = {
    {0x02F, 0, 1, "chkN", "chkCapMusicType", "Capcode Music Type Enable"},
    {0x02F, 0, 1, "chkN", "chkCME", "Capcode User Music Enable"},
    {0x02F, 1, 1, "chkN", "chkReminderSelectTone", "Reminder Select Tone"},
    {0x02F, 3, 1, "chkN", "chkLogoLargeFont", "Logo Large Font"},
    {0x02F, 4, 1, "chkN", "chkGupMusicType", "Group Music Type Enable"},
    {0x02F, 5, 1, "chkN", "chkPriMusicType", "Priority Music Type Enable"},
    {0x02F, 7, 1, "chkN", "chkKeyboardInterlock", "Keyboard Interlock Enable"},
    {0x030, 2, 1, "chkN", "chkAlarmMusicType", "Alarm Music Type Enable"},
    {0x031, 7, 1, "chkN", "CheckBox1", "RD Key Switch Alert"},
    {0x036, 3, 1, "chk", "chkBeepAndVibration", "Beep And Vibration "},
    {0x036, 5, 1, "chk", "chkDiscardErrMsg", "Discard Error Message"},
    {0x036, 6, 1, "chk", "chkAirProgram", "Air Program Enable"},
    {0x036, 6, 1, "chk", "chkCtl14", "OTA Program Enable"},
    {0x036, 7, 1, "chk", "chkPushKeyLampOn", "Push Key Lamp On Enable"},
    {0x039, 0, 2, "cbo", "cboCtl6", nullptr},
    {0x039, 3, 1, "chkN", "chkDuplicateMsgDetect", "Duplicate Msg Detect"},
    {0x039, 4, 1, "chkN", "chkCtl10", "Counter Out Enable"},
    {0x039, 5, 1, "chk", "chkDirectShowLampOn", "Direct Show Lamp On"},
    {0x039, 6, 1, "chk", "chkCtl12", "Lowcell Alert Enable"},
    {0x039, 7, 1, "chk", "chkCtl0", "Disp Source Addr ON"},
    {0x03B, 2, 1, "chk", "chkCtl11", "Long Message Control On"},
    {0x03B, 3, 1, "cbo", "cboCtl7", nullptr},
    {0x03B, 4, 1, "cbo", "cboCtl4", nullptr},
    {0x03D, 6, 1, "chk", "chkRDKeyPagerOff", "RD Key Pager Off"},
    {0x03D, 7, 1, "chk", "chkRDKeyDel", "RD Key Delete Enable"},
    {0x458, 0, 1, "chkN", "chkOTAEN", "OTA - Active (enable/disable)"},
    {0x458, 1, 1, "chkN", "chkAESEN", "AES - Active (enable/disable)"},
    {0x458, 7, 1, "chkN", "CheckBox3", "Vibrate Off In Charger"},
    {0x4A1, 6, 1, "chkN", "CheckBox4", "Pin Code(4 Dec)"},
    {0x4FC, 0, 1, "chkN", "CheckBox2", "Out Of Range Alert"},
    {0x4FC, 2, 1, "chk", "chkCtl22", "Rechargeable Bat. 2.4V"},
    {0x51F, 0, 8, "chkN", "chkGupCodeDisable", "Group Code Disable"},
    {0x7E0, 0, 8, "chkN", "chkCtl16", "Lock/Unlock Off"},
    {0x7E1, 0, 8, "chkN", "chkCtl15", "Delete Off"},
    {0x7E2, 0, 8, "chkN", "chkCtl18", "Delete All Off"},
    {0x7E3, 0, 8, "chkN", "chkMoveToMemo", "Move To Memo Off"},
    {0x7E4, 0, 8, "chkN", "chkCtl17", "History Off"},
    {0x1402, 7, 1, "cbo", "cboPolarity", nullptr},
    {0x1403, 4, 2, "cboBaud", "cboCtl0", nullptr},
    {0x3F, 0, 4, "Lng", "cboLogo", nullptr},
};

/// The Hint split as the binding splits it: commas, leading spaces ignored.
QStringList HintItems(QWidget* w) {
    QStringList items = Prop(w, "Hint").split(',');
    for (QString& s : items) s = s.trimmed();
    return items;
}

TEST_F(Pages, HintBoundControlsNameTheirImageFieldAndKind) {
    for (const Binding& b : kBindings) {
        SCOPED_TRACE(b.name);
        QWidget* w = Get(b.name);
        const QStringList items = HintItems(w);
        ASSERT_GE(items.size(), 4);
        bool ok[3];
        EXPECT_EQ(items[0].toInt(&ok[0], 0), b.offset);
        EXPECT_EQ(items[1].toInt(&ok[1], 0), b.bit);
        EXPECT_EQ(items[2].toInt(&ok[2], 0), b.width);
        EXPECT_TRUE(ok[0] && ok[1] && ok[2]);
        EXPECT_EQ(items[3], b.kind);
        EXPECT_EQ(Prop(w, "designedClass"), b.caption ? "TCheckBox" : "TComboBox");
        if (b.caption) {
            EXPECT_EQ(Caption(b.name), QString(b.caption));
        }
        // A binding hint is not something to show the user.
        EXPECT_TRUE(w->toolTip().isEmpty());
    }
    // The reminder box keeps its designed caption in every language.
    EXPECT_EQ(Prop(Get("chkReminderSelectTone"), "Hint"), "0x2F,1,1,chkN, NULL");
    // No other control carries a four-item hint of a generic kind, except
    // one that shows a catalogue field with that hint and its caption.
    std::set<std::string> bound;
    for (const Binding& b : kBindings) bound.insert(b.name);
    const auto catalogued = [this](QWidget* w) {
        const FieldDef* f = nullptr;
        for (const FieldDef& row : FieldTable())
            if (row.objectName == w->objectName().toStdString()) f = &row;
        return f && QString::fromStdString(f->hint) == Prop(w, "Hint") &&
               (f->kind != FieldKind::Check || Caption(f->objectName) == QString::fromStdString(f->caption));
    };
    for (QWidget* w : ordered) {
        const QStringList items = HintItems(w);
        if (items.size() > 3 && QStringList{"chk", "chkN", "cbo", "cboBaud"}.contains(items[3])) {
            EXPECT_TRUE(bound.count(w->objectName().toStdString()) || catalogued(w)) << w->objectName().toStdString();
        }
    }
}

struct Family {
    const char* prefix;
    std::set<int> tags;
    const char* designedClass;
};

std::set<int> Range(int first, int last) {
    std::set<int> s;
    for (int i = first; i <= last; ++i) s.insert(i);
    return s;
}

// The registry's families in the order their prefixes are compared.
std::vector<Family> Families() {
    return {{"edtCap", Range(0, 7), "TEdit"},         {"edtDisp", Range(0, 7), "TEdit"},
            {"edtType", Range(0, 7), "TEdit"},        {"edtPri", Range(0, 7), "TEdit"},
            {"edtPrompt", Range(0, 43), "TEdit"},
            {"chkCtl", {0, 10, 11, 12, 14, 15, 16, 17, 18, 22}, "TCheckBox"},
            {"lblLength", Range(0, 15), "TLabel"},    {"cboBatLev", Range(0, 5), "TComboBox"},
            {"chkMenu", Range(0, 7), "TCheckBox"},    {"chkSource", Range(0, 31), "TCheckBox"},
            {"cboMusicType", Range(0, 15), "TComboBox"}, {"cboAlarmType", Range(0, 4), "TComboBox"},
            {"txtSource", Range(0, 33), "TEdit"},     {"edtMusicType", Range(0, 15), "TEdit"},
            {"btnPreview", Range(0, 17), "TButton"},  {"btnStop", Range(0, 17), "TButton"},
            {"lblCapMusic", Range(0, 15), "TLabel"},  {"edtAESKey", Range(0, 15), "TEdit"},
            {"cboAESKey", Range(0, 31), "TComboBox"}, {"lblCCode", Range(0, 7), "TLabel"},
            {"lblECAP", Range(0, 7), "TLabel"},       {"chkManu", Range(0, 7), "TCheckBox"},
            {"chkEnCap", Range(0, 7), "TCheckBox"}};
}

TEST_F(Pages, RegistryFamiliesAreCompleteInTagOrderAndEndWithTheRightMembers) {
    const auto families = Families();
    std::vector<std::map<int, QWidget*>> registry(families.size());
    std::vector<int> lastTag(families.size(), -1);
    for (QWidget* w : ordered) {
        const QString name = w->objectName();
        for (size_t f = 0; f < families.size(); ++f) {
            if (!name.startsWith(families[f].prefix)) continue;
            SCOPED_TRACE(name.toStdString());
            const int tag = TagOf(w);
            EXPECT_TRUE(families[f].tags.count(tag)) << "unexpected Tag " << tag;
            EXPECT_EQ(Prop(w, "designedClass"), families[f].designedClass);
            // The option flags of the chkCtl family are scattered over several
            // groups and pages; they follow the screen, not their Tags.
            if (name != "chkManualWEn" && QString(families[f].prefix) != "chkCtl") {
                EXPECT_GT(tag, lastTag[f]) << "family out of Tag order";
                lastTag[f] = tag;
            }
            registry[f][tag] = w;  // a later member with the same Tag replaces
            break;
        }
    }
    for (size_t f = 0; f < families.size(); ++f) {
        SCOPED_TRACE(families[f].prefix);
        std::set<int> found;
        for (auto& [tag, w] : registry[f]) {
            found.insert(tag);
            // Each slot ends up holding the member named for it.
            const QString want = QString(families[f].prefix) + QString::number(tag);
            if (QString(families[f].prefix) != "cboAESKey") {
                EXPECT_EQ(w->objectName(), want);
            }
        }
        EXPECT_EQ(found, families[f].tags);
    }
    // The six key lists with an extra 0 in their names sit at their Tags.
    const std::map<int, QString> odd{{6, "cboAESKey06"},   {7, "cboAESKey07"},   {14, "cboAESKey014"},
                                     {19, "cboAESKey019"}, {23, "cboAESKey023"}, {28, "cboAESKey028"}};
    const size_t aes = 18;
    ASSERT_STREQ(families[aes].prefix, "cboAESKey");
    for (int n = 0; n < 32; ++n)
        EXPECT_EQ(registry[aes][n]->objectName(),
                  odd.count(n) ? odd.at(n) : "cboAESKey" + QString::number(n));
    EXPECT_EQ(TagOf(Get("chkManualWEn")), 0);
}

struct Prompt {
    int tag;
    int offset;
    const char* label;  // nullptr: the window never shows the box
    int maxLength;
};

const Prompt kPrompts[] = {
    {0, 0x100, "Power Up Logo", 21},      {1, 0x114, "NO PAGES ------->", 21},
    {2, 0x204, "TONE ONLY ------> ", 21}, {3, 0x218, "BEEP -----------> ", 18},
    {4, 0x22C, "SILENT --------->", 18},  {5, 0x330, "ZOOM OUT ------->", 21},
    {6, 0x1A0, "SET SCROLL ----->", 21},  {7, 0x1B4, "SET TIME ------->", 21},
    {8, 0x1C8, "SET ALARM ------>", 21},  {9, 0x2B8, nullptr, 21},
    {10, 0x1F0, "PAGER OFF ------>", 21}, {11, 0x240, "PAGER OFF ? ---->", 21},
    {12, 0x1DC, "SET ALERT ------>", 21}, {13, 0x128, "ESCAPE --------->", 21},
    {14, 0x164, "DELETE --------->", 21}, {15, 0x254, "DELETE? -------->", 21},
    {16, 0x178, "DELETE ALL ----->", 21}, {17, 0x290, "ALARM SET ------>", 21},
    {18, 0x2A4, "SCROLL SET ----->", 21}, {19, 0x27C, "TIME SET ------->", 21},
    {20, 0x13C, "MESSAGE LOCK --->", 21}, {21, 0x308, "SILENT THEN BEEP>", 18},
    {22, 0x2E0, nullptr, 21},             {23, 0x4E4, nullptr, 21},
    {24, 0x3B8, "SET HISTORY----->", 21}, {25, 0x3CC, "HISTORY SET----->", 21},
    {26, 0x400, "KEY UNLOCKED ? >", 21},  {27, 0x414, "KEY LOCKED - --->", 21},
    {28, 0x0A0, "FLASH ONLY ----->", 18}, {29, 0x268, "DELETE ALL ? --->", 21},
    {30, 0x31C, "ZOOM IN -------->", 21}, {31, 0x150, "MESSAGE UNLOCK ->", 21},
    {32, 0x2CC, nullptr, 21},             {33, 0x4B8, "SET CAPCODE ---->", 21},
    {34, 0x18C, "MOVE TO MEMO --->", 21}, {35, 0x4A4, "CAPCODE SET ---->", 21},
    {36, 0x43C, "KEY LOCKED ? --->", 21}, {37, 0x48D, nullptr, 21},
    {38, 0x479, nullptr, 21},             {39, 0x45C, nullptr, 21},
    {40, 0x0EC, nullptr, 21},             {41, 0x0B4, "OUT OF RANGE --->", 21},
    {42, 0x428, "CHARGING ------->", 21}, {43, 0xFE9, "DISCRETE ------->", 18},
};

TEST_F(Pages, PromptBoxesCarryTheirRecordOffsetLabelAndLength) {
    for (const Prompt& p : kPrompts) {
        const std::string name = "edtPrompt" + std::to_string(p.tag);
        SCOPED_TRACE(name);
        QWidget* w = Get(name);
        const QStringList items = HintItems(w);
        ASSERT_GE(items.size(), 2);
        EXPECT_EQ(items[0].toInt(nullptr, 0), p.offset);
        EXPECT_EQ(items[1], "0");
        EXPECT_EQ(TagOf(w), p.tag);
        EXPECT_EQ(static_cast<QLineEdit*>(w)->maxLength(), p.maxLength);
        EXPECT_EQ(PageOf(w), p.tag == 0 ? "panAS" : "panPE");
        // Out of range is shown by start-up and charging by Open; the
        // boxes without a label are never shown.
        EXPECT_EQ(w->isHidden(), !p.label || p.tag == 41 || p.tag == 42);
        if (p.label) {
            const std::string label = "lblPrompt" + std::to_string(p.tag);
            EXPECT_EQ(Caption(label), QString(p.label));
            EXPECT_EQ(Get(label)->isHidden(), w->isHidden());
        }
    }
    EXPECT_TRUE(Inside(Get("edtPrompt0"), "groupPrompts"));
    for (const char* b : {"btnLeft0", "btnCenter0", "btnRight0"}) {
        EXPECT_EQ(TagOf(Get(b)), 1);
        EXPECT_EQ(Get(b)->toolTip(), Prop(Get(b), "Hint"));
    }
    EXPECT_EQ(Prop(Get("btnLeft0"), "Hint"), "Align Left");
    EXPECT_EQ(Prop(Get("btnCenter0"), "Hint"), "Align Center");
    EXPECT_EQ(Prop(Get("btnRight0"), "Hint"), "Align Right");
    for (const char* b : {"btnLeft1", "btnCenter1", "btnRight1"}) {
        EXPECT_EQ(TagOf(Get(b)), 0);
        EXPECT_TRUE(Inside(Get(b), "groupPrompts"));
    }
}

TEST_F(Pages, CapcodeSlotsHoldTheirControlsUnderTheirTag) {
    for (int i = 0; i < 8; ++i) {
        const std::string n = std::to_string(i);
        SCOPED_TRACE(n);
        for (const char* p : {"lblCCode", "edtCap", "chkEnCap", "panCap"}) {
            EXPECT_TRUE(Inside(Get(p + n), "groupCapcode"));
            EXPECT_EQ(TagOf(Get(p + n)), i);
        }
        for (const char* p : {"edtPri", "edtDisp", "edtType", "btnFunBit", "chkManu"}) {
            EXPECT_EQ(Get(p + n)->parentWidget(), Get("panCap" + n));
            EXPECT_EQ(TagOf(Get(p + n)), i);
        }
        for (const char* p : {"edtPri", "edtDisp", "edtType"})
            EXPECT_TRUE(static_cast<QLineEdit*>(Get(p + n))->isReadOnly());
        EXPECT_EQ(static_cast<QLineEdit*>(Get("edtCap" + n))->maxLength(), 7);
        EXPECT_EQ(Caption("lblCCode" + n), QString("Cap #%1").arg(i + 1));
        EXPECT_EQ(Caption("chkEnCap" + n), "ON");
        EXPECT_EQ(Caption("chkManu" + n), "Manual");
        EXPECT_EQ(Caption("btnFunBit" + n), "Fun. Bit");
    }
    EXPECT_EQ(Caption("groupCapcode"), "Capcode( Decimal Address )");
    EXPECT_EQ(Caption("optAuto1"), "1st Capcode Auto Increase");
    EXPECT_EQ(Caption("optAuto2"), "2nd Capcode Auto Increase");
}

TEST_F(Pages, ControlsSitOnTheirPagesAndInTheirGroups) {
    const std::map<std::string, std::vector<std::string>> groups{
        {"groupFrequency", {"cboFreq", "edtFreq", "cboCtl0", "cboPolarity", "chkBand"}},
        {"panPLL", {"lblBfreq", "lblINCD", "lblPLLR", "lblPLLN", "lblChannel"}},
        {"groupMsgTypeStatus", {"btnSelect", "lblTAlertLen", "lblMsgType0", "lblMsgType15",
                                "lblLength0", "lblLength15", "Label2", "textPass"}},
        {"groupAlertStatus", {"cboCtl6", "cboRDC", "cboSLC", "cboBatLev0", "cboBatLev5", "TrackBar1",
                              "lblValue", "cboCtl4", "cboOSC", "chkCtl0", "chkAirProgram",
                              "chkDirectShowLampOn", "chkKeyboardInterlock"}},
        {"groupMenuOfPager", {"chkMenu0", "chkMenu4", "chkMenu7", "chkCtl16", "chkCtl15", "chkCtl18",
                              "chkMoveToMemo", "chkCtl17", "cboTone"}},
        {"GroupBox4", {"chkManualWEn", "chkFreqMEn", "chkPwdREn", "chkPwdMEn"}},
        {"groupPrompts", {"edtPrompt0", "chkLogoLargeFont", "cboLogo", "cboLng"}},
        {"groupMusicTone", {"lblCapMTPage", "cboMTPage", "cboMusicType0", "edtMusicType15",
                            "btnPreview15", "btnStop0", "lblCapMusic15"}},
        {"grouOutOfRange", {"CheckBox2", "cboORAAlert", "edtOORMusic", "btnPreview16", "btnStop16"}},
        {"GroupBox3", {"chkReminderSelectTone", "lblToneType", "cboRToneType", "edtReminderMusic",
                       "btnPreview17", "btnStop17"}},
        {"groupOTAFeatures", {"edtSSN", "edtPSN", "edtRTCCtl"}},
    };
    for (auto& [group, members] : groups)
        for (auto& m : members) EXPECT_TRUE(Inside(Get(m), group)) << m << " not in " << group;
    const std::map<std::string, std::string> pages{
        {"groupFrequency", "panCF"}, {"groupCapcode", "panCF"}, {"panPLL", "panCF"},
        {"groupMsgTypeStatus", "panCF"}, {"groupAlertStatus", "panAS"}, {"groupMenuOfPager", "panAS"},
        {"GroupBox4", "panAS"}, {"groupPrompts", "panAS"}, {"cboSource", "pnlSource"},
        {"cboSrcPage", "pnlSource"}, {"txtSource33", "pnlSource"}, {"groupMusicTone", "pnlMusic"},
        {"grouOutOfRange", "pnlMusic"}, {"GroupBox3", "pnlMusic"}, {"cboECPage", "panAES"},
        {"lblECAP0", "panAES"}, {"edtAESKey15", "panAES"}, {"chkAESEN", "panAES"},
        {"chkOTAEN", "panAES"}, {"lblDBName", "panAES"}, {"groupOTAFeatures", "panAES"}};
    for (auto& [name, page] : pages) EXPECT_EQ(PageOf(Get(name)).toStdString(), page) << name;
    // The page frame's own controls are not on the pages.
    for (const char* frame : {"sedtFC", "StaticText6", "staticEncryF", "RBtModify", "staMsg",
                              "lblFirmVer", "btnINI_Lang", "Edit1", "lblLen"})
        EXPECT_FALSE(Has(frame)) << frame;
}

TEST_F(Pages, ItemsLengthsAndDesignTimeStates) {
    const QStringList tunes{"Tone 1", "Tone 2", "Tone 3", "Tone 4", "Music 1", "Music 2",
                            "Music 3", "Music 4", "Music 5", "Music 6", "Music 7", "Music 8"};
    const QStringList languages{"English", "Spainish", "French", "German", "Swedish"};
    EXPECT_EQ(Items("cboFreq"), (QStringList{"130-180MHz-GP(RoHS)", "400-499MHz", "929-932MHz"}));
    EXPECT_EQ(Items("cboCtl0"), (QStringList{"512 bps", "1200 bps", "2400 bps"}));
    EXPECT_EQ(Items("cboPolarity"), (QStringList{"Normal", "Invert"}));
    EXPECT_EQ(Items("cboCtl6"), (QStringList{"8 sec", "12 sec", "20 sec", "30 sec"}));
    EXPECT_EQ(Items("cboCtl7"), (QStringList{"dd-mm-yy", "mm-dd-yy"}));
    EXPECT_EQ(Items("cboCtl4"), (QStringList{"Page Count", "Direct"}));
    EXPECT_EQ(Items("cboRDC"), (QStringList{"Disable", " 5 Seconds", "20 Seconds", " 2 minutes",
                                            "10 minutes", "60 minutes"}));
    EXPECT_EQ(Items("cboSLC"), (QStringList{"Disable", "30 seconds", "60 seconds", "120 seconds",
                                            "175 seconds", "240 seconds"}));
    EXPECT_EQ(Items("cboOSC"), (QStringList{"Disable", "1 min", "2 min", "5 min", "10 min", "15 min"}));
    EXPECT_EQ(Items("cboLng"), languages);
    EXPECT_EQ(Items("cboLogo"), languages);
    EXPECT_EQ(Items("cboSource"), (QStringList{"Disable", "Enable"}));
    EXPECT_EQ(Items("cboTone"), (tunes + QStringList{"Vibration", "Flash Only"}));
    for (const char* c : {"cboORAAlert", "cboRToneType"})
        EXPECT_EQ(Items(c), (QStringList{"User"} + tunes)) << c;
    for (int r = 0; r < 16; ++r) EXPECT_EQ(Items("cboMusicType" + std::to_string(r)), (QStringList{"User"} + tunes));
    EXPECT_EQ(Items("cboBatLev0"), (QStringList{"2.68V", "2.65V", "2.62V", "2.59V", "2.55V", "2.52V",
                                                "2.49V", "2.46V", "2.42V", "2.40V", "2.35V"}));
    EXPECT_EQ(Items("cboBatLev5"), (QStringList{"1.58V", "1.53V", "1.48V", "1.43V", "1.39V", "1.35V",
                                                "1.29V", "1.23V", "1.19V", "1.14V", "1.09V", "1.05V",
                                                "1.00V"}));
    EXPECT_EQ(Items("cboBatLev1"), Items("cboBatLev2"));
    EXPECT_EQ(Items("cboBatLev3"), Items("cboBatLev4"));
    EXPECT_EQ(Items("cboCCPage"), (QStringList{"Capcode 1 - 8", "Capcode 9 - 16"}));
    EXPECT_EQ(Items("cboSrcPage"), (QStringList{"Capcode 1 - 4", "Capcode 5 - 8", "Capcode 9 - 12",
                                                "Capcode 13 - 16"}));
    EXPECT_EQ(Items("cboMTPage"), Items("cboSrcPage"));
    EXPECT_EQ(Items("cboECPage"), (QStringList{"Capcode 1 - 8"}));
    QStringList keys{"Disable"};
    for (int k = 1; k <= 16; ++k) keys << QString("Key %1").arg(k);
    EXPECT_EQ(Items("cboAESKey028"), keys);

    auto* contrast = static_cast<QSlider*>(Get("TrackBar1"));
    EXPECT_EQ(contrast->minimum(), 1);
    EXPECT_EQ(contrast->maximum(), 8);
    EXPECT_EQ(contrast->value(), 4);

    const std::map<std::string, int> lengths{{"edtFreq", 7}, {"textPass", 6}, {"txtSN", 12},
                                             {"edtRTCCtl", 8}, {"edtOORMusic", 16},
                                             {"edtReminderMusic", 16}, {"txtSource0", 21},
                                             {"txtSource31", 21}, {"txtSource32", 16},
                                             {"txtSource33", 16}, {"edtAESKey0", 16},
                                             {"edtMusicType7", 16}};
    for (auto& [name, len] : lengths)
        EXPECT_EQ(static_cast<QLineEdit*>(Get(name))->maxLength(), len) << name;
    // The serial displays grow past 16 and 12 digits when a byte is above 15.
    EXPECT_GE(static_cast<QLineEdit*>(Get("edtSSN"))->maxLength(), 32);
    EXPECT_GE(static_cast<QLineEdit*>(Get("edtPSN"))->maxLength(), 24);
    EXPECT_EQ(Caption("edtSSN"), QString(16, '0'));
    EXPECT_EQ(Caption("edtPSN"), QString(12, '0'));
    EXPECT_EQ(Caption("edtAESKey0").size(), 16);

    for (int t = 0; t < 18; ++t) EXPECT_FALSE(Get("btnStop" + std::to_string(t))->isEnabled()) << t;
    for (const char* hidden : {"chkCME", "chkRDKeyPagerOff", "chkCtl17", "chkCtl22", "chkMenu4",
                               "cboTone", "groupOTAFeatures", "grouOutOfRange", "CheckBox2",
                               "cboORAAlert", "edtOORMusic", "btnPreview16", "btnStop16",
                               "txtSource32", "txtSource33"})
        EXPECT_TRUE(Get(hidden)->isHidden()) << hidden;
    for (const char* shown : {"textPass", "Label2", "chkBand", "GroupBox3", "chkRDKeyDel", "CheckBox1",
                              "chkDirectShowLampOn", "txtSN", "lblDBName", "chkSource0", "txtSource0"})
        EXPECT_FALSE(Get(shown)->isHidden()) << shown;
    for (int k = 0; k < 32; ++k) {
        // Only the even source boxes are shown and bound to their enable bit.
        QWidget* box = Get("chkSource" + std::to_string(k));
        EXPECT_EQ(box->isHidden(), k % 2 == 1) << k;
        if (k % 2 == 0) {
            const QStringList items = HintItems(box);
            ASSERT_EQ(items.size(), 4);
            EXPECT_EQ(items[3], "chkSource");
            const int s = k / 2;
            EXPECT_EQ(items[0].toInt(nullptr, 0), 0x7C0 + s / 8);
            EXPECT_EQ(items[1].toInt(), 7 - s % 8);
        }
    }
    EXPECT_EQ(Caption("lblLength0"), "00");
    EXPECT_EQ(Caption("lblMsgType0"), "PG");
    EXPECT_EQ(Caption("lblMsgType10"), "MA");
    EXPECT_EQ(Caption("lblECAP7"), "Capcode 8 Function Bit");
    EXPECT_EQ(Caption("lblCapMusic5"), "Cap #2: Music Type B");
    EXPECT_EQ(Caption("edtRTCCtl"), "");
    EXPECT_EQ(TagOf(Get("edtRTCCtl")), 8);
    EXPECT_TRUE(Get("lblSequentialLockout")->toolTip().startsWith("The pager ignores duplicate"));
    // Labels that show image values keep them when a language is applied.
    for (const char* value : {"lblBfreq", "lblINCD", "lblPLLR", "lblPLLN", "lblChannel", "lblLength0",
                              "lblLength15", "lblValue", "lblDBName"})
        EXPECT_TRUE(Prop(Get(value), "Hint").contains("NULL")) << value;
    EXPECT_FALSE(Prop(Get("lblMsgType0"), "Hint").contains("NULL"));
}

// Controls that the window never shows; the layout checks leave them out.
bool NeverShown(QWidget* w) {
    static const std::set<QString> shownLater{"grouOutOfRange", "CheckBox2",  "cboORAAlert",
                                              "edtOORMusic",    "btnPreview16", "btnStop16",
                                              "edtPrompt41",    "lblPrompt41",  "edtPrompt42",
                                              "lblPrompt42",    "cboTone"};
    for (; w && w->property("designedClass").isValid(); w = w->parentWidget())
        if (w->isHidden() && !shownLater.count(w->objectName())) return true;
    return false;
}

/// The two battery trios share three places by design.
bool StackedByDesign(QWidget* a, QWidget* b) {
    const QString x = a->objectName(), y = b->objectName();
    if (!x.startsWith("cboBatLev") || !y.startsWith("cboBatLev")) return false;
    return (TagOf(a) % 3) == (TagOf(b) % 3);
}

/// Every shown control lies inside its parent and clear of its siblings.
void ExpectClearLayout(const std::vector<QWidget*>& controls) {
    for (QWidget* w : controls) {
        // The pages themselves are stacked in the main window by design.
        if (NeverShown(w) || !w->parentWidget()->property("designedClass").isValid()) continue;
        const std::string n = w->objectName().toStdString();
        EXPECT_TRUE(QRect(QPoint(0, 0), w->parentWidget()->size()).contains(w->geometry())) << n;
        for (QWidget* v : controls) {
            if (v == w || v->parentWidget() != w->parentWidget() || NeverShown(v) ||
                StackedByDesign(w, v))
                continue;
            EXPECT_FALSE(w->geometry().intersects(v->geometry()))
                << n << " overlaps " << v->objectName().toStdString();
        }
    }
}

TEST_F(Pages, ShownControlsNeitherOverlapNorLeaveTheirParent) { ExpectClearLayout(ordered); }

/// Every shown caption fits its control: labels, check boxes, buttons,
/// combo boxes and group box titles.
void ExpectCaptionsFit(const std::vector<QWidget*>& controls) {
    for (QWidget* w : controls) {
        if (NeverShown(w)) continue;
        const std::string n = w->objectName().toStdString();
        if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w)) {
            EXPECT_LE(w->sizeHint().width(), w->width()) << n;
        }
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 12, b->width()) << n;
        }
        if (auto* c = qobject_cast<QComboBox*>(w)) {
            EXPECT_LE(c->minimumSizeHint().width(), c->width()) << n;
            // The widest item is readable beside the arrow.
            int widest = 0;
            for (int i = 0; i < c->count(); ++i)
                widest = std::max(widest, c->fontMetrics().horizontalAdvance(c->itemText(i)));
            EXPECT_LE(widest + 28, c->width()) << n;
        }
        if (auto* g = qobject_cast<QGroupBox*>(w)) {
            EXPECT_LE(g->fontMetrics().horizontalAdvance(g->title()) + 16, g->width()) << n;
        }
    }
}

TEST_F(Pages, CaptionsAreNotClipped) { ExpectCaptionsFit(ordered); }

TEST_F(Pages, AutoSizeLabelsAreThoseThatShowCaptions) {
    // Value labels and centred column headings keep their designed width;
    // every other label sizes itself to the caption a language gives it.
    for (QWidget* w : ordered) {
        if (!qobject_cast<QLabel*>(w)) continue;
        const std::string n = w->objectName().toStdString();
        const bool value = Prop(w, "Hint").contains("NULL");
        const bool centred = static_cast<QLabel*>(w)->alignment() & Qt::AlignHCenter;
        EXPECT_EQ(kit::AutoSizes(w), !value && !centred) << n;
    }
    QWidget* label = Get("lblSrcPage");
    const int left = label->x();
    static_cast<QLabel*>(label)->setText("A much longer caption than designed");
    kit::FitToCaption(label);
    EXPECT_EQ(label->x(), left);
    EXPECT_EQ(label->width(), label->sizeHint().width());
    QWidget* heading = Get("lblMsgType3");
    const int width = heading->width();
    static_cast<QLabel*>(heading)->setText("A much longer caption");
    kit::FitToCaption(heading);
    EXPECT_EQ(heading->width(), width);
}

/// The pages with the German texts of the factory catalogue, put on the
/// controls by the caption rules, auto-size labels fitted to them.
class GermanPages : public Pages {
protected:
    void SetUp() override {
        Pages::SetUp();
        const auto bytes = i18n::ReadWholeFile(test::SourceDir() / "i18n" / "DefLang.dat");
        ASSERT_TRUE(bytes.has_value());
        const i18n::ProfileData file = i18n::ProfileData::Parse(*bytes);
        i18n::ComponentList components;
        for (QWidget* w : ordered) {
            i18n::Component c;
            c.name = w->objectName().toStdString();
            c.designedClass = Prop(w, "designedClass").toStdString();
            c.hint = Prop(w, "Hint").toStdString();
            c.caption = Caption(c.name).toStdString();
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                for (int i = 0; i < combo->count(); ++i) c.items.push_back(combo->itemText(i).toStdString());
                c.selectedIndex = combo->currentIndex();
            }
            components.push_back(std::move(c));
        }
        i18n::ApplyCaptions(components, file, "German", 16);
        for (const i18n::Component& c : components) {
            QWidget* w = Get(c.name);
            const QString caption = QString::fromStdString(c.caption);
            if (caption != Caption(c.name)) ++changed;
            if (auto* l = qobject_cast<QLabel*>(w)) l->setText(caption);
            if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(caption);
            if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(caption);
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                for (int i = 0; i < combo->count() && i < int(c.items.size()); ++i)
                    combo->setItemText(i, QString::fromStdString(c.items[i]));
            }
            kit::FitToCaption(w);
        }
    }
    int changed = 0;
};

TEST_F(GermanPages, GermanCaptionsFitAndLeaveTheirNeighboursClear) {
    // The catalogue really reaches the pages (a wrong file or section would
    // leave every English caption and prove nothing).
    EXPECT_GT(changed, 150);
    EXPECT_EQ(Caption("lblAESKey15"), QString::fromUtf8("Schlüssel 16"));
    EXPECT_EQ(Caption("lblSrcPage"), "Rufnummernseite");
    ExpectCaptionsFit(ordered);
    ExpectClearLayout(ordered);
}

TEST_F(Pages, TextFieldsStillFitWhenSizedToTheirRuler) {
    // The text-field sizing makes a prompt or source edit as wide as a ruler
    // label holding its maximum letters "A" (bold for the large-font logo).
    auto size = [&](const std::string& name, int letters, bool bold) {
        auto* edit = static_cast<QLineEdit*>(Get(name));
        QLabel ruler;
        QFont font = edit->font();
        font.setBold(bold);
        ruler.setFont(font);
        ruler.setText(QString(letters, 'A'));
        ruler.adjustSize();
        edit->resize(ruler.width(), edit->height());
    };
    for (const Prompt& p : kPrompts) {
        const std::string name = "edtPrompt" + std::to_string(p.tag);
        size(name, p.maxLength == 18 ? 19 : 22, false);
    }
    // The logo is the widest when regular (22 letters) and the boldest with
    // "Logo Large Font" (17 letters); check the wider of the two.
    size("edtPrompt0", 22, false);
    const int regular = Get("edtPrompt0")->width();
    size("edtPrompt0", 17, true);
    if (Get("edtPrompt0")->width() < regular) size("edtPrompt0", 22, false);
    for (int i = 0; i < 32; ++i) size("txtSource" + std::to_string(i), 22, false);
    ExpectClearLayout(ordered);
}

}  // namespace
}  // namespace zrv::pages

int main(int argc, char** argv) {
    // The pages are checked without a display, also when the test runner
    // lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setFont(QFont("DejaVu Sans", 9));
    return RUN_ALL_TESTS();
}
