// Named image fields: reading and writing their bits only, refusing values
// that do not fit, and the option fields checked against the hints the
// window designs bind their controls with.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "core/binding_hint.h"
#include "core/field.h"
#include "core/field_table.h"
#include "core/option_fields.h"
#include "tests/support/test_support.h"

namespace zrv {
namespace {

TEST(Field, ReadsAndWritesOnlyItsOwnBits) {
    ConfigImage image;
    image.setByte(0x3D, 0b1000'0001);
    const Field step{0x3D, 1, 2};
    EXPECT_EQ(step.Get(image), 0u);
    step.Set(image, 3);
    EXPECT_EQ(image.byte(0x3D), 0b1000'0111);
    EXPECT_EQ(step.Get(image), 3u);
    step.Set(image, 2);
    EXPECT_EQ(image.byte(0x3D), 0b1000'0101);

    const Field whole{0x51F, 0, 8};
    whole.Set(image, 0xFF);
    EXPECT_EQ(whole.Get(image), 0xFFu);
    EXPECT_EQ(whole.Max(), 0xFFu);
    EXPECT_EQ((Field{0x3F, 0, 4}).Max(), 15u);
}

TEST(Field, RefusesAValueWiderThanItselfAndLeavesTheByte) {
    ConfigImage image;
    image.setByte(0x3C, 0x50);
    const Field step{0x3C, 0, 2};
    EXPECT_THROW(step.Set(image, 4), std::out_of_range);
    EXPECT_THROW((Field{0x3C, 7, 1}).Set(image, 2), std::out_of_range);
    EXPECT_THROW((Field{0x51F, 0, 8}).Set(image, 0x100), std::out_of_range);
    EXPECT_EQ(image.byte(0x3C), 0x50);
    EXPECT_EQ(image.byte(0x51F), 0x00);
    // A field that leaves its byte or the image is refused by the image.
    EXPECT_THROW((Field{0x3C, 6, 3}).Get(image), std::out_of_range);
    EXPECT_THROW((Field{kImageSize, 0, 1}).Set(image, 0), std::out_of_range);
}

// Every generic binding hint of the window designs, read from the .ui files.
std::vector<BindingHint> DesignedHints() {
    const std::regex hintProperty(R"re("Hint" stdset="0"><string[^>]*>([^<]*)<)re");
    std::vector<BindingHint> hints;
    const std::filesystem::path app = std::filesystem::path(ZRV_SOURCE_DIR) / "app";
    for (const auto& dir : {app, app / "pages"}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() != ".ui") continue;
            const std::string text = test::ReadFile(entry.path());
            for (std::sregex_iterator m(text.begin(), text.end(), hintProperty), end; m != end; ++m)
                if (const auto hint = ParseBindingHint((*m)[1].str()); hint && hint->isGeneric())
                    hints.push_back(*hint);
        }
    }
    return hints;
}

TEST(OptionFields, EveryBoundControlOfTheDesignsHasItsNamedField) {
    namespace F = fields;
    const std::vector<std::pair<Field, BindingKind>> named = {
        {F::kCapcodeUserMusicOff, BindingKind::ChkN},  {F::kReminderSelectToneOff, BindingKind::ChkN},
        {F::kLogoLargeFontOff, BindingKind::ChkN},     {F::kGroupMusicTypeOff, BindingKind::ChkN},
        {F::kPriorityMusicTypeOff, BindingKind::ChkN}, {F::kKeyboardInterlockOff, BindingKind::ChkN},
        {F::kAlarmMusicTypeOff, BindingKind::ChkN},    {F::kRdKeySwitchAlertOff, BindingKind::ChkN},
        {F::kBeepAndVibration, BindingKind::Chk},      {F::kDiscardErrorMessage, BindingKind::Chk},
        {F::kAirProgram, BindingKind::Chk},            {F::kPushKeyLampOn, BindingKind::Chk},
        {F::kReadTimeOut, BindingKind::Cbo},           {F::kDuplicateMsgDetectOff, BindingKind::ChkN},
        {F::kCounterOutOff, BindingKind::ChkN},        {F::kDirectShowLampOn, BindingKind::Chk},
        {F::kLowcellAlert, BindingKind::Chk},          {F::kDisplaySourceAddress, BindingKind::Chk},
        {F::kLongMessageControl, BindingKind::Chk},    {F::kDateFormat, BindingKind::Cbo},
        {F::kPagingDisplay, BindingKind::Cbo},         {F::kRdKeyPagerOff, BindingKind::Chk},
        {F::kRdKeyDelete, BindingKind::Chk},           {F::kOtaOff, BindingKind::ChkN},
        {F::kAesOff, BindingKind::ChkN},               {F::kVibrateOffInChargerOff, BindingKind::ChkN},
        {F::kPinCodeOff, BindingKind::ChkN},           {F::kOutOfRangeAlertOff, BindingKind::ChkN},
        {F::kRechargeableBattery, BindingKind::Chk},   {F::kGroupCodeOn, BindingKind::ChkN},
        {F::kLockUnlockMenuOn, BindingKind::ChkN},     {F::kDeleteMenuOn, BindingKind::ChkN},
        {F::kDeleteAllMenuOn, BindingKind::ChkN},      {F::kMoveToMemoMenuOn, BindingKind::ChkN},
        {F::kHistoryMenuOn, BindingKind::ChkN},        {F::kPolarityInverted, BindingKind::Cbo},
        {F::kBaudCode, BindingKind::CboBaud},
    };
    const auto designed = DesignedHints();
    ASSERT_FALSE(designed.empty());
    const auto sameField = [](const BindingHint& h, const Field& f, BindingKind kind) {
        return h.field() == f && h.kind == kind;
    };
    for (const auto& [field, kind] : named) {
        const bool found = std::any_of(designed.begin(), designed.end(),
                                       [&](const BindingHint& h) { return sameField(h, field, kind); });
        EXPECT_TRUE(found) << "no designed control binds 0x" << std::hex << field.offset << " bit "
                           << field.bit << " width " << field.width;
    }
    // A bit no rule of core/ reads needs no name: its catalogue row holds it.
    const auto catalogued = [&](const BindingHint& h) {
        return std::any_of(FieldTable().begin(), FieldTable().end(), [&](const FieldDef& f) {
            const auto row = ParseBindingHint(f.hint);
            return row && row->field() == h.field() && row->kind == h.kind;
        });
    };
    for (const BindingHint& h : designed) {
        const bool found = std::any_of(named.begin(), named.end(),
                                       [&](const auto& n) { return sameField(h, n.first, n.second); });
        EXPECT_TRUE(found || catalogued(h)) << "the bound field 0x" << std::hex << h.offset << " bit " << h.bit
                                            << " has neither a name nor a catalogue row";
    }
}

}  // namespace
}  // namespace zrv
