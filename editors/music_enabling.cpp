#include "editors/music_enabling.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/music.h"
#include "editors/control_names.h"
#include "editors/main_form.h"

namespace zrv::music_enabling {
namespace {

constexpr int kAlarmTypes = 5;

}  // namespace

void applyAlertToneRule(MainForm& form) {
    form.require(ctl::cboTone).setVisible(AlertToneOffered(form.require(ctl::chkMenu6).isChecked(),
                                                           form.require(ctl::chkCapMusicType).isChecked()));
}

/// The alarm, priority and group music types and the tone type follow
/// their option boxes.
void applyMusicTypeOptionRules(MainForm& form) {
    const bool alarm = form.require(ctl::chkAlarmMusicType).isChecked();
    for (int i = 0; i < kAlarmTypes; ++i) form.require(ctl::family::cboAlarmType, i).setEnabled(alarm);
    form.require(ctl::cboPriType).setEnabled(form.require(ctl::chkPriMusicType).isChecked());
    form.require(ctl::cboGroupType).setEnabled(form.require(ctl::chkGupMusicType).isChecked());
    form.require(ctl::lblToneType).setEnabled(form.require(ctl::chkReminderSelectTone).isChecked());
}

/// The music-type rows follow "Capcode Music Type Enable".
void applyCapcodeMusicRules(MainForm& form) {
    const bool music = form.require(ctl::chkCapMusicType).isChecked();
    for (int i = 0; i < kMusicRowsPerPage; ++i) {
        form.require(ctl::family::cboMusicType, i).setEnabled(music);
        form.require(ctl::family::edtMusicType, i).setEnabled(music);
        form.require(ctl::family::btnPreview, i).setEnabled(music);
    }
    form.require(ctl::lblCapMTPage).setEnabled(music);
    form.require(ctl::cboMTPage).setEnabled(music);
}

/// The out-of-range alert needs its timer, and its tone needs the alert.
bool outOfRangeAlertOn(MainForm& form) {
    return form.require(ctl::cboOSC).currentIndex() != 0 && form.require(ctl::outOfRangeAlert).isChecked();
}

void applyOutOfRangeRules(MainForm& form) {
    form.require(ctl::outOfRangeAlert).setEnabled(form.require(ctl::cboOSC).currentIndex() != 0);
    const bool on = outOfRangeAlertOn(form);
    form.require(ctl::cboORAAlert).setEnabled(on);
    form.require(ctl::edtOORMusic).setEnabled(on);
    form.require(ctl::btnPreview16).setEnabled(on);
    form.require(ctl::lblPrompt41).setEnabled(on);
    form.require(ctl::edtPrompt41).setEnabled(on);
}

/// The reminder tone can be chosen only with a reminder, and its controls
/// only with "Reminder Select Tone".
void applyReminderRules(MainForm& form) {
    form.require(ctl::chkReminderSelectTone).setEnabled(form.require(ctl::cboRDC).currentIndex() != 0);
    const bool reminder = form.require(ctl::chkReminderSelectTone).isChecked();
    form.require(ctl::cboRToneType).setEnabled(reminder);
    form.require(ctl::edtReminderMusic).setEnabled(reminder);
    form.require(ctl::btnPreview17).setEnabled(reminder);
}

}  // namespace zrv::music_enabling
