// The contract the editor modules build on: control lookups that fail
// loudly, every declared control (and every control the field catalogue
// names) present with its class, controls bound to
// the same field agreeing after a user change, and a full refresh over a
// corpus of images that changes only the values it is meant to change.
#include <QRadioButton>
#include <QTest>
#include <random>
#include <stdexcept>

#include "core/binding_hint.h"
#include "core/default_image.h"
#include "core/field_table.h"
#include "editors/control_names.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

using ContractTest = WindowTest;

TEST_F(ContractTest, EveryDeclaredControlExistsWithItsDesignedClass) {
    start();
    for (const ctl::Declared& d : ctl::kDeclared) {
        const QString name = QString::fromLatin1(d.name.data(), static_cast<qsizetype>(d.name.size()));
        QWidget& w = win().require<QWidget>(name);
        EXPECT_EQ(std::string_view(w.metaObject()->className()), d.qtClass) << d.name;
    }
    // Each family resolves over its Tags with the family's class.
    for (int tag = 0; tag < 8; ++tag) {
        EXPECT_NO_THROW(win().require(ctl::family::edtCap, tag));
        EXPECT_NO_THROW(win().require(ctl::family::chkMenu, tag));
        EXPECT_NO_THROW(win().require(ctl::family::chkManu, tag));
    }
    EXPECT_EQ(&win().require(ctl::family::chkManu, 0), &win().require(ctl::chkManu0));
    EXPECT_EQ(&win().require(ctl::family::edtPrompt, 43), &win().require(ctl::edtPrompt43));
    // Each field of the catalogue that names its control names one of the window.
    for (const FieldDef& f : FieldTable()) {
        if (f.objectName.empty()) continue;
        EXPECT_NE(win().findChild<QWidget*>(QString::fromStdString(f.objectName)), nullptr) << f.name;
    }
}

TEST_F(ContractTest, LookupsThatFailNameTheControlAndItsClass) {
    start();
    const auto failure = [](auto&& lookup) -> std::string {
        try {
            lookup();
        } catch (const std::logic_error& e) {
            return e.what();
        }
        return "no exception";
    };
    const std::string missing = failure([&] { win().require<QComboBox>(QStringLiteral("cboFreqency")); });
    EXPECT_NE(missing.find("cboFreqency"), std::string::npos) << missing;
    EXPECT_NE(missing.find("QComboBox"), std::string::npos) << missing;

    const std::string wrongClass = failure([&] { win().require<QComboBox>(QStringLiteral("edtFreq")); });
    EXPECT_NE(wrongClass.find("edtFreq"), std::string::npos) << wrongClass;
    EXPECT_NE(wrongClass.find("QLineEdit"), std::string::npos) << wrongClass;

    const std::string beyondFamily = failure([&] { win().require(ctl::family::edtCap, 8); });
    EXPECT_NE(beyondFamily.find("edtCap8"), std::string::npos) << beyondFamily;

    const std::string noAction = failure([&] { win().requireAction(QStringLiteral("mnuWrit")); });
    EXPECT_NE(noAction.find("mnuWrit"), std::string::npos) << noAction;
    EXPECT_EQ(&win().requireAction(QStringLiteral("mnuWrite")), win().action(QStringLiteral("mnuWrite")));
}

TEST_F(ContractTest, ModifyModeRunsEveryModuleRuleOverControlsThatExist) {
    start();
    auto* write = get<QRadioButton>("RBtWrite");
    auto* modify = get<QRadioButton>("RBtModify");
    QTest::mouseClick(write, Qt::LeftButton);
    EXPECT_FALSE(win().require(ctl::cboFreq).isEnabled());
    EXPECT_NO_THROW(QTest::mouseClick(modify, Qt::LeftButton));
    EXPECT_TRUE(win().require(ctl::cboFreq).isEnabled());
    // The default image has no source texts: their rows stay locked.
    EXPECT_FALSE(win().require(ctl::family::txtSource, 0).isEnabled());
}

TEST_F(ContractTest, ControlsBoundToOneFieldAgreeAfterAUserClick) {
    start();
    win().require(ctl::panAS).raise();
    QCheckBox& air = win().require(ctl::chkAirProgram);
    QCheckBox& ota = win().require(ctl::otaProgram);
    ASSERT_EQ(air.isChecked(), ota.isChecked());
    const bool before = air.isChecked();
    air.click();
    EXPECT_EQ(air.isChecked(), !before);
    EXPECT_EQ(ota.isChecked(), !before);
    EXPECT_EQ(image().GetImageBits(0x36, 6, 1), before ? 0u : 1u);
    ota.click();
    EXPECT_EQ(air.isChecked(), before);
    EXPECT_EQ(image().GetImageBits(0x36, 6, 1), before ? 1u : 0u);
    // "Capcode Music Type Enable" and the hidden "Capcode User Music Enable"
    // share 0x2F bit 0 the same way.
    QCheckBox& music = win().require(ctl::chkCapMusicType);
    music.click();
    EXPECT_EQ(win().require(ctl::chkCME).isChecked(), music.isChecked());
}

TEST_F(ContractTest, StoringBackWhatEveryBoundControlShowsLeavesTheDefaultImageAsItWas) {
    start();
    const ConfigImage before = image();
    for (QWidget* w : win().findChildren<QWidget*>()) {
        const auto hint = ParseBindingHint(HintOf(w).toStdString());
        if (!hint || !hint->isGeneric()) continue;
        // A change of the battery type brings the thresholds of the new type
        // (the thresholds page test covers it): toggled there and back, the
        // image ends with the rechargeable defaults.
        if (w->objectName() == QLatin1String(ctl::batteryRechargeable.text)) continue;
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            box->toggle();
            box->toggle();
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            emit combo->activated(combo->currentIndex());
        }
        ASSERT_TRUE(image() == before) << w->objectName().toStdString();
    }
}

/// Bytes a full refresh may change, and the values it may leave there.
bool AllowedRefreshChange(std::size_t offset, std::uint8_t before, std::uint8_t after) {
    if (offset == 0x457) return after == (before & 0x7F);  // bit 7 forced to 0
    if (offset == 0x4F8) return after == 0x29;
    // Menu-lock boxes and "Group Code Disable" store their shown state back
    // in their own encoding when the refresh changes the box.
    if (offset >= 0x7E0 && offset <= 0x7E4) return after == 0x00 || after == 0xFF;
    if (offset == 0x51F) return after == 0 || after == 1;
    // "Capcode Music Type Enable" shows 0x458 bit 2 and its click stores
    // its hint's field, 0x2F bit 0, and the switch in 0x458 bit 2; the
    // refresh sets the box first from the one, then from the other.
    if (offset == 0x02F) return (before ^ after) == 0x01;
    if (offset == 0x458) return (before ^ after) == 0x04;
    return false;
}

TEST_F(ContractTest, FullRefreshOverAnImageCorpusChangesOnlyTheForcedValuesAndNeverThrows) {
    start();
    std::vector<std::pair<std::string, ConfigImage>> corpus;
    corpus.emplace_back("default", StartupImage());
    ConfigImage zeros;
    zeros.fill(0, kImageSize, 0x00);
    corpus.emplace_back("all 0x00", zeros);
    ConfigImage ones;
    ones.fill(0, kImageSize, 0xFF);
    corpus.emplace_back("all 0xFF", ones);
    for (unsigned seed : {1u, 7u, 41u, 2024u}) {
        std::mt19937 rng(seed);
        ConfigImage random;
        for (std::size_t i = 0; i < kImageSize; ++i) random.setByte(i, static_cast<std::uint8_t>(rng()));
        corpus.emplace_back("seed " + std::to_string(seed), random);
    }
    for (const auto& [label, source] : corpus) {
        image() = source;
        ASSERT_NO_THROW(win().refreshAll()) << label;
        EXPECT_EQ(win().state().refreshPhase, RefreshPhase::None) << label;
        for (std::size_t i = 0; i < kImageSize; ++i) {
            if (image().byte(i) == source.byte(i)) continue;
            EXPECT_TRUE(AllowedRefreshChange(i, source.byte(i), image().byte(i)))
                << label << ": byte 0x" << std::hex << i << " " << int(source.byte(i)) << " -> "
                << int(image().byte(i));
        }
        // A second refresh of what the first left is a fixed point.
        const ConfigImage settled = image();
        win().refreshAll();
        EXPECT_TRUE(image() == settled) << label;
    }
}

}  // namespace
}  // namespace zrv::test
