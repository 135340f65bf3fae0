#include "ota/ota_image_inputs.h"

#include <optional>
#include <string_view>

#include "core/alert_lengths.h"
#include "core/battery_thresholds.h"
#include "core/binding_hint.h"
#include "core/capcode_rules.h"
#include "core/default_image.h"
#include "core/music.h"
#include "core/option_fields.h"
#include "core/option_settings.h"
#include "core/prompts.h"
#include "core/serial_fields.h"

namespace zrv::ota {

namespace {

/// The hint-bound boxes and combos the option set reads, with the binding
/// hints their controls carry: the refresh shows them by the binding rule.
struct BoundBox {
    std::string_view hint;
    bool OtaMainFields::*box;
};
struct BoundCombo {
    std::string_view hint;
    int OtaMainFields::*combo;
};

constexpr BoundBox kBoundBoxes[] = {
    {"0x036,3,1,chk", &OtaMainFields::chkBeepAndVibration},
    {"0x039,5,1,chk", &OtaMainFields::chkDirectShowLampOn},
    {"0x036,5,1,chk", &OtaMainFields::chkDiscardErrMsg},
    {"0x039,6,1,chk", &OtaMainFields::chkCtl12},
    {"0x039,7,1,chk", &OtaMainFields::chkCtl0},
    {"0x036,7,1,chk", &OtaMainFields::chkPushKeyLampOn},
    {"0x02F,7,1,chkN", &OtaMainFields::chkKeyboardInterlock},
    {"0x039,4,1,chkN", &OtaMainFields::chkCtl10},
    {"0x03B,2,1,chk", &OtaMainFields::chkCtl11},
    {"0x03D,6,1,chk", &OtaMainFields::chkRDKeyPagerOff},
    {"0x03D,7,1,chk", &OtaMainFields::chkRDKeyDel},
    {"0x039,3,1,chkN", &OtaMainFields::chkDuplicateMsgDetect},
    {"0x02F,5,1,chkN", &OtaMainFields::chkPriMusicType},
    {"0x02F,4,1,chkN", &OtaMainFields::chkGupMusicType},
    {"0x2F,1,1,chkN", &OtaMainFields::chkReminderSelectTone},
    {"0x7E0,0,8,chkN", &OtaMainFields::chkCtl16},
    {"0x7E1,0,8,chkN", &OtaMainFields::chkCtl15},
    {"0x7E2,0,8,chkN", &OtaMainFields::chkCtl18},
    {"0x7E3,0,8,chkN", &OtaMainFields::chkMoveToMemo},
};

constexpr BoundCombo kBoundCombos[] = {
    {"0x03B,3,1,cbo", &OtaMainFields::cboCtl7},
    {"0x03B,4,1,cbo", &OtaMainFields::cboCtl4},
};

/// Capcodes and music rows type 1 carries.
constexpr int kType1Capcodes = 7;

/// A selector's item, or the first item when the stored code names none.
int ItemOrFirst(std::optional<int> item) { return item.value_or(0); }
int ItemOrFirst(int item) { return item < 0 ? 0 : item; }

void ReadMainWindow(const ConfigImage& image, const OtaControlValues& c, OtaMainFields& m) {
    for (int n = 0; n < kType1Capcodes; ++n) {
        const auto i = static_cast<std::size_t>(n);
        m.edtCap[i] = CapcodeText(image, CapcodeNumber(c.capcodePage, n));
        m.cboMusicType[i] = ItemOrFirst(
            ShownToneItem(image, MusicTypeOffset(c.musicTypePage, n), ToneSelector::MusicType));
    }
    for (const BoundBox& b : kBoundBoxes)
        if (const auto hint = ParseBindingHint(b.hint)) m.*b.box = BoundCheckState(image, *hint);
    for (const BoundCombo& b : kBoundCombos)
        if (const auto hint = ParseBindingHint(b.hint)) m.*b.combo = ItemOrFirst(BoundComboIndex(image, *hint));
    // The last step of the refresh shows "Capcode Music Type Enable" from
    // its own bit, whatever its hint names.
    m.chkCapMusicType = fields::kCapcodeMusicTypeOff.Get(image) == 0;

    m.cboSLC = ItemOrFirst(LockoutItem(image));
    // The option set reads the first trio of threshold lists; the refresh
    // sets them only while the rechargeable trio is in front.
    if (FirstTagOf(BatteryTypeOf(image)) == 0) {
        const auto items = ThresholdItems(image);
        m.cboBatLev0 = ItemOrFirst(items[0]);
        m.cboBatLev1 = ItemOrFirst(items[1]);
        m.cboBatLev2 = ItemOrFirst(items[2]);
    }
    m.cboLng = ItemOrFirst(LanguageItemFromCode(static_cast<int>(fields::kPromptLanguageCode.Get(image))));
    m.cboLogo = ItemOrFirst(LanguageItemFromCode(static_cast<int>(fields::kLogoFontCode.Get(image))));
    m.cboTone = ItemOrFirst(ShownToneItem(image, kAlertToneOffset, ToneSelector::AlertTone));
    m.cboRDC = ItemOrFirst(ReminderDurationItem(image));
    const MenuItemsOff off = MenuItemsOffFromImage(image);
    for (std::size_t k = 0; k < m.chkMenu.size() && k < off.size(); ++k) m.chkMenu[k] = off[k];
    m.cboSource = ItemOrFirst(SourceTextsItem(image));

    m.chkReminder = c.chkReminder;
    m.txtReminder = c.txtReminder;
    m.chkMailDropAlert = c.chkMailDropAlert;
    m.cboPriType = c.cboPriType;
    m.cboGroupType = c.cboGroupType;

    // Even source boxes show the enable flags of the source page; the odd
    // ones are never set.
    m.chkSource = c.chkSource;
    for (int k = 0; k < kSourcesPerPage; ++k)
        m.chkSource[static_cast<std::size_t>(2 * k)] = SourceEnabled(image, c.sourcePage, k);
    for (int tag = 0; tag < static_cast<int>(m.edtPrompt.size()); ++tag) {
        PromptField& prompt = m.edtPrompt[static_cast<std::size_t>(tag)];
        prompt.text = ShownPromptText(image, tag);
        prompt.record = PromptOffset(tag);
    }
}

void ReadAlertWindow(const ConfigImage& image, OtaAlertFields& a) {
    a.cboPersonal = ItemOrFirst(PersonalAlertItem(image));
    for (int i = 0; i < static_cast<int>(a.cboMailAlert.size()); ++i)
        a.cboMailAlert[static_cast<std::size_t>(i)] = ItemOrFirst(MailDropAlertItem(image, i));
}

}  // namespace

OtaImageInputs OtaInputsFromImage(const ConfigImage& image, const OtaControlValues& controls) {
    OtaImageInputs in;
    ReadMainWindow(image, controls, in.main);
    ReadAlertWindow(image, in.alert);
    in.show.edtRTCCtl = controls.edtRTCCtl;
    in.show.edtCap7 = CapcodeText(image, CapcodeNumber(controls.capcodePage, 7));
    in.show.edtPSN = PsnText(image);
    in.show.edtSSN = SsnText(image);
    return in;
}

}  // namespace zrv::ota
