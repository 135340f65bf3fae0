#include "ota/ota_image_inputs.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/alert_lengths.h"
#include "core/battery_thresholds.h"
#include "core/binding_hint.h"
#include "core/capcode_rules.h"
#include "core/default_image.h"
#include "core/field_table.h"
#include "core/music.h"
#include "core/option_fields.h"
#include "core/option_settings.h"
#include "core/prompts.h"
#include "core/serial_fields.h"

namespace zrv::ota {

namespace {

/// The hint-bound boxes and combos the option set reads, by their fields
/// of the field catalogue: the refresh shows them by the field's binding.
struct BoundBox {
    std::string_view field;
    bool OtaMainFields::*box;
};
struct BoundCombo {
    std::string_view field;
    int OtaMainFields::*combo;
};

constexpr BoundBox kBoundBoxes[] = {
    {"beep-and-vibration", &OtaMainFields::chkBeepAndVibration},
    {"direct-show-lamp-on", &OtaMainFields::chkDirectShowLampOn},
    {"discard-error-message", &OtaMainFields::chkDiscardErrMsg},
    {"lowcell-alert", &OtaMainFields::chkCtl12},
    {"display-source-address", &OtaMainFields::chkCtl0},
    {"push-key-lamp-on", &OtaMainFields::chkPushKeyLampOn},
    {"keyboard-interlock", &OtaMainFields::chkKeyboardInterlock},
    {"counter-out", &OtaMainFields::chkCtl10},
    {"long-message-control", &OtaMainFields::chkCtl11},
    {"rd-key.pager-off", &OtaMainFields::chkRDKeyPagerOff},
    {"rd-key.delete", &OtaMainFields::chkRDKeyDel},
    {"duplicate-msg-detect", &OtaMainFields::chkDuplicateMsgDetect},
    {"music.priority-enable", &OtaMainFields::chkPriMusicType},
    {"music.group-enable", &OtaMainFields::chkGupMusicType},
    {"reminder.select-tone", &OtaMainFields::chkReminderSelectTone},
    {"menu.lock-unlock-off", &OtaMainFields::chkCtl16},
    {"menu.delete-off", &OtaMainFields::chkCtl15},
    {"menu.delete-all-off", &OtaMainFields::chkCtl18},
    {"menu.move-to-memo-off", &OtaMainFields::chkMoveToMemo},
};

constexpr BoundCombo kBoundCombos[] = {
    {"date-format", &OtaMainFields::cboCtl7},
    {"paging-display", &OtaMainFields::cboCtl4},
};

/// The binding of the bound field \p name; a name the catalogue lacks, or a
/// field without a binding, is a design error every OTA test finds.
const BindingHint& BindingOf(std::string_view name) {
    const FieldDef& field = RequireField(name);
    if (!field.binding) throw std::logic_error("field " + std::string(name) + " has no binding");
    return *field.binding;
}

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
    for (const BoundBox& b : kBoundBoxes) m.*b.box = BoundCheckState(image, BindingOf(b.field));
    for (const BoundCombo& b : kBoundCombos) m.*b.combo = ItemOrFirst(BoundComboIndex(image, BindingOf(b.field)));
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
