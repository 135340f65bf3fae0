// The music and alert-tone controls: the music-type rows and their page
// selector, the alarm, priority and group music types, the alert tone, the
// out-of-range alert and its timer, the reminder. Their handlers come with
// the melody editor; the refreshers and enabling rules of the controls live
// here already.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/option_fields.h"
#include "core/option_settings.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

constexpr int kMusicTypeRows = 16;
constexpr int kAlarmTypes = 5;

class MusicEditor : public EditorModule {
public:
    std::string name() const override { return "music"; }

    std::vector<RefreshSlot> refreshSlots() const override {
        return {RefreshSlot::BoundEnabling, RefreshSlot::OutOfRangeTimer, RefreshSlot::MenuDependents,
                RefreshSlot::Reminder, RefreshSlot::CapcodeMusicType};
    }

    void refresh(MainForm& form, RefreshSlot slot) override {
        switch (slot) {
            case RefreshSlot::BoundEnabling: applyMusicTypeOptionRules(form); break;
            case RefreshSlot::OutOfRangeTimer:
                form.require(ctl::cboOSC).setCurrentIndex(OutOfRangeItem(form.image()));
                break;
            case RefreshSlot::MenuDependents:
                applyMusicAndOutOfRangeRules(form);
                form.require(ctl::cboTone).setVisible(form.require(ctl::chkMenu6).isChecked());
                break;
            case RefreshSlot::Reminder: applyReminderRules(form); break;
            case RefreshSlot::CapcodeMusicType:
                // A change runs the box's click handler, as a user click does.
                form.require(ctl::chkCapMusicType).setChecked(fields::kCapcodeMusicTypeOff.Get(form.image()) == 0);
                break;
            default: break;
        }
    }

    void applyModifyModeRules(MainForm& form) override {
        // Enabling everything must not unlock a combo whose box is unchecked.
        applyMusicTypeOptionRules(form);
        applyMusicAndOutOfRangeRules(form);
        applyReminderRules(form);
    }

private:
    /// The alarm, priority and group music types and the tone type follow
    /// their option boxes.
    static void applyMusicTypeOptionRules(MainForm& form) {
        const bool alarm = form.require(ctl::chkAlarmMusicType).isChecked();
        for (int i = 0; i < kAlarmTypes; ++i) form.require(ctl::family::cboAlarmType, i).setEnabled(alarm);
        form.require(ctl::cboPriType).setEnabled(form.require(ctl::chkPriMusicType).isChecked());
        form.require(ctl::cboGroupType).setEnabled(form.require(ctl::chkGupMusicType).isChecked());
        form.require(ctl::lblToneType).setEnabled(form.require(ctl::chkReminderSelectTone).isChecked());
    }

    /// The music-type rows follow "Capcode Music Type Enable"; the
    /// out-of-range alert needs its timer, and its tone needs the alert.
    static void applyMusicAndOutOfRangeRules(MainForm& form) {
        const bool music = form.require(ctl::chkCapMusicType).isChecked();
        for (int i = 0; i < kMusicTypeRows; ++i) {
            form.require(ctl::family::cboMusicType, i).setEnabled(music);
            form.require(ctl::family::edtMusicType, i).setEnabled(music);
            form.require(ctl::family::btnPreview, i).setEnabled(music);
        }
        form.require(ctl::lblCapMTPage).setEnabled(music);
        form.require(ctl::cboMTPage).setEnabled(music);
        form.require(ctl::CheckBox2).setEnabled(form.require(ctl::cboOSC).currentIndex() != 0);
        const bool outOfRange = form.require(ctl::CheckBox2).isChecked();
        form.require(ctl::cboORAAlert).setEnabled(outOfRange);
        form.require(ctl::edtOORMusic).setEnabled(outOfRange);
        form.require(ctl::btnPreview16).setEnabled(outOfRange);
        form.require(ctl::lblPrompt41).setEnabled(outOfRange);
        form.require(ctl::edtPrompt41).setEnabled(outOfRange);
    }

    /// The reminder tone can be chosen only with a reminder, and its controls
    /// only with "Reminder Select Tone".
    static void applyReminderRules(MainForm& form) {
        form.require(ctl::chkReminderSelectTone).setEnabled(form.require(ctl::cboRDC).currentIndex() != 0);
        const bool reminder = form.require(ctl::chkReminderSelectTone).isChecked();
        form.require(ctl::cboRToneType).setEnabled(reminder);
        form.require(ctl::edtReminderMusic).setEnabled(reminder);
        form.require(ctl::btnPreview17).setEnabled(reminder);
    }
};

const EditorModuleRegistration registration{"music", [] { return std::make_unique<MusicEditor>(); }};

}  // namespace
}  // namespace zrv
