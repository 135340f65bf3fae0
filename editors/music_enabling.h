#pragma once
/// \file
/// Which controls of the music page are enabled or shown, from the state of
/// the boxes and selectors they follow. The music module runs them after a
/// change and at its refresh slots.

namespace zrv {
class MainForm;
}

namespace zrv::music_enabling {

/// The fixed alert tone is shown only where AlertToneOffered says.
void applyAlertToneRule(MainForm& form);
/// The alarm, priority and group music types and the tone type follow
/// their option boxes.
void applyMusicTypeOptionRules(MainForm& form);
/// The music-type rows follow "Capcode Music Type Enable".
void applyCapcodeMusicRules(MainForm& form);
/// The out-of-range alert needs its timer, and its tone needs the alert.
bool outOfRangeAlertOn(MainForm& form);
void applyOutOfRangeRules(MainForm& form);
/// The reminder tone can be chosen only with a reminder, and its controls
/// only with "Reminder Select Tone".
void applyReminderRules(MainForm& form);

}  // namespace zrv::music_enabling
