#include "cli/table_document.h"

#include <iostream>
#include <map>
#include <utility>

#include "cli/field_cli.h"
#include "core/field_table.h"
#include "core/image_rules.h"

namespace zrv::cli {

int ImportFailure(const std::string& message) {
    std::cerr << "zrv41k-cli import: " << TerminalText(message) << '\n';
    return kExitFailed;
}

int ApplyFields(const Json& fields, OpenedTable& table, bool quiet) {
    const auto fail = [&](const std::string& message) { return quiet ? kExitFailed : ImportFailure(message); };
    // The document's values by group and name, looked up once: its objects
    // keep their order and search linearly.
    std::map<std::pair<std::string, std::string>, const Json*> values;
    for (const auto& [group, names] : fields.items())
        if (names.is_object())
            for (const auto& [name, value] : names.items()) values[{group, name}] = &value;
    const auto valueOf = [&](const FieldDef& f) -> const Json* {
        const auto it = values.find(std::make_pair(f.group, f.name));
        return it == values.end() ? nullptr : it->second;
    };
    for (const bool sideEffects : {true, false}) {
        for (const FieldDef& f : FieldTable()) {
            if (!f.set || f.sideEffects != sideEffects) continue;
            const Json* value = valueOf(f);
            if (!value) return fail(f.name + ": the field is missing");
            if (!value->is_string()) return fail(f.name + ": the value is not a text");
            const std::string& text = value->get_ref<const std::string&>();
            // A field the bytes already show is not stored again, as a box left
            // as it shows stores nothing.
            if (text == f.get(table.image, table.context)) continue;
            const SetFieldResult r = SetFieldValue(table.image, table.context, f, text);
            if (r.status == SetFieldResult::Status::BadValue) return fail(r.error);
            if (r.status == SetFieldResult::Status::Refused) return fail(RefusalText(f, r.message));
            if (r.message && !quiet) PrintWarning(*r.message);
        }
    }
    for (const FieldDef& f : FieldTable()) {
        const Json* value = valueOf(f);
        if (!value || !value->is_string()) return fail(f.name + ": the field is missing");
        const std::string& text = value->get_ref<const std::string&>();
        const std::string shown = f.get(table.image, table.context);
        if (text == shown) continue;
        if (!f.set)
            return fail(f.name + ": the field is read only; the table holds '" + shown + "', not '" + text + "'");
        OpenedTable again = table;
        if (SetFieldValue(again.image, again.context, f, text).status == SetFieldResult::Status::Stored &&
            f.get(again.image, again.context) == shown)
            continue;  // the document's way of writing the value the table holds
        return fail(f.name + ": the table would hold '" + shown + "', not the document's '" + text +
                    "' (another field's rule changed it)");
    }
    return kExitOk;
}

OpenedTable WithBytesOf(const ConfigImage& base, const ConfigImage& image, const std::vector<bool>& taken) {
    OpenedTable table;
    table.image = image;
    for (std::size_t k = 0; k < kImageSize; ++k)
        if (taken[k]) table.image.setByte(k, base.byte(k));
    table.context = ContextAfterOpen(table.image);
    return table;
}

}  // namespace zrv::cli
