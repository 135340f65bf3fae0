#pragma once
/// \file
/// What the parts of the field table share while they build it: item lists,
/// location texts, and the builder that adds one field with its reader and
/// its store. Each group of fields (one page of the window) is added by its
/// own function; core/field_table.cpp puts them in table order.

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


namespace zrv::field_rows {

using Getter = std::function<std::string(const ConfigImage&, const FieldContext&)>;
using Setter = std::function<Outcome(ConfigImage&, FieldContext&, const std::string&, int)>;

constexpr std::string_view kFunctionBits = "ABCD";

inline std::vector<std::string> Items(std::initializer_list<std::string_view> list) {
    return {list.begin(), list.end()};
}
template <std::size_t N>
std::vector<std::string> Items(const std::array<std::string_view, N>& list) {
    return {list.begin(), list.end()};
}

// Item lists are made by functions, not namespace-scope objects: the table
// may be built while other files' static objects are constructed (the
// command line registers its help texts that way).
inline std::vector<std::string> Tunes() {
    return Items({"Tone 1", "Tone 2", "Tone 3", "Tone 4", "Music 1", "Music 2", "Music 3", "Music 4", "Music 5",
                  "Music 6", "Music 7", "Music 8"});
}
inline std::vector<std::string> MusicTypes() {
    std::vector<std::string> v{"User"};
    const auto tunes = Tunes();
    v.insert(v.end(), tunes.begin(), tunes.end());
    return v;
}
inline std::vector<std::string> AlertTones() {
    std::vector<std::string> v = Tunes();
    v.push_back("Vibration");
    v.push_back("Flash Only");
    return v;
}
/// Items of the threshold lists of each battery type (core/battery_thresholds.h
/// holds their gauge values in the same order).
inline const std::vector<std::string>& RechargeableItems() {
    static const std::vector<std::string> items = Items(
        {"2.68V", "2.65V", "2.62V", "2.59V", "2.55V", "2.52V", "2.49V", "2.46V", "2.42V", "2.40V", "2.35V"});
    return items;
}
inline const std::vector<std::string>& StandardItems() {
    static const std::vector<std::string> items = Items({"1.58V", "1.53V", "1.48V", "1.43V", "1.39V", "1.35V",
                                                         "1.29V", "1.23V", "1.19V", "1.14V", "1.09V", "1.05V",
                                                         "1.00V"});
    return items;
}

inline std::string HexOffset(std::size_t offset) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04zX", offset);
    return buf;
}
inline std::string HexRange(std::size_t offset, std::size_t length) {
    return HexOffset(offset) + ".." + HexOffset(offset + length - 1);
}
inline std::string BitText(const Field& f) {
    std::string s = HexOffset(f.offset);
    if (f.width == 8) return s;
    s += " bit " + std::to_string(f.bit);
    if (f.width > 1) s += "-" + std::to_string(f.bit + f.width - 1);
    return s;
}

inline std::string ItemText(const std::vector<std::string>& items, std::optional<int> item) {
    if (!item || *item < 0 || *item >= static_cast<int>(items.size())) return {};
    return items[static_cast<std::size_t>(*item)];
}
inline std::string OnOff(bool on) { return on ? "on" : "off"; }

/// A refusal of the command line's own (no catalogue message exists).
inline Outcome Refuse(const std::string& text) { return Outcome::Refused(Message("", text)); }

/// The objectName and binding hint read from a field's control text: the
/// control's name leads it, alone or followed by a note in parentheses or
/// its hint in brackets ("chkCtl12 [0x039,6,1,chk]", "edtCap0 (capcode
/// page 1)"); a threshold row ("cboBatLev0 / cboBatLev3") names the list of
/// the rechargeable cell first; a description of a companion window
/// ("function bit window of capcode 1, ...") names no control.
inline void SetControlFacts(FieldDef& f) {
    const std::string& c = f.control;
    f.objectName = c.find(" window") == std::string::npos ? c.substr(0, c.find_first_of(" ,[")) : std::string();
    const auto open = c.find(" [");
    if (!f.objectName.empty() && open == f.objectName.size() && c.back() == ']')
        f.hint = c.substr(open + 2, c.size() - open - 3);
}

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
        SetControlFacts(f);
        fields.push_back(std::move(f));
    }

    /// Gives the field added last its English caption; \p key names the
    /// label that carries it when that is not the field's own control.
    void caption(std::string english, std::string key = {}) {
        FieldDef& f = fields.back();
        f.caption = std::move(english);
        f.captionKey = key.empty() ? f.objectName : std::move(key);
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
        fields.back().binding = hint;
    }

    /// A combo bound by its hint and stored by the generic write-back.
    void boundCombo(std::string name, std::vector<std::string> items, std::string control,
                    std::string_view hintText) {
        const BindingHint hint = *ParseBindingHint(hintText);
        // The receiver's baud rate also takes the two baud words.
        combo(std::move(name), std::move(items), std::move(control) + " [" + std::string(hintText) + "]",
              BitText(hint.field()) + (hint.kind == BindingKind::CboBaud ? " and the baud words 0x1400..0x1401" : ""),
              [hint](const ConfigImage& image, const FieldContext&) { return BoundComboIndex(image, hint); },
              [hint](ConfigImage& image, FieldContext&, const std::string&, int item) {
                  StoreBoundComboIndex(image, hint, item);
                  return Outcome::Ok();
              });
        fields.back().binding = hint;
    }
};

inline Outcome FromFrequency(const FrequencyOutcome& outcome) {
    if (outcome.ok()) return outcome.message ? Outcome::Warned(*outcome.message) : Outcome::Ok();
    if (outcome.message) return Outcome::Refused(*outcome.message);
    return Refuse("an empty value stores nothing");
}

/// The capcode boxes of the window after opening a file show the pages of
/// the first 16 capcodes, and Save clears the slots and flags beyond them:
/// a value given for a later capcode would be lost without a word.
inline std::optional<Outcome> BeyondKeptCapcodes(const FieldContext& c, int n) {
    if (n < c.capcodeCount) return std::nullopt;
    return Refuse("capcode " + std::to_string(n + 1) + " is not kept: a table file holds capcodes 1-" +
                  std::to_string(c.capcodeCount) + " and Save clears the others");
}

void AddFrequencyGroup(TableBuilder& t);
void AddCapcodes(TableBuilder& t);
void AddAlerts(TableBuilder& t);
void AddPrompts(TableBuilder& t);
void AddSources(TableBuilder& t);
void AddMusic(TableBuilder& t);
void AddOptions(TableBuilder& t);
void AddEncryption(TableBuilder& t);
void AddSerials(TableBuilder& t);

}  // namespace zrv::field_rows
