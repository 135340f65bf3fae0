// The option settings of the "Alerts && Status" page: sequential lockout,
// screen contrast, the RD-key boxes that follow "Push Key Lamp On Enable",
// "Direct Show Lamp On" that follows the paging display, and the four
// manual-write boxes. Every change is written into the image at once.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "core/image_layout.h"
#include "core/option_settings.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class OptionSettingsEditor : public EditorModule {
public:
    std::string name() const override { return "options"; }

    std::vector<RefreshSlot> refreshSlots() const override {
        return {RefreshSlot::BoundEnabling, RefreshSlot::Lockout, RefreshSlot::Contrast,
                RefreshSlot::DirectShowLamp, RefreshSlot::TransferOptions};
    }

    void refresh(MainForm& form, RefreshSlot slot) override {
        switch (slot) {
            case RefreshSlot::BoundEnabling: applyRdKeyRule(form); break;
            case RefreshSlot::Lockout: form.require(ctl::cboSLC).setCurrentIndex(LockoutItem(form.image())); break;
            case RefreshSlot::Contrast: refreshContrast(form); break;
            case RefreshSlot::DirectShowLamp: applyDirectShowLampRule(form); break;
            case RefreshSlot::TransferOptions: refreshTransferOptions(form); break;
            default: break;
        }
    }

    void connectHandlers(MainForm& form) override {
        QComboBox& lockout = form.require(ctl::cboSLC);
        QObject::connect(&lockout, &QComboBox::activated, &lockout, [&form](int item) { cboSLCChange(form, item); });
        QSlider& slider = form.require(ctl::TrackBar1);
        QObject::connect(&slider, &QSlider::valueChanged, &slider,
                         [&form](int position) { TrackBar1Change(form, position); });
        connectTransferOption(form, form.require(ctl::chkManualWEn), TransferOption::ManualWrite);
        connectTransferOption(form, form.require(ctl::chkFreqMEn), TransferOption::FrequencyModification);
        connectTransferOption(form, form.require(ctl::chkPwdREn), TransferOption::PasswordRequired);
        connectTransferOption(form, form.require(ctl::chkPwdMEn), TransferOption::PasswordModification);
    }

    void applyModifyModeRules(MainForm& form) override { applyRdKeyRule(form); }

    void boundControlChanged(MainForm& form, QWidget* control) override {
        if (control == &form.require(ctl::pagingDisplay)) applyDirectShowLampRule(form);
    }

private:
    static void cboSLCChange(MainForm& form, int item) {
        if (item < 0 || item >= kLockoutItemCount) return;
        StoreLockoutItem(form.image(), item);
    }

    /// The refresh sets the slider with its signals blocked, so a change
    /// here is the user's: the position is the new contrast byte.
    static void TrackBar1Change(MainForm& form, int position) {
        StoreContrast(form.image(), position);
        form.state().contrast = position;
        form.require(ctl::lblValue).setText(QString::number(position));
    }

    /// Each manual-write box stores its own switch, also when the refresh
    /// sets it (the same value goes back).
    static void connectTransferOption(MainForm& form, QCheckBox& box, TransferOption option) {
        QObject::connect(&box, &QCheckBox::toggled, &box,
                         [&form, option](bool checked) { StoreTransferOption(form.image(), option, checked); });
    }

    /// The RD-key boxes are offered only with "Push Key Lamp On Enable".
    static void applyRdKeyRule(MainForm& form) {
        const bool lamp = form.require(ctl::chkPushKeyLampOn).isChecked();
        form.require(ctl::chkRDKeyDel).setVisible(lamp);
        form.require(ctl::rdKeySwitchAlert).setVisible(lamp);
    }

    /// "Direct Show Lamp On" only with the direct paging display.
    static void applyDirectShowLampRule(MainForm& form) {
        form.require(ctl::chkDirectShowLampOn).setVisible(form.require(ctl::pagingDisplay).currentIndex() != 0);
    }

    static void refreshContrast(MainForm& form) {
        const std::uint8_t byte = form.image().byte(layout::kContrast);
        form.state().contrast = byte;
        // The slider shows an out-of-range byte at the nearer end of its
        // range; the image keeps the byte as it came.
        QSlider& slider = form.require(ctl::TrackBar1);
        const QSignalBlocker block(&slider);
        slider.setValue(ContrastSliderPosition(byte));
        form.require(ctl::lblValue).setText(QString::number(slider.value()));
    }

    static void refreshTransferOptions(MainForm& form) {
        const TransferOptions options = TransferOptionsFromImage(form.image());
        form.require(ctl::chkManualWEn).setChecked(options.manualWrite);
        form.require(ctl::chkFreqMEn).setChecked(options.frequencyModification);
        form.require(ctl::chkPwdREn).setChecked(options.passwordRequired);
        form.require(ctl::chkPwdMEn).setChecked(options.passwordModification);
    }
};

const EditorModuleRegistration registration{"options", [] { return std::make_unique<OptionSettingsEditor>(); }};

}  // namespace
}  // namespace zrv
