#include "core/field_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <stdexcept>

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

#include "core/field_table_builder.h"

namespace zrv {
namespace {

using namespace field_rows;

/// The page selector and its item of a per-page control: "(capcode page
/// 2)" and its like. (The objectName comes from SetControlFacts.)
void SetPageSelector(FieldDef& f) {
    const std::string_view text = f.control;
    static const std::pair<std::string_view, std::string_view> kPageSelectors[] = {
        {"(capcode page ", "cboCCPage"}, {"(source page ", "cboSrcPage"}, {"(music page ", "cboMTPage"}};
    for (const auto& [marker, selector] : kPageSelectors) {
        const auto at = text.find(marker);
        if (at == std::string_view::npos) continue;
        int page = 0;
        const char* first = text.data() + at + marker.size();
        if (std::from_chars(first, text.data() + text.size(), page).ec != std::errc() || page < 1) continue;
        f.pageSelector = std::string(selector);
        f.page = page - 1;
    }
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
        SetPageSelector(f);
        f.description = DescribeField(f.name);
        f.sideEffects = f.name == "band" || f.name == "prompt.language" || f.name == "logo.large-font" ||
                        f.name == "battery.rechargeable";
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

const FieldDef& RequireField(std::string_view name) {
    if (const FieldDef* f = FindField(name)) return *f;
    throw std::logic_error("the field catalogue has no field " + std::string(name));
}

const FieldDef* FieldOfControl(std::string_view objectName, int page) {
    static const std::multimap<std::string, const FieldDef*, std::less<>> byControl = [] {
        std::multimap<std::string, const FieldDef*, std::less<>> m;
        for (const FieldDef& f : FieldTable())
            if (!f.objectName.empty()) m.emplace(f.objectName, &f);
        return m;
    }();
    const auto [first, last] = byControl.equal_range(objectName);
    for (auto it = first; it != last; ++it)
        if (it->second->pageSelector.empty() || it->second->page == page) return it->second;
    return nullptr;
}

std::string ShownByControl(const FieldDef& field, const ConfigImage& image) {
    // The two trios of threshold lists share their places; the battery
    // type in force decides which one the user operates.
    if (field.kind == FieldKind::Combo && field.items.empty() && field.objectName.starts_with("cboBatLev")) {
        const int place = field.objectName.back() - '0';
        return "cboBatLev" + std::to_string(FirstTagOf(BatteryTypeOf(image)) + place);
    }
    return field.objectName;
}

FieldContext ContextAfterOpen(const ConfigImage& image) {
    FieldContext c;
    c.band = BandFromImage(image).value_or(0);
    return c;
}

std::vector<const FieldDef*> ChangedFields(const ConfigImage& before, const ConfigImage& after) {
    const FieldContext was = ContextAfterOpen(before);
    const FieldContext is = ContextAfterOpen(after);
    std::vector<const FieldDef*> changed;
    for (const FieldDef& f : FieldTable())
        if (f.get(before, was) != f.get(after, is)) changed.push_back(&f);
    return changed;
}

std::string ChangeName(const ConfigImage& before, const ConfigImage& after) {
    const auto changed = ChangedFields(before, after);
    if (changed.empty()) return "change";
    const auto leading = std::find_if(changed.begin(), changed.end(), [](const FieldDef* f) { return f->sideEffects; });
    const FieldDef& field = **(leading != changed.end() ? leading : changed.begin());
    std::string words = field.name;  // "capcode.2" -> "capcode 2"
    std::replace(words.begin(), words.end(), '.', ' ');
    std::replace(words.begin(), words.end(), '-', ' ');
    return words;
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
