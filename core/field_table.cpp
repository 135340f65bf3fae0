#include "core/field_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <map>

#include "core/alert_lengths.h"
#include "core/battery_thresholds.h"
#include "core/binding_hint.h"
#include "core/capcode_rules.h"
#include "core/capcodes.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/encryption_keys.h"
#include "core/frequency.h"
#include "core/image_layout.h"
#include "core/music.h"
#include "core/option_fields.h"
#include "core/option_settings.h"
#include "core/prompts.h"
#include "core/rw_password.h"
#include "core/serial_fields.h"

namespace zrv {
namespace {

using Getter = std::function<std::string(const ConfigImage&, const FieldContext&)>;
using Setter = std::function<Outcome(ConfigImage&, FieldContext&, const std::string&, int)>;

constexpr std::string_view kFunctionBits = "ABCD";

std::vector<std::string> Items(std::initializer_list<std::string_view> list) {
    return {list.begin(), list.end()};
}
template <std::size_t N>
std::vector<std::string> Items(const std::array<std::string_view, N>& list) {
    return {list.begin(), list.end()};
}

// Item lists are made by functions, not namespace-scope objects: the table
// may be built while other files' static objects are constructed (the
// command line registers its help texts that way).
std::vector<std::string> Tunes() {
    return Items({"Tone 1", "Tone 2", "Tone 3", "Tone 4", "Music 1", "Music 2", "Music 3", "Music 4", "Music 5",
                  "Music 6", "Music 7", "Music 8"});
}
std::vector<std::string> MusicTypes() {
    std::vector<std::string> v{"User"};
    const auto tunes = Tunes();
    v.insert(v.end(), tunes.begin(), tunes.end());
    return v;
}
std::vector<std::string> AlertTones() {
    std::vector<std::string> v = Tunes();
    v.push_back("Vibration");
    v.push_back("Flash Only");
    return v;
}
/// Items of the threshold lists of each battery type (core/battery_thresholds.h
/// holds their gauge values in the same order).
const std::vector<std::string>& RechargeableItems() {
    static const std::vector<std::string> items = Items(
        {"2.68V", "2.65V", "2.62V", "2.59V", "2.55V", "2.52V", "2.49V", "2.46V", "2.42V", "2.40V", "2.35V"});
    return items;
}
const std::vector<std::string>& StandardItems() {
    static const std::vector<std::string> items = Items({"1.58V", "1.53V", "1.48V", "1.43V", "1.39V", "1.35V",
                                                         "1.29V", "1.23V", "1.19V", "1.14V", "1.09V", "1.05V",
                                                         "1.00V"});
    return items;
}

std::string HexOffset(std::size_t offset) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04zX", offset);
    return buf;
}
std::string HexRange(std::size_t offset, std::size_t length) {
    return HexOffset(offset) + ".." + HexOffset(offset + length - 1);
}
std::string BitText(const Field& f) {
    std::string s = HexOffset(f.offset);
    if (f.width == 8) return s;
    s += " bit " + std::to_string(f.bit);
    if (f.width > 1) s += "-" + std::to_string(f.bit + f.width - 1);
    return s;
}

std::string ItemText(const std::vector<std::string>& items, std::optional<int> item) {
    if (!item || *item < 0 || *item >= static_cast<int>(items.size())) return {};
    return items[static_cast<std::size_t>(*item)];
}
std::string OnOff(bool on) { return on ? "on" : "off"; }

/// A refusal of the command line's own (no catalogue message exists).
Outcome Refuse(const std::string& text) { return Outcome::Refused(Message("", text)); }

class TableBuilder {
public:
    std::vector<FieldDef> fields;
    std::string group;

    void add(std::string name, FieldKind kind, std::vector<std::string> items, std::string accepts,
             std::string control, std::string location, Getter get, Setter set) {
        FieldDef f;
        f.name = std::move(name);
        f.kind = kind;
        f.items = std::move(items);
        f.accepts = std::move(accepts);
        f.control = std::move(control);
        f.location = std::move(location);
        f.get = std::move(get);
        f.set = std::move(set);
        f.group = group;
        fields.push_back(std::move(f));
    }

    void combo(std::string name, std::vector<std::string> items, std::string control, std::string location,
               std::function<std::optional<int>(const ConfigImage&, const FieldContext&)> shown, Setter set) {
        auto captured = items;
        add(std::move(name), FieldKind::Combo, std::move(items), {}, std::move(control), std::move(location),
            [captured, shown](const ConfigImage& image, const FieldContext& c) {
                return ItemText(captured, shown(image, c));
            },
            std::move(set));
    }

    void check(std::string name, std::string control, std::string location,
               std::function<bool(const ConfigImage&)> shown, Setter set) {
        add(std::move(name), FieldKind::Check, {"on", "off"}, {}, std::move(control), std::move(location),
            [shown](const ConfigImage& image, const FieldContext&) { return OnOff(shown(image)); },
            std::move(set));
    }

    /// A check box bound by its hint and stored by the window's generic
    /// write-back; \p after is the side effect of the editor that follows it.
    void boundCheck(std::string name, std::string control, std::string_view hintText,
                    std::function<Outcome(ConfigImage&, bool)> after = {}) {
        const BindingHint hint = *ParseBindingHint(hintText);
        check(std::move(name), std::move(control) + " [" + std::string(hintText) + "]",
              BitText(hint.field()) + (hint.kind == BindingKind::ChkN ? " (0 = on)" : ""),
              [hint](const ConfigImage& image) { return BoundCheckState(image, hint); },
              [hint, after](ConfigImage& image, FieldContext&, const std::string&, int item) {
                  StoreBoundCheckState(image, hint, item != 0);
                  return after ? after(image, item != 0) : Outcome::Ok();
              });
    }

    /// A combo bound by its hint and stored by the generic write-back.
    void boundCombo(std::string name, std::vector<std::string> items, std::string control,
                    std::string_view hintText) {
        const BindingHint hint = *ParseBindingHint(hintText);
        combo(std::move(name), std::move(items), std::move(control) + " [" + std::string(hintText) + "]",
              BitText(hint.field()),
              [hint](const ConfigImage& image, const FieldContext&) { return BoundComboIndex(image, hint); },
              [hint](ConfigImage& image, FieldContext&, const std::string&, int item) {
                  StoreBoundComboIndex(image, hint, item);
                  return Outcome::Ok();
              });
    }
};

Outcome FromFrequency(const FrequencyOutcome& outcome) {
    if (outcome.ok()) return outcome.message ? Outcome::Warned(*outcome.message) : Outcome::Ok();
    if (outcome.message) return Outcome::Refused(*outcome.message);
    return Refuse("an empty value stores nothing");
}

/// The capcode boxes of the window after opening a file show the pages of
/// the first 16 capcodes, and Save clears the slots and flags beyond them:
/// a value given for a later capcode would be lost without a word.
std::optional<Outcome> BeyondKeptCapcodes(const FieldContext& c, int n) {
    if (n < c.capcodeCount) return std::nullopt;
    return Refuse("capcode " + std::to_string(n + 1) + " is not kept: a table file holds capcodes 1-" +
                  std::to_string(c.capcodeCount) + " and Save clears the others");
}

void AddFrequencyGroup(TableBuilder& t) {
    t.group = "frequency";
    std::vector<std::string> bands;
    for (const Band& b : kBands) bands.emplace_back(b.itemText);
    t.combo("band", bands, "cboFreq", "by 0x000D and 0x0065 (band from image)",
            [](const ConfigImage&, const FieldContext& c) { return std::optional<int>(c.band); },
            [](ConfigImage& image, FieldContext& c, const std::string&, int item) {
                c.band = item;
                return FromFrequency(ChangeBand(image, item, c.firmwareUnknown));
            });
    t.add("frequency", FieldKind::Text, {}, "the channel frequency in 100 Hz units on the band and its raster",
          "edtFreq", "0x0068..0x006B and the synthesizer words",
          [](const ConfigImage& image, const FieldContext&) { return std::to_string(ChannelFrequency(image)); },
          [](ConfigImage& image, FieldContext& c, const std::string& text, int) {
              return FromFrequency(StoreChannelFrequency(image, c.band, text, c.firmwareUnknown));
          });
    std::vector<std::string> bauds;
    for (const BaudRate& b : kBaudRates) bauds.emplace_back(b.itemText);
    t.boundCombo("baud", bauds, "cboCtl0", "0x1403,4,2,cboBaud");
    t.boundCombo("polarity", Items({"Normal", "Invert"}), "cboPolarity", "0x1402,7,1,cbo");
    t.check("narrowband", "chkBand", BitText(fields::kNarrowband), NarrowBand,
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreNarrowBand(image, item != 0);
                return Outcome::Ok();
            });
}

void AddCapcodes(TableBuilder& t) {
    t.group = "capcodes";
    for (int n = 0; n < kCapcodePageCount * kCapcodeSlotsPerPage; ++n) {
        const std::string base = "capcode." + std::to_string(n + 1);
        const int page = n / kCapcodeSlotsPerPage;
        const int slot = n % kCapcodeSlotsPerPage;
        const std::string where = " (capcode page " + std::to_string(page + 1) + ")";
        t.add(base, FieldKind::Text, {}, "7..2097151", "edtCap" + std::to_string(slot) + where,
              HexRange(CapcodeSlotOffset(n), 3) + " (capcode x 8)",
              [n](const ConfigImage& image, const FieldContext&) { return CapcodeText(image, n); },
              [n](ConfigImage& image, FieldContext& c, const std::string& text, int) {
                  if (auto refused = BeyondKeptCapcodes(c, n)) return *refused;
                  if (text.empty()) return Refuse("an empty value stores nothing");
                  return StoreCapcodeText(image, n, text);
              });
        const std::string bit = " bit " + std::to_string(7 - slot);
        t.check(base + ".on", "chkEnCap" + std::to_string(slot) + where, HexOffset(0x123D + page) + bit,
                [n](const ConfigImage& image) { return CapcodeOn(image, n); },
                [n, page, slot](ConfigImage& image, FieldContext& c, const std::string&, int item) {
                    if (auto refused = BeyondKeptCapcodes(c, n)) return *refused;
                    StoreCapcodeOnBox(image, page, slot, item != 0);
                    return Outcome::Ok();
                });
        t.check(base + ".manual", "chkManu" + std::to_string(slot) + where, HexOffset(0x1235 + page) + bit,
                [n](const ConfigImage& image) { return CapcodeManual(image, n); },
                [n, page, slot](ConfigImage& image, FieldContext& c, const std::string&, int item) {
                    if (auto refused = BeyondKeptCapcodes(c, n)) return *refused;
                    StoreCapcodeManualBox(image, page, slot, item != 0);
                    return Outcome::Ok();
                });
        for (int f = 0; f < 4; ++f) {
            const std::string fb = base + "." + kFunctionBits[static_cast<std::size_t>(f)];
            const std::string window = "function bit window of capcode " + std::to_string(n + 1) + ", ";
            const std::string letter(1, kFunctionBits[static_cast<std::size_t>(f)]);
            t.check(fb + ".priority", window + "priority " + letter,
                    HexOffset(0x1215 + static_cast<std::size_t>(n / 2)) + " bit " +
                        std::to_string(7 - 4 * (n % 2) - f),
                    [n, f](const ConfigImage& image) { return PriorityAlert(image, n, f); },
                    [n, f](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        SetPriorityAlert(image, n, f, item != 0);
                        return Outcome::Ok();
                    });
            t.combo(fb + ".display", Items(kDisplayItems), window + "display " + letter,
                    HexOffset(DisplayCodeOffset(n, f)),
                    [n, f](const ConfigImage& image, const FieldContext&) { return FunctionBitDisplayItem(image, n, f); },
                    [n, f](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        StoreFunctionBitDisplay(image, n, f, item);
                        return Outcome::Ok();
                    });
            t.combo(fb + ".type", Items(kMessageTypeItems), window + "message type " + letter,
                    HexOffset(MessageTypeOffset(n, f)),
                    [n, f](const ConfigImage& image, const FieldContext&) { return FunctionBitTypeItem(image, n, f); },
                    [n, f](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        StoreFunctionBitType(image, n, f, item);
                        return Outcome::Ok();
                    });
        }
    }
}

void AddAlerts(TableBuilder& t) {
    t.group = "alerts";
    t.combo("alert.personal", Items({"2 sec", "8 sec", "16 sec", "32 sec", "continuos"}),
            "alert window, personal", "0x0090",
            [](const ConfigImage& image, const FieldContext&) { return PersonalAlertItem(image); },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StorePersonalAlert(image, item);
                return Outcome::Ok();
            });
    for (int i = 0; i < kMailDropCount; ++i) {
        const char id = "123456789ABCDEF"[i];
        t.combo(std::string("alert.maildrop.") + id, Items({"Disable", "Beep", "1 sec", "16 sec"}),
                std::string("alert window, mail drop ") + id,
                HexOffset(0x37 + static_cast<std::size_t>(i / 8)) + " bit and " + HexOffset(0x91 + static_cast<std::size_t>(i)),
                [i](const ConfigImage& image, const FieldContext&) { return MailDropAlertItem(image, i); },
                [i](ConfigImage& image, FieldContext&, const std::string&, int item) {
                    StoreMailDropAlert(image, i, item);
                    return Outcome::Ok();
                });
    }
    t.add("password.rw", FieldKind::Text, {}, "six characters", "textPass", HexRange(0xFC3, 6),
          [](const ConfigImage& image, const FieldContext&) { return RwPasswordText(image); },
          [](ConfigImage& image, FieldContext&, const std::string& text, int) { return StoreRwPassword(image, text); });
}

void AddPrompts(TableBuilder& t) {
    t.group = "prompts";
    for (int tag = 0; tag < kPromptBoxCount; ++tag) {
        t.add("prompt." + std::to_string(tag), FieldKind::Text, {},
              "up to 18 characters after the leading spaces", "edtPrompt" + std::to_string(tag),
              HexRange(PromptOffset(tag), 20),
              [tag](const ConfigImage& image, const FieldContext&) { return Cp1252ToUtf8(ShownPromptText(image, tag)); },
              [tag](ConfigImage& image, FieldContext&, const std::string& text, int) {
                  // A box left as it shows stores nothing.
                  const std::string bytes = Utf8ToCp1252(text);
                  if (bytes == ShownPromptText(image, tag)) return Outcome::Ok();
                  return StorePromptText(image, tag, bytes);
              });
    }
    const auto language = [](const Field& code) {
        return [code](const ConfigImage& image, const FieldContext&) -> std::optional<int> {
            const int item = LanguageItemFromCode(static_cast<int>(code.Get(image)));
            if (item < 0) return std::nullopt;
            return item;
        };
    };
    t.combo("prompt.language", Items(kLanguageItems), "cboLng", "0x003A, 0x003E and the prompt records",
            language(fields::kPromptLanguageCode),
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                ChangePromptLanguage(image, item);
                return CentreLogo(image, false);
            });
    t.combo("logo.font", Items(kLanguageItems), "cboLogo [0x3F,0,4,Lng]", BitText(fields::kLogoFontCode),
            language(fields::kLogoFontCode), [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreLogoFont(image, item);
                return Outcome::Ok();
            });
    t.boundCheck("logo.large-font", "chkLogoLargeFont", "0x2F,3,1,chkN",
                 [](ConfigImage& image, bool) { return CentreLogo(image, true); });
}

void AddSources(TableBuilder& t) {
    t.group = "sources";
    t.combo("source.enable", Items({"Disable", "Enable"}), "cboSource", BitText(fields::kSourceTextsOn),
            [](const ConfigImage& image, const FieldContext&) { return std::optional<int>(SourceTextsItem(image)); },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreSourceTextsItem(image, item);
                return Outcome::Ok();
            });
    for (int n = 0; n < kMaxSourcePages * 4; ++n) {
        const int page = n / 4;
        for (int f = 0; f < 4; ++f) {
            const int k = (n % 4) * 4 + f;
            const std::string base = "source." + std::to_string(n + 1) + "." + kFunctionBits[static_cast<std::size_t>(f)];
            const std::string where = " (source page " + std::to_string(page + 1) + ")";
            t.check(base + ".on", "chkSource" + std::to_string(2 * k) + where,
                    HexOffset(0x7C0 + 2 * static_cast<std::size_t>(page) + static_cast<std::size_t>(k / 8)) +
                        " bit " + std::to_string(7 - k % 8),
                    [page, k](const ConfigImage& image) { return SourceEnabled(image, page, k); },
                    [page, k](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        StoreSourceEnabled(image, page, k, item != 0);
                        return Outcome::Ok();
                    });
            for (int line = 0; line < 2; ++line) {
                t.add(base + ".line" + std::to_string(line + 1), FieldKind::Text, {},
                      "up to 21 characters (padded with spaces)", "txtSource" + std::to_string(2 * k + line) + where,
                      HexRange(SourceLineOffset(page, k, line), kSourceLineLength),
                      [page, k, line](const ConfigImage& image, const FieldContext&) {
                          return Cp1252ToUtf8(SourceLine(image, page, k, line));
                      },
                      [page, k, line](ConfigImage& image, FieldContext&, const std::string& text, int) {
                          StoreSourceLine(image, page, k, line, Utf8ToCp1252(text));
                          return Outcome::Ok();
                      });
            }
        }
    }
}

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
    const std::string melodyAccepts = "16 characters of A-G, a-g, 0 and 1 (shorter is padded with 0)";
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
                     return StoreCapcodeMusicType(image, checked, MenuItemsOffFromImage(image)[6]);
                 });
    // The box shows the pager's switch, which its click stores beside the
    // bit its hint names.
    t.fields.back().get = [](const ConfigImage& image, const FieldContext&) {
        return OnOff(fields::kCapcodeMusicTypeOff.Get(image) == 0);
    };
    t.fields.back().location = BitText(fields::kCapcodeMusicTypeOff) + " (0 = on) and 0x002F bit 0";
    t.boundCheck("music.priority-enable", "chkPriMusicType", "0x02F,5,1,chkN");
    t.boundCheck("music.group-enable", "chkGupMusicType", "0x02F,4,1,chkN");
    t.boundCheck("music.alarm-enable", "chkAlarmMusicType", "0x030,2,1,chkN");

    t.combo("out-of-range.timer", Items({"Disable", "1 min", "2 min", "5 min", "10 min", "15 min"}), "cboOSC",
            "0x003D bit 1-3, 0x04FB, 0x04FC bit 1",
            [](const ConfigImage& image, const FieldContext&) { return std::optional<int>(OutOfRangeItem(image)); },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreOutOfRangeItem(image, item);
                return Outcome::Ok();
            });
    t.boundCheck("out-of-range.alert", "CheckBox2", "0x4FC,0,1,chkN");
    ToneCombo(t, "out-of-range.type", "cboORAAlert", kOutOfRangeTypeOffset, ToneSelector::MusicType);
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
    t.boundCheck("reminder.select-tone", "chkReminderSelectTone", "0x2F,1,1,chkN, NULL");
    ToneCombo(t, "reminder.type", "cboRToneType", kReminderToneOffset, ToneSelector::ReminderTone);
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
    const std::array<const char*, kMenuItemCount> menus = {"zoom-off",   "scroll-off",         "time-off",  "alarm-off",
                                                           "auto-sleep-off", "pager-off-disable", "alert-off", "cap-on-off"};
    for (int k = 0; k < kMenuItemCount; ++k) {
        t.check(std::string("menu.") + menus[static_cast<std::size_t>(k)], "chkMenu" + std::to_string(k),
                "menu item code " + std::to_string(7 + k) + " in 0x0078..0x007E",
                [k](const ConfigImage& image) { return MenuItemsOffFromImage(image)[static_cast<std::size_t>(k)]; },
                [k](ConfigImage& image, FieldContext&, const std::string&, int item) {
                    MenuItemsOff off = MenuItemsOffFromImage(image);
                    off[static_cast<std::size_t>(k)] = item != 0;
                    return StoreMenuItemsOff(image, off);
                });
    }
    const struct {
        const char* name;
        const char* control;
        TransferOption option;
        Field field;
    } transfer[] = {
        {"manual-write", "chkManualWEn", TransferOption::ManualWrite, fields::kManualWriteOff},
        {"frequency-modification", "chkFreqMEn", TransferOption::FrequencyModification,
         fields::kFrequencyModificationOff},
        {"password-required", "chkPwdREn", TransferOption::PasswordRequired, fields::kPasswordRequired},
        {"password-modification", "chkPwdMEn", TransferOption::PasswordModification, fields::kPasswordModification},
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
    }
    // The hint-bound controls of "Alerts && Status".
    t.boundCombo("read-time-out", Items({"8 sec", "12 sec", "20 sec", "30 sec"}), "cboCtl6", "0x039,0,2,cbo");
    t.boundCombo("paging-display", Items({"Page Count", "Direct"}), "cboCtl4", "0x03B,4,1,cbo");
    t.boundCombo("date-format", Items({"dd-mm-yy", "mm-dd-yy"}), "cboCtl7", "0x03B,3,1,cbo");
    t.boundCheck("direct-show-lamp-on", "chkDirectShowLampOn", "0x039,5,1,chk");
    t.boundCheck("display-source-address", "chkCtl0", "0x039,7,1,chk");
    t.boundCheck("lowcell-alert", "chkCtl12", "0x039,6,1,chk");
    t.boundCheck("duplicate-msg-detect", "chkDuplicateMsgDetect", "0x039,3,1,chkN");
    t.boundCheck("beep-and-vibration", "chkBeepAndVibration", "0x036,3,1,chk");
    t.boundCheck("long-message-control", "chkCtl11", "0x03B,2,1,chk");
    t.boundCheck("discard-error-message", "chkDiscardErrMsg", "0x036,5,1,chk");
    t.boundCheck("counter-out", "chkCtl10", "0x039,4,1,chkN");
    t.boundCheck("push-key-lamp-on", "chkPushKeyLampOn", "0x036,7,1,chk");
    t.boundCheck("air-program", "chkAirProgram", "0x036,6,1,chk");
    t.boundCheck("vibrate-off-in-charger", "CheckBox3", "0x458,7,1,chkN");
    t.boundCheck("keyboard-interlock", "chkKeyboardInterlock", "0x02F,7,1,chkN");
    t.boundCheck("group-code-disable", "chkGupCodeDisable", "0x51F,0,8,chkN");
    t.boundCheck("pin-code", "CheckBox4", "0x4A1,6,1,chkN");
    t.boundCheck("rd-key.pager-off", "chkRDKeyPagerOff", "0x03D,6,1,chk");
    t.boundCheck("rd-key.delete", "chkRDKeyDel", "0x03D,7,1,chk");
    t.boundCheck("rd-key.switch-alert", "CheckBox1", "0x031,7,1,chkN");
    // The battery type: a change brings the thresholds of the new type.
    t.boundCheck("battery.rechargeable", "chkCtl22", "0x4FC,2,1,chk", [](ConfigImage& image, bool) {
        ApplyBatteryTypeDefaults(image);
        return Outcome::Ok();
    });
    t.boundCheck("menu.lock-unlock-off", "chkCtl16", "0x7E0,0,8,chkN");
    t.boundCheck("menu.delete-off", "chkCtl15", "0x7E1,0,8,chkN");
    t.boundCheck("menu.delete-all-off", "chkCtl18", "0x7E2,0,8,chkN");
    t.boundCheck("menu.move-to-memo-off", "chkMoveToMemo", "0x7E3,0,8,chkN");
    t.boundCheck("menu.history-off", "chkCtl17", "0x7E4,0,8,chkN");
}

void AddEncryption(TableBuilder& t) {
    t.group = "encryption";
    t.boundCheck("aes.active", "chkAESEN", "0x458,1,1,chkN");
    t.boundCheck("ota.active", "chkOTAEN", "0x458,0,1,chkN");
    t.boundCheck("ota.program", "chkCtl14", "0x36,6,1,chk, NULL");
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
                    "cboAESKey" + std::to_string(tag), HexOffset(0x1000 + static_cast<std::size_t>(tag)),
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
    t.add("serial", FieldKind::ReadOnly, {}, "read only", "lblSerial", "0x04D6..0x04E3",
          [](const ConfigImage& image, const FieldContext&) { return PagerSerialText(image); }, {});
    t.add("ssn", FieldKind::ReadOnly, {}, "read only", "SSN", "0x04FD..0x050C",
          [](const ConfigImage& image, const FieldContext&) { return SsnText(image); }, {});
    t.add("psn", FieldKind::ReadOnly, {}, "read only", "PSN", "0x0513..0x051E",
          [](const ConfigImage& image, const FieldContext&) { return PsnText(image); }, {});
}

std::vector<FieldDef> BuildTable() {
    TableBuilder t;
    AddFrequencyGroup(t);
    AddCapcodes(t);
    AddAlerts(t);
    AddPrompts(t);
    AddSources(t);
    AddMusic(t);
    AddOptions(t);
    AddEncryption(t);
    AddSerials(t);
    for (FieldDef& f : t.fields) {
        // Edits hold the run of bytes their location names, combos that
        // store a whole code byte that byte.
        const auto hex = [&](std::size_t at, std::size_t& value) {
            return at + 6 <= f.location.size() && f.location.compare(at, 2, "0x") == 0 &&
                   std::from_chars(f.location.data() + at + 2, f.location.data() + at + 6, value, 16).ptr ==
                       f.location.data() + at + 6;
        };
        std::size_t first = 0;
        std::size_t last = 0;
        if (f.kind == FieldKind::Text && hex(0, first) && f.location.compare(6, 2, "..") == 0 && hex(8, last) &&
            last >= first)
            f.bytes.emplace_back(first, last - first + 1);
        if (f.kind == FieldKind::Combo && f.location.size() == 6 && hex(0, first)) f.bytes.emplace_back(first, 1);
        if (!f.accepts.empty()) continue;
        if (f.kind == FieldKind::Check) f.accepts = "on, off";
        if (f.kind == FieldKind::Combo) {
            std::string a;
            for (std::size_t k = 0; k < f.items.size(); ++k) a += (k ? ", " : "") + ("\"" + f.items[k] + "\"");
            f.accepts = a + " (or the item's index from 0)";
        }
    }
    return std::move(t.fields);
}

std::string Trimmed(std::string_view s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

}  // namespace

const std::vector<FieldDef>& FieldTable() {
    static const std::vector<FieldDef> table = BuildTable();
    return table;
}

const FieldDef* FindField(std::string_view name) {
    static const std::map<std::string, const FieldDef*, std::less<>> byName = [] {
        std::map<std::string, const FieldDef*, std::less<>> m;
        for (const FieldDef& f : FieldTable()) m.emplace(f.name, &f);
        return m;
    }();
    const auto it = byName.find(name);
    return it == byName.end() ? nullptr : it->second;
}

FieldContext ContextAfterOpen(const ConfigImage& image) {
    FieldContext c;
    c.band = BandFromImage(image).value_or(0);
    return c;
}

std::string_view FieldKindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::Combo: return "combo";
        case FieldKind::Check: return "check";
        case FieldKind::Text: return "text";
        case FieldKind::Number: return "number";
        case FieldKind::ReadOnly: return "read-only";
    }
    return "?";
}

ParsedValue ParseFieldValue(const FieldDef& field, std::string_view value) {
    ParsedValue p;
    const auto bad = [&](const std::string& why) {
        p.error = field.name + ": " + why + "; accepted: " + field.accepts;
        return p;
    };
    switch (field.kind) {
        case FieldKind::ReadOnly: return bad("the field is read only");
        case FieldKind::Check:
            if (value == "on" || value == "off") {
                p.ok = true;
                p.item = value == "on" ? 1 : 0;
                return p;
            }
            return bad("'" + std::string(value) + "' is not on or off");
        case FieldKind::Combo: {
            for (std::size_t k = 0; k < field.items.size(); ++k) {
                if (field.items[k] == value || (Trimmed(field.items[k]) == value && !value.empty())) {
                    p.ok = true;
                    p.item = static_cast<int>(k);
                    return p;
                }
            }
            int index = -1;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), index);
            if (ec == std::errc() && end == value.data() + value.size() && index >= 0 &&
                index < static_cast<int>(field.items.size())) {
                p.ok = true;
                p.item = index;
                return p;
            }
            return bad("'" + std::string(value) + "' is not one of the items");
        }
        case FieldKind::Number: {
            int number = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
            if (ec == std::errc() && end == value.data() + value.size() && number >= kContrastMin &&
                number <= kContrastMax) {
                p.ok = true;
                p.item = number;
                return p;
            }
            return bad("'" + std::string(value) + "' is not a whole number in range");
        }
        case FieldKind::Text: p.ok = true; return p;
    }
    return p;
}

namespace {

/// The threshold lists: their items depend on the battery type in force.
ParsedValue ParseThreshold(const FieldDef& field, const ConfigImage& image, std::string_view value) {
    const auto& items = BatteryTypeOf(image) == BatteryType::Rechargeable ? RechargeableItems() : StandardItems();
    ParsedValue p;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (items[k] == value) {
            p.ok = true;
            p.item = static_cast<int>(k);
            return p;
        }
    }
    int index = -1;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), index);
    if (ec == std::errc() && end == value.data() + value.size() && index >= 0 && index < static_cast<int>(items.size())) {
        p.ok = true;
        p.item = index;
        return p;
    }
    std::string a;
    for (std::size_t k = 0; k < items.size(); ++k) a += (k ? ", " : "") + ("\"" + items[k] + "\"");
    p.error = field.name + ": '" + std::string(value) + "' is not one of the items of the battery type in force (" +
              (BatteryTypeOf(image) == BatteryType::Rechargeable ? "rechargeable" : "standard") + "); accepted: " + a;
    return p;
}

}  // namespace

SetFieldResult SetFieldValue(ConfigImage& image, FieldContext& context, const FieldDef& field, std::string_view value) {
    SetFieldResult r;
    const bool threshold = field.kind == FieldKind::Combo && field.items.empty();
    const ParsedValue parsed = threshold ? ParseThreshold(field, image, value) : ParseFieldValue(field, value);
    if (!parsed.ok || !field.set) {
        r.status = SetFieldResult::Status::BadValue;
        r.error = parsed.ok ? field.name + ": the field is read only" : parsed.error;
        return r;
    }
    // A check box set to the state it shows sends no change.
    if (field.kind == FieldKind::Check && field.get(image, context) == OnOff(parsed.item != 0)) return r;
    ConfigImage before = image;
    const FieldContext contextBefore = context;
    const Outcome outcome = field.set(image, context, std::string(value), parsed.item);
    r.message = outcome.message;
    if (!outcome.ok) {
        image = before;  // a refusal leaves everything as it was
        context = contextBefore;
        r.status = SetFieldResult::Status::Refused;
    }
    return r;
}

}  // namespace zrv
