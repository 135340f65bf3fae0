// The fields of the music page, the option settings, the AES page and the
// serial numbers.
#include "core/field_table_builder.h"

namespace zrv::field_rows {

Setter MelodySetter(std::size_t offset) {
    return [offset](ConfigImage& image, FieldContext&, const std::string& text, int) {
        // An emptied box shows the stored melody again and stores nothing.
        if (text.find_first_not_of(' ') == std::string::npos) return Refuse("an empty melody stores nothing");
        return StoreMelody(image, offset, text);
    };
}
Getter MelodyGetter(std::size_t offset) {
    return [offset](const ConfigImage& image, const FieldContext&) { return MelodyText(ReadMelody(image, offset)); };
}
void ToneCombo(TableBuilder& t, std::string name, std::string control, std::size_t offset, ToneSelector selector) {
    t.combo(std::move(name), MusicTypes(), std::move(control), HexOffset(offset),
            [offset, selector](const ConfigImage& image, const FieldContext&) {
                return ShownToneItem(image, offset, selector);
            },
            [offset, selector](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreToneItem(image, offset, selector, item);
                return Outcome::Ok();
            });
}

void AddMusic(TableBuilder& t) {
    t.group = "music";
    const std::string melodyAccepts = "up to 16 characters: A-G, a-g and 0, or 1 and 0 (shorter is padded with 0)";
    for (int n = 0; n < kMusicPageCount * 4; ++n) {
        const int page = n / 4;
        for (int f = 0; f < 4; ++f) {
            const int row = (n % 4) * 4 + f;
            const std::string base = "music." + std::to_string(n + 1) + "." + kFunctionBits[static_cast<std::size_t>(f)];
            const std::string where = " (music page " + std::to_string(page + 1) + ")";
            ToneCombo(t, base + ".type", "cboMusicType" + std::to_string(row) + where, MusicTypeOffset(page, row),
                      ToneSelector::MusicType);
            t.add(base + ".melody", FieldKind::Text, {}, melodyAccepts, "edtMusicType" + std::to_string(row) + where,
                  HexRange(MelodyOffset(page, row), kMelodyLength), MelodyGetter(MelodyOffset(page, row)),
                  MelodySetter(MelodyOffset(page, row)));
        }
    }
    t.boundCheck("music.capcode-enable", "chkCapMusicType", "0x02F,0,1,chkN",
                 [](ConfigImage& image, bool checked) {
                     return StoreCapcodeMusicType(image, checked, MenuItemsOffFromImage(image)[kSetAlertMenuItem]);
                 });
    t.caption("Capcode Music Type Enable");
    // The box shows the pager's switch, which its click stores beside the
    // bit its hint names.
    t.fields.back().get = [](const ConfigImage& image, const FieldContext&) {
        return OnOff(fields::kCapcodeMusicTypeOff.Get(image) == 0);
    };
    t.fields.back().location = BitText(fields::kCapcodeMusicTypeOff) + " (0 = on) and 0x002F bit 0";
    t.boundCheck("music.priority-enable", "chkPriMusicType", "0x02F,5,1,chkN");
    t.caption("Priority Music Type Enable");
    t.boundCheck("music.group-enable", "chkGupMusicType", "0x02F,4,1,chkN");
    t.caption("Group Music Type Enable");
    t.boundCheck("music.alarm-enable", "chkAlarmMusicType", "0x030,2,1,chkN");
    t.caption("Alarm Music Type Enable");

    t.combo("out-of-range.timer", Items({"Disable", "1 min", "2 min", "5 min", "10 min", "15 min"}), "cboOSC",
            "0x003D bit 1-3, 0x04FB, 0x04FC bit 1",
            [](const ConfigImage& image, const FieldContext&) { return std::optional<int>(OutOfRangeItem(image)); },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreOutOfRangeItem(image, item);
                return Outcome::Ok();
            });
    t.caption("Out Of Range", "lblOutOfRange");
    t.boundCheck("out-of-range.alert", "CheckBox2", "0x4FC,0,1,chkN");
    t.caption("Out Of Range Alert");
    ToneCombo(t, "out-of-range.type", "cboORAAlert", kOutOfRangeTypeOffset, ToneSelector::MusicType);
    t.caption("Alert Type", "lblORAType");
    t.add("out-of-range.melody", FieldKind::Text, {}, melodyAccepts, "edtOORMusic",
          HexRange(kOutOfRangeMelodyOffset, kMelodyLength), MelodyGetter(kOutOfRangeMelodyOffset),
          MelodySetter(kOutOfRangeMelodyOffset));
    t.combo("reminder.duration",
            Items({"Disable", " 5 Seconds", "20 Seconds", " 2 minutes", "10 minutes", "60 minutes"}), "cboRDC",
            HexRange(kReminderDurationOffset, 2),
            [](const ConfigImage& image, const FieldContext&) { return ReminderDurationItem(image); },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreReminderDuration(image, item);
                return Outcome::Ok();
            });
    t.caption("Reminder Duration", "lblReminderDuration");
    t.boundCheck("reminder.select-tone", "chkReminderSelectTone", "0x2F,1,1,chkN, NULL");
    t.caption("Reminder Select Tone");
    ToneCombo(t, "reminder.type", "cboRToneType", kReminderToneOffset, ToneSelector::ReminderTone);
    t.caption("Tone Type", "lblToneType");
    t.add("reminder.melody", FieldKind::Text, {}, melodyAccepts, "edtReminderMusic",
          HexRange(kReminderMelodyOffset, kMelodyLength), MelodyGetter(kReminderMelodyOffset),
          MelodySetter(kReminderMelodyOffset));
    t.combo("alert-tone", AlertTones(), "cboTone", "0x002E and 0x04F9",
            [](const ConfigImage& image, const FieldContext&) {
                return ShownToneItem(image, kAlertToneOffset, ToneSelector::AlertTone);
            },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreAlertTone(image, item);
                return Outcome::Ok();
            });
}

void AddOptions(TableBuilder& t) {
    t.group = "options";
    t.combo("lockout", Items({"Disable", "30 seconds", "60 seconds", "120 seconds", "175 seconds", "240 seconds"}),
            "cboSLC", "0x003C bit 0-3",
            [](const ConfigImage& image, const FieldContext&) { return std::optional<int>(LockoutItem(image)); },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreLockoutItem(image, item);
                return Outcome::Ok();
            });
    t.caption("Sequential Lockout", "lblSequentialLockout");
    const std::array<std::string, kThresholdCount> places = {"low", "med", "high"};
    for (int place = 0; place < kThresholdCount; ++place) {
        t.add("battery." + places[static_cast<std::size_t>(place)], FieldKind::Combo, {},
              "rechargeable cell: " + RechargeableItems().front() + ".." + RechargeableItems().back() +
                  "; standard cell: " + StandardItems().front() + ".." + StandardItems().back(),
              "cboBatLev" + std::to_string(place) + " / cboBatLev" + std::to_string(place + 3),
              HexOffset(0x8D + static_cast<std::size_t>(place)),
              [place](const ConfigImage& image, const FieldContext&) {
                  const auto& items = BatteryTypeOf(image) == BatteryType::Rechargeable ? RechargeableItems()
                                                                                          : StandardItems();
                  return ItemText(items, ThresholdItems(image)[static_cast<std::size_t>(place)]);
              },
              [place](ConfigImage& image, FieldContext&, const std::string&, int item) {
                  return StoreThreshold(image, FirstTagOf(BatteryTypeOf(image)) + place, item);
              });
    }
    t.add("contrast", FieldKind::Number, {}, "1..8", "TrackBar1", HexOffset(layout::kContrast),
          [](const ConfigImage& image, const FieldContext&) {
              return std::to_string(ContrastSliderPosition(image.byte(layout::kContrast)));
          },
          [](ConfigImage& image, FieldContext&, const std::string&, int item) {
              StoreContrast(image, item);
              return Outcome::Ok();
          });
    t.caption("Screen Contrast", "lblContrast");
    const std::array<const char*, kMenuItemCount> menus = {"zoom-off",   "scroll-off",         "time-off",  "alarm-off",
                                                           "auto-sleep-off", "pager-off-disable", "alert-off", "cap-on-off"};
    const std::array<const char*, kMenuItemCount> menuCaptions = {
        "Zoom In/Out Off", "Set Scroll Off",    "Set Time Off",  "Set Alarm Off",
        "Auto Sleep Off",  "Pager Off Disable", "Set Alert Off", "CAP-ON Off"};
    for (int k = 0; k < kMenuItemCount; ++k) {
        t.check(std::string("menu.") + menus[static_cast<std::size_t>(k)], "chkMenu" + std::to_string(k),
                "menu item code " + std::to_string(7 + k) + " in 0x0078..0x007E",
                [k](const ConfigImage& image) { return MenuItemsOffFromImage(image)[static_cast<std::size_t>(k)]; },
                [k](ConfigImage& image, FieldContext&, const std::string&, int item) {
                    MenuItemsOff off = MenuItemsOffFromImage(image);
                    off[static_cast<std::size_t>(k)] = item != 0;
                    return StoreMenuItemsOff(image, off);
                });
        t.caption(menuCaptions[static_cast<std::size_t>(k)]);
    }
    const struct {
        const char* name;
        const char* control;
        TransferOption option;
        Field field;
        const char* caption;
    } transfer[] = {
        {"manual-write", "chkManualWEn", TransferOption::ManualWrite, fields::kManualWriteOff,
         "Manual Write Enable"},
        {"frequency-modification", "chkFreqMEn", TransferOption::FrequencyModification,
         fields::kFrequencyModificationOff, "Frequency Modification Enable"},
        {"password-required", "chkPwdREn", TransferOption::PasswordRequired, fields::kPasswordRequired,
         "Password Required Enable"},
        {"password-modification", "chkPwdMEn", TransferOption::PasswordModification, fields::kPasswordModification,
         "Password Modification Enable "},
    };
    for (const auto& x : transfer) {
        const TransferOption option = x.option;
        t.check(x.name, x.control, BitText(x.field),
                [option](const ConfigImage& image) {
                    const TransferOptions o = TransferOptionsFromImage(image);
                    switch (option) {
                        case TransferOption::ManualWrite: return o.manualWrite;
                        case TransferOption::FrequencyModification: return o.frequencyModification;
                        case TransferOption::PasswordRequired: return o.passwordRequired;
                        case TransferOption::PasswordModification: return o.passwordModification;
                    }
                    return false;
                },
                [option](ConfigImage& image, FieldContext&, const std::string&, int item) {
                    StoreTransferOption(image, option, item != 0);
                    return Outcome::Ok();
                });
        t.caption(x.caption);
    }
    // The hint-bound controls of "Alerts && Status".
    t.boundCombo("read-time-out", Items({"8 sec", "12 sec", "20 sec", "30 sec"}), "cboCtl6", "0x039,0,2,cbo");
    t.caption("Read Time Out", "lblReadTimeOut");
    t.boundCombo("paging-display", Items({"Page Count", "Direct"}), "cboCtl4", "0x03B,4,1,cbo");
    t.caption("Paging Display", "lblPagingDisplay");
    t.boundCombo("date-format", Items({"dd-mm-yy", "mm-dd-yy"}), "cboCtl7", "0x03B,3,1,cbo");
    t.caption("Date Format", "lblDateFormat");
    t.boundCheck("direct-show-lamp-on", "chkDirectShowLampOn", "0x039,5,1,chk");
    t.caption("Direct Show Lamp On");
    t.boundCheck("display-source-address", "chkCtl0", "0x039,7,1,chk");
    t.caption("Disp Source Addr ON");
    t.boundCheck("lowcell-alert", "chkCtl12", "0x039,6,1,chk");
    t.caption("Lowcell Alert Enable");
    t.boundCheck("duplicate-msg-detect", "chkDuplicateMsgDetect", "0x039,3,1,chkN");
    t.caption("Duplicate Msg Detect");
    t.boundCheck("beep-and-vibration", "chkBeepAndVibration", "0x036,3,1,chk");
    t.caption("Beep And Vibration ");
    t.boundCheck("long-message-control", "chkCtl11", "0x03B,2,1,chk");
    t.caption("Long Message Control On");
    t.boundCheck("discard-error-message", "chkDiscardErrMsg", "0x036,5,1,chk");
    t.caption("Discard Error Message");
    t.boundCheck("counter-out", "chkCtl10", "0x039,4,1,chkN");
    t.caption("Counter Out Enable");
    t.boundCheck("push-key-lamp-on", "chkPushKeyLampOn", "0x036,7,1,chk");
    t.caption("Push Key Lamp On Enable");
    t.boundCheck("air-program", "chkAirProgram", "0x036,6,1,chk");
    t.caption("Air Program Enable");
    t.boundCheck("vibrate-off-in-charger", "CheckBox3", "0x458,7,1,chkN");
    t.caption("Vibrate Off In Charger");
    t.boundCheck("keyboard-interlock", "chkKeyboardInterlock", "0x02F,7,1,chkN");
    t.caption("Keyboard Interlock Enable");
    t.boundCheck("group-code-disable", "chkGupCodeDisable", "0x51F,0,8,chkN");
    t.caption("Group Code Disable");
    t.boundCheck("pin-code", "CheckBox4", "0x4A1,6,1,chkN");
    t.caption("Pin Code(4 Dec)");
    t.boundCheck("rd-key.pager-off", "chkRDKeyPagerOff", "0x03D,6,1,chk");
    t.caption("RD Key Pager Off");
    t.boundCheck("rd-key.delete", "chkRDKeyDel", "0x03D,7,1,chk");
    t.caption("RD Key Delete Enable");
    t.boundCheck("rd-key.switch-alert", "CheckBox1", "0x031,7,1,chkN");
    t.caption("RD Key Switch Alert");
    // The battery type: a change brings the thresholds of the new type.
    t.boundCheck("battery.rechargeable", "chkCtl22", "0x4FC,2,1,chk", [](ConfigImage& image, bool) {
        ApplyBatteryTypeDefaults(image);
        return Outcome::Ok();
    });
    t.caption("Rechargeable Bat. 2.4V");
    t.boundCheck("menu.lock-unlock-off", "chkCtl16", "0x7E0,0,8,chkN");
    t.caption("Lock/Unlock Off");
    t.boundCheck("menu.delete-off", "chkCtl15", "0x7E1,0,8,chkN");
    t.caption("Delete Off");
    t.boundCheck("menu.delete-all-off", "chkCtl18", "0x7E2,0,8,chkN");
    t.caption("Delete All Off");
    t.boundCheck("menu.move-to-memo-off", "chkMoveToMemo", "0x7E3,0,8,chkN");
    t.caption("Move To Memo Off");
    t.boundCheck("menu.history-off", "chkCtl17", "0x7E4,0,8,chkN");
    t.caption("History Off");
}

/// The key list of \p tag: six of them carry an extra 0 in their designed
/// names ("cboAESKey06"), which are their keys in the language files.
std::string KeySelectionControl(int tag) {
    constexpr std::array<int, 6> kWithZero = {6, 7, 14, 19, 23, 28};
    const bool zero = std::find(kWithZero.begin(), kWithZero.end(), tag) != kWithZero.end();
    return (zero ? "cboAESKey0" : "cboAESKey") + std::to_string(tag);
}

void AddEncryption(TableBuilder& t) {
    t.group = "encryption";
    t.boundCheck("aes.active", "chkAESEN", "0x458,1,1,chkN");
    t.caption("AES - Active (enable/disable)");
    t.boundCheck("ota.active", "chkOTAEN", "0x458,0,1,chkN");
    t.caption("OTA - Active (enable/disable)");
    t.boundCheck("ota.program", "chkCtl14", "0x36,6,1,chk, NULL");
    t.caption("OTA Program Enable");
    for (int key = 0; key < kKeyCount; ++key) {
        const std::size_t offset = layout::kKeys + layout::kKeyLength * static_cast<std::size_t>(key);
        t.add("aes.key." + std::to_string(key + 1), FieldKind::Text, {},
              "up to 16 printable Windows-1252 characters (padded with blanks)", "edtAESKey" + std::to_string(key),
              HexRange(offset, layout::kKeyLength),
              [offset](const ConfigImage& image, const FieldContext&) {
                  const auto bytes = image.range(offset, layout::kKeyLength);
                  return Cp1252ToUtf8(std::string(bytes.begin(), bytes.end()));
              },
              [key](ConfigImage& image, FieldContext&, const std::string& text, int) {
                  return StoreKeyText(image, key, text).outcome;
              });
    }
    std::vector<std::string> keys{"Disable"};
    for (int k = 1; k <= kKeyCount; ++k) keys.push_back("Key " + std::to_string(k));
    for (int n = 0; n < 8; ++n) {
        for (int f = 0; f < 4; ++f) {
            const int tag = 4 * n + f;
            t.combo("aes.select." + std::to_string(n + 1) + "." + kFunctionBits[static_cast<std::size_t>(f)], keys,
                    KeySelectionControl(tag), HexOffset(0x1000 + static_cast<std::size_t>(tag)),
                    [tag](const ConfigImage& image, const FieldContext&) {
                        return std::optional<int>(KeySelectionItem(image, 0, tag));
                    },
                    [tag](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        StoreKeySelection(image, 0, tag, item);
                        return Outcome::Ok();
                    });
        }
    }
}

void AddSerials(TableBuilder& t) {
    t.group = "serial";
    t.add("serial", FieldKind::ReadOnly, {}, "read only", "txtSN", "0x04D6..0x04E3",
          [](const ConfigImage& image, const FieldContext&) { return PagerSerialText(image); }, {});
    t.add("ssn", FieldKind::ReadOnly, {}, "read only", "edtSSN", "0x04FD..0x050C",
          [](const ConfigImage& image, const FieldContext&) { return SsnText(image); }, {});
    t.add("psn", FieldKind::ReadOnly, {}, "read only", "edtPSN", "0x0513..0x051E",
          [](const ConfigImage& image, const FieldContext&) { return PsnText(image); }, {});
}

}  // namespace zrv::field_rows
