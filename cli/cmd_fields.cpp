// zrv41k-cli fields, get and set: the editor fields of the main window by
// name, read and stored through the window's own rules (core/field_table.h).
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>
#include <sstream>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/field_cli.h"
#include "cli/json_document.h"
#include "cli/table_cli.h"
#include "core/default_image.h"
#include "core/field_table.h"
#include "core/table_file.h"
#include "i18n/field_tips.h"

namespace zrv::cli {
namespace {

int runFields(const std::vector<std::string>& args);
int runGet(const std::vector<std::string>& args);
int runSet(const std::vector<std::string>& args);

const CommandRegistration kFields{{
    "fields", "list every field that get, set, export and import know",
    "Usage: zrv41k-cli fields [--json [--design] | --markdown]\n\n"
    "Prints the field table: one line per field with its name, its kind (combo,\n"
    "check, text, number, read-only), the values it accepts, the window control\n"
    "that shows it, where the image holds it and what it stores (the text of\n"
    "its tool tip on the window), separated by tabs.\n"
    "Combo values are the item texts as the window shows them (or the item's\n"
    "index from 0), check boxes take on or off, edits their text.\n\n"
    "  --json       one JSON array, an object per field: name, group, kind,\n"
    "               items (combos), accepts, control, location, description,\n"
    "               and where the field has them objectName, hint (the\n"
    "               control's binding hint), caption (its English caption)\n"
    "               and captionKey (the language-file key of the caption)\n"
    "  --design     with --json: only the fields whose control the page designs\n"
    "               take from the table (those with a hint or a caption), and\n"
    "               no description\n"
    "  --markdown   the field reference of the user guide: one table row per\n"
    "               field name pattern (N a number, X a function bit, M a mail\n"
    "               drop), control and location of its first field\n",
    runFields,
}};

const CommandRegistration kGet{{
    "get", "print fields of a table file as the window shows them",
    "Usage: zrv41k-cli get FILE.tbl [FIELD...] [--json]\n\n"
    "Opens FILE.tbl as File > Open does and prints each named field (all fields\n"
    "when none is named) as 'name = value', one a line, in the order of the\n"
    "field table ('zrv41k-cli fields' lists them). Control characters in a\n"
    "value are shown as \\xNN.\n\n"
    "  --json   print one JSON object of name and value instead\n\n"
    "Fields (N a number, X a function bit A-D, M a mail drop 1-9, A-F):\n" +
        FieldNameSummary(),
    runGet,
}};

const CommandRegistration kSet{{
    "set", "change fields of a table file through the window's rules",
    "Usage: zrv41k-cli set FILE.tbl FIELD=VALUE... [-o OUT.tbl]\n\n"
    "Opens FILE.tbl as File > Open does, stores each value in the order given\n"
    "through the rule the window applies when the control is left or clicked\n"
    "(with its side effects), then saves through the Save steps over FILE.tbl\n"
    "or into OUT.tbl. Messages that the window shows beside a stored value are\n"
    "printed as 'warning: MsgNN: ...'. The first value the window refuses is\n"
    "printed with its message and nothing is written (exit 1). An unknown field,\n"
    "or a value that is not one of a combo's items, is a usage error (exit 2).\n"
    "'zrv41k-cli fields' lists the fields and their values.\n\n"
    "  -o, --output OUT.tbl   write here instead of over FILE.tbl\n\n"
    "Fields (N a number, X a function bit A-D, M a mail drop 1-9, A-F):\n" +
        FieldNameSummary(),
    runSet,
}};

/// What \p field stores, in English: the first line of its tool tip.
std::string Description(const FieldDef& field) { return i18n::FieldDescriptionText(field, i18n::EnglishText); }

/// The catalogue as JSON: what the page generator and other tools read.
std::string FieldsJson(bool designOnly) {
    Json all = Json::array();
    for (const FieldDef& f : FieldTable()) {
        if (designOnly && f.hint.empty() && f.caption.empty()) continue;
        Json row;
        row["name"] = f.name;
        row["group"] = f.group;
        row["kind"] = FieldKindName(f.kind);
        if (f.kind == FieldKind::Combo) row["items"] = f.items;
        row["accepts"] = f.accepts;
        row["control"] = f.control;
        row["location"] = f.location;
        if (!designOnly) row["description"] = Description(f);
        if (!f.objectName.empty()) row["objectName"] = f.objectName;
        if (!f.hint.empty()) row["hint"] = f.hint;
        if (!f.caption.empty()) {
            row["caption"] = f.caption;
            row["captionKey"] = f.captionKey;
        }
        all.push_back(std::move(row));
    }
    return all.dump(1) + "\n";
}

/// The user guide's field reference: one row per name pattern, with the
/// control and location of its first field.
std::string FieldsMarkdown() {
    struct Row {
        const FieldDef* first;
        std::string pattern;
        int count;
    };
    std::vector<Row> rows;
    for (const FieldDef& f : FieldTable()) {
        const std::string pattern = FieldNamePattern(f.name);
        const auto it = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.pattern == pattern; });
        if (it != rows.end()) ++it->count;
        else rows.push_back({&f, pattern, 1});
    }
    std::string text =
        "| Field | Stores | Kind | Values | Window control | Image |\n|---|---|---|---|---|---|\n";
    for (const Row& r : rows) {
        const FieldDef& f = *r.first;
        std::string control = f.control;
        std::string location = f.location;
        if (r.count > 1) {
            // A family's control names its page; the first field says which.
            const auto note = control.rfind(" (");
            if (note != std::string::npos && control.back() == ')') control.erase(note);
            control += " (first: " + f.name + ")";
            location += " (for " + f.name + ")";
        }
        // A family's description speaks of capcode N, function bit X.
        FieldDescription family = f.description;
        if (r.count > 1) {
            family.args.clear();
            for (std::size_t at = 0; at <= r.pattern.size();) {
                const auto dot = std::min(r.pattern.find('.', at), r.pattern.size());
                const std::string part = r.pattern.substr(at, dot - at);
                if (part == "N" || part == "X" || part == "M") family.args.push_back(part);
                at = dot + 1;
            }
        }
        const std::string stores = i18n::DescriptionText(family, i18n::EnglishText);
        text += "| `" + r.pattern + "` | " + stores + " | " + std::string(FieldKindName(f.kind)) + " | " + f.accepts + " | " + control +
                " | " + location + " |\n";
    }
    return text;
}

int runFields(const std::vector<std::string>& args) {
    const Command& self = CommandByName("fields");
    ParsedArgs parsed;
    if (auto error = TakeArguments(args, {{}, {"--json", "--design", "--markdown"}, {}, 0, "no arguments expected"},
                                   parsed))
        return UsageError(self, TerminalText(*error));
    const bool json = parsed.flags.count("--json") > 0;
    const bool markdown = parsed.flags.count("--markdown") > 0;
    if (json && markdown) return UsageError(self, "--json and --markdown exclude each other");
    if (parsed.flags.count("--design") && !json) return UsageError(self, "--design goes with --json");
    if (json) {
        std::cout << FieldsJson(parsed.flags.count("--design") > 0);
        return kExitOk;
    }
    if (markdown) {
        std::cout << FieldsMarkdown();
        return kExitOk;
    }
    std::cout << "name\tkind\taccepts\tcontrol\tlocation\tdescription\n";
    for (const FieldDef& f : FieldTable())
        std::cout << f.name << '\t' << FieldKindName(f.kind) << '\t' << f.accepts << '\t' << f.control << '\t'
                  << f.location << '\t' << Description(f) << '\n';
    return kExitOk;
}

int runGet(const std::vector<std::string>& args) {
    const Command& self = CommandByName("get");
    ParsedArgs parsed;
    if (auto error = TakeArguments(args, {{}, {"--json"}, {"FILE.tbl is missing"}}, parsed))
        return UsageError(self, TerminalText(*error));
    std::set<const FieldDef*> wanted;
    for (std::size_t k = 1; k < parsed.positional.size(); ++k) {
        const FieldDef* f = FindField(parsed.positional[k]);
        if (!f) return UsageError(self, TerminalText(UnknownFieldText(parsed.positional[k])));
        wanted.insert(f);
    }
    OpenedTable table;
    if (!OpenTable(parsed.positional[0], table)) return kExitFailed;
    const bool json = parsed.flags.count("--json") > 0;
    std::ostringstream out;
    bool first = true;
    for (const FieldDef& f : FieldTable()) {
        if (!wanted.empty() && !wanted.count(&f)) continue;
        const std::string value = f.get(table.image, table.context);
        if (json) {
            out << (first ? "{\n  " : ",\n  ") << JsonString(f.name) << ": " << JsonString(value);
        } else {
            out << f.name << " = " << TerminalText(value) << '\n';
        }
        first = false;
    }
    if (json) out << (first ? "{}\n" : "\n}\n");
    std::cout << out.str();
    return kExitOk;
}

int runSet(const std::vector<std::string>& args) {
    const Command& self = CommandByName("set");
    ParsedArgs parsed;
    if (auto error = TakeArguments(
            args, {{"-o", "--output"}, {}, {"FILE.tbl is missing", "no FIELD=VALUE given"}}, parsed))
        return UsageError(self, TerminalText(*error));
    std::vector<std::pair<const FieldDef*, std::string>> assignments;
    for (std::size_t k = 1; k < parsed.positional.size(); ++k) {
        const std::string& a = parsed.positional[k];
        const auto eq = a.find('=');
        if (eq == std::string::npos) return UsageError(self, TerminalText("'" + a + "' is not FIELD=VALUE"));
        const FieldDef* f = FindField(a.substr(0, eq));
        if (!f) return UsageError(self, TerminalText(UnknownFieldText(a.substr(0, eq))));
        if (!f->set) return UsageError(self, f->name + ": the field is read only");
        assignments.emplace_back(f, a.substr(eq + 1));
    }
    const std::string input = parsed.positional[0];
    std::string output = input;
    if (parsed.values.count("-o")) output = parsed.values["-o"];
    if (parsed.values.count("--output")) output = parsed.values["--output"];

    // The file saved is held from before it is read until it is saved.
    FileLock lock;
    StderrNotifier notifier;
    if (!LockTable(output, lock, notifier)) return kExitFailed;
    OpenedTable table;
    if (!OpenTable(input, table)) return kExitFailed;
    for (const auto& [field, value] : assignments) {
        const SetFieldResult r = SetFieldValue(table.image, table.context, *field, value);
        if (r.status == SetFieldResult::Status::BadValue) return UsageError(self, TerminalText(r.error));
        if (r.status == SetFieldResult::Status::Refused) {
            PrintRefusal(*field, r.message);
            return kExitFailed;
        }
        if (r.message) PrintWarning(*r.message);
    }
    return SaveTable(output, table) ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace zrv::cli
