// What each family of fields stores, in words: the texts of the fields' tool
// tips, of the field list and of the user guide's reference. The English
// text is the fallback of the language-file key beside it; the language file
// carries it and its German translation.
#include <algorithm>
#include <string>
#include <vector>

#include "core/field_table.h"

namespace zrv {
namespace {

struct FamilyText {
    std::string_view pattern;  ///< FieldNamePattern of the family's names
    std::string_view key;
    std::string_view english;
    /// Arguments of the text that the name does not give (a menu item's
    /// name); empty for a family whose name's numbers and letters are them.
    std::vector<std::string_view> fixedArgs;
};

const std::vector<FamilyText>& FamilyTexts() {
    static const std::vector<FamilyText> texts = {
        {"band", "TipBand", "Frequency band of the pager's receiver; choosing a band also sets its preset frequency and baud rate", {}},
        {"frequency", "TipFrequency", "Receive frequency (channel) of the pager; the synthesizer words are made from it", {}},
        {"baud", "TipBaud", "Data rate at which the pager receives its pages", {}},
        {"polarity", "TipPolarity", "Polarity of the received data signal: normal or inverted", {}},
        {"narrowband", "TipNarrowband", "Narrow channel spacing for the receiver", {}},
        {"capcode.N", "TipCapcode", "Capcode %s of the pager: its address on the air", {}},
        {"capcode.N.on", "TipCapcodeOn", "Capcode %s is switched on: the pager takes the pages sent to it", {}},
        {"capcode.N.manual", "TipCapcodeManual", "Manual flag of capcode %s", {}},
        {"capcode.N.X.priority", "TipFunctionBitPriority", "Capcode %s, function bit %s: pages to it alert as priority messages", {}},
        {"capcode.N.X.display", "TipFunctionBitDisplay", "Capcode %s, function bit %s: how the pager shows a page to it (numeric, alpha, tone only ...)", {}},
        {"capcode.N.X.type", "TipFunctionBitType", "Capcode %s, function bit %s: message type of a page to it (personal, a mail drop or group)", {}},
        {"alert.personal", "TipAlertPersonal", "How long the pager alerts for a personal message", {}},
        {"alert.maildrop.M", "TipAlertMailDrop", "How the pager alerts for a message of mail drop %s: not at all, a beep, or for 1 or 16 seconds", {}},
        {"password.rw", "TipRwPassword", "The pager's read/write password: the programmer gives it before reading or writing a pager that asks for it", {}},
        {"prompt.N", "TipPrompt", "Prompt %s: a text the pager shows (prompt 0 is the power-on logo, the others its menu and status texts)", {}},
        {"prompt.language", "TipPromptLanguage", "Language of the pager's prompts; choosing one loads its built-in prompt set", {}},
        {"logo.font", "TipLogoFont", "Language font in which the pager shows its power-on logo", {}},
        {"logo.large-font", "TipLogoLargeFont", "The power-on logo is shown in the large font (and centred for it)", {}},
        {"source.enable", "TipSourceEnable", "Source texts on or off: the pager shows the sender's text with a message", {}},
        {"source.N.X.on", "TipSourceOn", "Source text of capcode %s, function bit %s is on", {}},
        {"source.N.X.line1", "TipSourceLine1", "First line of the source text of capcode %s, function bit %s", {}},
        {"source.N.X.line2", "TipSourceLine2", "Second line of the source text of capcode %s, function bit %s", {}},
        {"music.N.X.type", "TipMusicType", "Capcode %s, function bit %s: the tone or melody a page to it plays (User plays its own melody)", {}},
        {"music.N.X.melody", "TipMusicMelody", "Capcode %s, function bit %s: the user's own melody, as notes", {}},
        {"music.capcode-enable", "TipMusicCapcodeEnable", "Each capcode's function bits play their own music type", {}},
        {"music.priority-enable", "TipMusicPriorityEnable", "Priority messages play their own music type", {}},
        {"music.group-enable", "TipMusicGroupEnable", "Group messages play their own music type", {}},
        {"music.alarm-enable", "TipMusicAlarmEnable", "The pager's alarms play their own music types", {}},
        {"out-of-range.timer", "TipOutOfRangeTimer", "How long the pager waits without a signal before it reports being out of range", {}},
        {"out-of-range.alert", "TipOutOfRangeAlert", "The pager alerts when it goes out of range", {}},
        {"out-of-range.type", "TipOutOfRangeType", "The tone or melody of the out-of-range alert", {}},
        {"out-of-range.melody", "TipOutOfRangeMelody", "The user's own melody of the out-of-range alert, as notes", {}},
        {"reminder.duration", "TipReminderDuration", "How long the reminder of an unread message sounds", {}},
        {"reminder.select-tone", "TipReminderSelectTone", "The reminder plays a tone of its own", {}},
        {"reminder.type", "TipReminderType", "The tone or melody of the reminder", {}},
        {"reminder.melody", "TipReminderMelody", "The user's own melody of the reminder, as notes", {}},
        {"alert-tone", "TipAlertTone", "The pager's alert: a tone, a melody, vibration or flash only", {}},
        {"lockout", "TipLockout", "The pager ignores duplicate transmissions that occur within the selected time period", {}},
        {"battery.low", "TipBatteryLow", "Battery gauge: the voltage below which the pager shows its lowest level", {}},
        {"battery.med", "TipBatteryMed", "Battery gauge: the voltage of the pager's middle level", {}},
        {"battery.high", "TipBatteryHigh", "Battery gauge: the voltage above which the pager shows a full battery", {}},
        {"contrast", "TipContrast", "Contrast of the pager's display", {}},
        {"menu.zoom-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Zoom In/Out"}},
        {"menu.scroll-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Set Scroll"}},
        {"menu.time-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Set Time"}},
        {"menu.alarm-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Set Alarm"}},
        {"menu.auto-sleep-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Auto Sleep"}},
        {"menu.pager-off-disable", "TipMenuPagerOff", "The pager cannot be switched off from its menu", {}},
        {"menu.alert-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Set Alert"}},
        {"menu.cap-on-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"CAP-ON"}},
        {"menu.lock-unlock-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Lock/Unlock"}},
        {"menu.delete-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Delete"}},
        {"menu.delete-all-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Delete All"}},
        {"menu.move-to-memo-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"Move To Memo"}},
        {"menu.history-off", "TipMenuOff", "Takes the item \"%s\" out of the pager's menu", {"History"}},
        {"manual-write", "TipManualWrite", "The pager may be written without reading it first (manual write)", {}},
        {"frequency-modification", "TipFrequencyModification", "The receive frequency may be changed when the pager is programmed", {}},
        {"password-required", "TipPasswordRequired", "The pager asks for its read/write password before it is read or written", {}},
        {"password-modification", "TipPasswordModification", "The pager's read/write password may be changed", {}},
        {"read-time-out", "TipReadTimeOut", "How long a read message stays on the pager's display", {}},
        {"paging-display", "TipPagingDisplay", "On a new page the pager shows the message at once (Direct) or its page count", {}},
        {"date-format", "TipDateFormat", "The order in which the pager shows day, month and year", {}},
        {"direct-show-lamp-on", "TipDirectShowLamp", "The lamp lights while a message is shown directly", {}},
        {"display-source-address", "TipDisplaySourceAddress", "The pager shows the sender's address with a message", {}},
        {"lowcell-alert", "TipLowcellAlert", "The pager alerts when its battery runs low", {}},
        {"duplicate-msg-detect", "TipDuplicateMsgDetect", "The pager recognises a message it has already received", {}},
        {"beep-and-vibration", "TipBeepAndVibration", "The pager beeps and vibrates together", {}},
        {"long-message-control", "TipLongMessageControl", "The pager's control of long messages is on", {}},
        {"discard-error-message", "TipDiscardErrorMessage", "The pager discards a message received with errors", {}},
        {"counter-out", "TipCounterOut", "The pager's counter output is on", {}},
        {"push-key-lamp-on", "TipPushKeyLamp", "The lamp lights when a key is pressed", {}},
        {"air-program", "TipAirProgram", "The pager may be programmed over the air", {}},
        {"vibrate-off-in-charger", "TipVibrateOffInCharger", "The pager does not vibrate while it sits in its charger", {}},
        {"keyboard-interlock", "TipKeyboardInterlock", "The pager's keys can be locked", {}},
        {"group-code-disable", "TipGroupCodeDisable", "The pager takes no group messages", {}},
        {"pin-code", "TipPinCode", "The pager asks for a four-digit PIN code", {}},
        {"rd-key.pager-off", "TipRdKeyPagerOff", "The read key can switch the pager off", {}},
        {"rd-key.delete", "TipRdKeyDelete", "The read key can delete a message", {}},
        {"rd-key.switch-alert", "TipRdKeySwitchAlert", "The read key can switch the alert", {}},
        {"battery.rechargeable", "TipBatteryRechargeable", "The pager runs on a rechargeable 2.4 V battery; a change brings that battery type's gauge thresholds", {}},
        {"aes.active", "TipAesActive", "AES encryption of received messages is active", {}},
        {"ota.active", "TipOtaActive", "The pager takes over-the-air (OTA) commands", {}},
        {"ota.program", "TipOtaProgram", "The pager may be programmed by OTA commands", {}},
        {"aes.key.N", "TipAesKey", "AES key %s of the pager", {}},
        {"aes.select.N.X", "TipAesSelect", "Capcode %s, function bit %s: the AES key its messages are encrypted with, or none", {}},
        {"serial", "TipPagerSerial", "The pager's serial number, as it reports it", {}},
        {"ssn", "TipSsn", "The pager's secret serial number: the key of its encrypted OTA commands", {}},
        {"psn", "TipPsn", "The pager's public serial number: OTA commands are addressed to it", {}},
    };
    return texts;
}

}  // namespace

std::string FieldNamePattern(std::string_view name) {
    std::string pattern;
    std::size_t start = 0;
    bool afterNumber = false;
    const bool mailDrop = name.starts_with("alert.maildrop.");
    while (start <= name.size()) {
        const auto dot = std::min(name.find('.', start), name.size());
        std::string part(name.substr(start, dot - start));
        const bool number = !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
        if (mailDrop && dot == name.size()) part = "M";
        else if (number) part = "N";
        else if (afterNumber && part.size() == 1) part = "X";
        afterNumber = number;
        pattern += (pattern.empty() ? "" : ".") + part;
        start = dot + 1;
    }
    return pattern;
}

FieldDescription DescribeField(std::string_view name) {
    const std::string pattern = FieldNamePattern(name);
    const auto& texts = FamilyTexts();
    const auto it = std::find_if(texts.begin(), texts.end(), [&](const FamilyText& t) { return t.pattern == pattern; });
    if (it == texts.end()) return {};
    FieldDescription d{std::string(it->key), std::string(it->english), {}};
    for (std::string_view arg : it->fixedArgs) d.args.emplace_back(arg);
    if (!it->fixedArgs.empty()) return d;
    // The parts of the name that the pattern replaced, in order.
    std::size_t start = 0;
    std::size_t patternStart = 0;
    while (start <= name.size()) {
        const auto dot = std::min(name.find('.', start), name.size());
        const auto patternDot = std::min(pattern.find('.', patternStart), pattern.size());
        const std::string_view placeholder = std::string_view(pattern).substr(patternStart, patternDot - patternStart);
        if (placeholder == "N" || placeholder == "X" || placeholder == "M")
            d.args.emplace_back(name.substr(start, dot - start));
        start = dot + 1;
        patternStart = patternDot + 1;
    }
    return d;
}

}  // namespace zrv
