// zrv41k-cli export and import: a table file as one readable JSON document
// (every field as the window shows it, grouped as in the field table, and
// the image bytes by region) and back through the fields' rules.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>

#include <nlohmann/json.hpp>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/field_cli.h"
#include "cli/json_document.h"
#include "cli/table_cli.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/capcode_rules.h"
#include "core/field_table.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/table_file.h"

namespace zrv::cli {
namespace {
using Json = nlohmann::ordered_json;

int runExport(const std::vector<std::string>& args);
int runImport(const std::vector<std::string>& args);
std::vector<bool> HeldBytes(const Json& fields, const ConfigImage& stored);

/// The document's layout; an import refuses any other.
constexpr int kSchemaVersion = 1;
/// Bytes per hexadecimal line of the image section.
constexpr std::size_t kBytesPerLine = 32;
/// Capcodes of the largest page count.
constexpr int kMaxCapcodeCount = kCapcodePageCount * kCapcodeSlotsPerPage;

const CommandRegistration kExport{{
    "export", "write a table file's fields as one JSON document",
    "Usage: zrv41k-cli export FILE.tbl [-o OUT.json]\n\n"
    "Opens FILE.tbl as File > Open does and prints (or writes to OUT.json) one\n"
    "JSON document: the schema version, the model identity, every field as the\n"
    "window shows it grouped as in the field table ('zrv41k-cli fields'), and\n"
    "an 'image' section with the stored bytes that no field gives back exactly,\n"
    "as hexadecimal lines by region.\n"
    "Keys keep the table's order and the text is indented by two spaces, so\n"
    "two exports compare cleanly line by line.\n\n"
    "  -o, --output OUT.json   write here instead of to standard output; an\n"
    "                          existing OUT.json is replaced only once the whole\n"
    "                          document is written\n",
    runExport,
}};

const CommandRegistration kImport{{
    "import", "make a table file from an exported JSON document",
    "Usage: zrv41k-cli import IN.json OUT.tbl\n\n"
    "The inverse of export: the image section gives its bytes over the start-up\n"
    "image, then every field whose value differs from what those bytes show is\n"
    "stored through the rule the window applies, in the order of the field\n"
    "table, and OUT.tbl is saved through the Save steps. An unedited export\n"
    "thus comes back byte for byte. An unknown schema version, a missing field,\n"
    "a value that is not one of a combo's items, a value the window refuses or\n"
    "a byte that neither the image section nor a field gives is an error naming\n"
    "the field or the byte; nothing is written then (exit 1).\n",
    runImport,
}};

std::string HexByte(std::uint8_t b) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", b);
    return buf;
}

std::string HexOffsetText(std::size_t offset) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04zX", offset);
    return buf;
}

/// The image section: per region of the image map, lines "OFFSET: HEX" for
/// the runs of bytes that are not \p held (a region without such bytes is
/// left out).
Json ImageSection(const ConfigImage& image, const std::vector<bool>& held) {
    Json regions = Json::array();
    for (const auto& region : layout::kRegionMap) {
        Json lines = Json::array();
        std::size_t at = region.first;
        while (at <= region.last) {
            if (held[at]) {
                ++at;
                continue;
            }
            std::string line = HexOffsetText(at) + ": ";
            const std::size_t start = at;
            while (at <= region.last && !held[at] && at - start < kBytesPerLine) line += HexByte(image.byte(at++));
            lines.push_back(line);
        }
        if (lines.empty()) continue;
        Json r;
        r["region"] = std::string(region.name);
        r["bytes"] = std::move(lines);
        regions.push_back(std::move(r));
    }
    return regions;
}

/// Bytes that the fields give back on import, so the image section need not
/// repeat them: the whole bytes a field alone holds, and the table checksum
/// that Save computes.
std::vector<bool> BytesFieldsMayHold() {
    std::vector<bool> held(kImageSize, false);
    for (const FieldDef& f : FieldTable())
        for (const auto& [offset, length] : f.bytes)
            for (std::size_t k = offset; k < offset + length && k < kImageSize; ++k) held[k] = true;
    held[layout::kChecksum] = held[layout::kChecksum + 1] = true;
    return held;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

/// Reads one "OFFSET: HEX" line into \p image; false with \p error set when
/// the line is malformed or leaves the image.
bool ReadImageLine(const std::string& line, ConfigImage& image, std::string& error) {
    const auto colon = line.find(':');
    std::size_t offset = 0;
    bool ok = colon != std::string::npos && colon > 0 && colon <= 8;
    for (std::size_t k = 0; ok && k < colon; ++k) {
        const int d = HexDigit(line[k]);
        ok = d >= 0;
        offset = offset * 16 + static_cast<std::size_t>(d < 0 ? 0 : d);
    }
    std::string hex = ok ? line.substr(colon + 1) : std::string();
    if (ok && !hex.empty() && hex[0] == ' ') hex.erase(0, 1);
    ok = ok && hex.size() % 2 == 0 && offset + hex.size() / 2 <= kImageSize;
    for (std::size_t k = 0; ok && k < hex.size(); k += 2) {
        const int hi = HexDigit(hex[k]);
        const int lo = HexDigit(hex[k + 1]);
        ok = hi >= 0 && lo >= 0;
        if (ok) image.setByte(offset + k / 2, static_cast<std::uint8_t>(hi * 16 + lo));
    }
    if (!ok) error = "image: the line '" + line.substr(0, 40) + "' is not 'OFFSET: HEX' within the image";
    return ok;
}

int runExport(const std::vector<std::string>& args) {
    const Command& self = CommandByName("export");
    ParsedArgs parsed;
    if (auto error = TakeArguments(
            args, {{"-o", "--output"}, {}, {"FILE.tbl is missing"}, 1, "expected one file name"}, parsed))
        return UsageError(self, *error);
    OpenedTable table;
    if (!OpenTable(parsed.positional[0], table)) return kExitFailed;

    Json doc;
    doc["schema"] = kSchemaVersion;
    const auto id = table.image.range(layout::kIdentity.offset, layout::kIdentity.length);
    doc["model"] = Json{{"identity", Cp1252ToUtf8(std::string(id.begin(), id.end()))}};
    Json fields = Json::object();
    for (const FieldDef& f : FieldTable()) fields[f.group][f.name] = f.get(table.image, table.context);
    doc["fields"] = std::move(fields);
    // The image section holds the file's bytes as stored (Open forces a few
    // values, such as the capcode count, that Save would otherwise change),
    // over the image Open made for the bytes a short file lacks.
    ConfigImage stored = table.image;
    std::vector<std::uint8_t> bytes;
    if (ReadStoredTableBytes(parsed.positional[0], bytes).ok)
        std::copy(bytes.begin(), bytes.end(), stored.range(0, bytes.size()).begin());
    doc["image"] = ImageSection(stored, HeldBytes(doc["fields"], stored));
    const std::string text = doc.dump(2) + "\n";

    std::string output;
    if (parsed.values.count("-o")) output = parsed.values["-o"];
    if (parsed.values.count("--output")) output = parsed.values["--output"];
    if (output.empty()) {
        std::cout << text;
        return kExitOk;
    }
    switch (WriteFileAtomically(output, text)) {
        case SaveStatus::Saved: return kExitOk;
        case SaveStatus::NotARegularFile:
            std::cerr << "zrv41k-cli export: " << output << " is not a regular file, nothing was written\n";
            return kExitFailed;
        case SaveStatus::Failed: break;
    }
    std::cerr << "zrv41k-cli export: cannot write " << output << '\n';
    return kExitFailed;
}

int Fail(const std::string& message) {
    std::cerr << "zrv41k-cli import: " << TerminalText(message) << '\n';
    return kExitFailed;
}

/// Stores every field of \p fields whose value differs from what \p table
/// shows through its rule: first the fields whose rules change others, then
/// the rest, so that no rule overwrites a value the document gives. Then
/// each field is checked against the document: a value that the table does
/// not show, and that storing again would change, was overwritten by
/// another field's rule. Returns kExitOk, or kExitFailed after printing
/// (when \p quiet is false) the error that names the field.
int ApplyFields(const Json& fields, OpenedTable& table, bool quiet) {
    const auto fail = [&](const std::string& message) { return quiet ? kExitFailed : Fail(message); };
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

/// Refuses any key of \p object that is not in \p known, naming it.
bool OnlyKnownKeys(const Json& object, std::initializer_list<std::string_view> known, const std::string& where,
                   std::string& error) {
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) != known.end()) continue;
        error = where + key + ": unknown key";
        return false;
    }
    return true;
}

/// The groups and names of the fields section must all be the table's.
bool OnlyKnownFields(const Json& fields, std::string& error) {
    for (const auto& [group, names] : fields.items()) {
        if (!names.is_object()) {
            error = "fields." + group + ": not a group of fields";
            return false;
        }
        for (const auto& [name, value] : names.items()) {
            const FieldDef* f = FindField(name);
            if (!f || f->group != group) {
                error = "fields." + group + "." + name + ": no such field" +
                        (f ? " in this group (it belongs to '" + f->group + "')" : "");
                return false;
            }
        }
    }
    return true;
}

/// \p image with the bytes marked in \p taken replaced by those of \p base
/// (the start-up image), in the context File > Open gives it.
OpenedTable WithBytesOf(const ConfigImage& base, const ConfigImage& image, const std::vector<bool>& taken) {
    OpenedTable table;
    table.image = image;
    for (std::size_t k = 0; k < kImageSize; ++k)
        if (taken[k]) table.image.setByte(k, base.byte(k));
    table.context = ContextAfterOpen(table.image);
    return table;
}

/// The bytes the image section may leave out: those the fields give back
/// exactly. Each field's bytes are tried alone; then the whole import is
/// tried once, and when it does not give back \p stored (apart from the
/// checksum, which Save computes) every byte stays in the section.
std::vector<bool> HeldBytes(const Json& fields, const ConfigImage& stored) {
    std::vector<bool> held(kImageSize, false);
    const ConfigImage base = StartupImage();
    // Equal to the stored bytes apart from the checksum, which Save computes.
    const auto same = [&](ConfigImage a) {
        a.setByte(layout::kChecksum, stored.byte(layout::kChecksum));
        a.setByte(layout::kChecksum + 1, stored.byte(layout::kChecksum + 1));
        return a == stored;
    };
    for (const FieldDef& f : FieldTable()) {
        if (f.bytes.empty() || !f.set) continue;
        OpenedTable trial;
        trial.image = stored;
        for (const auto& [offset, length] : f.bytes)
            for (std::size_t k = offset; k < offset + length; ++k) trial.image.setByte(k, base.byte(k));
        trial.context = ContextAfterOpen(trial.image);
        const std::string value = fields[f.group][f.name].get<std::string>();
        if (value != f.get(trial.image, trial.context) &&
            SetFieldValue(trial.image, trial.context, f, value).status != SetFieldResult::Status::Stored)
            continue;
        if (!same(trial.image)) continue;
        for (const auto& [offset, length] : f.bytes)
            for (std::size_t k = offset; k < offset + length; ++k) held[k] = true;
    }
    held[layout::kChecksum] = held[layout::kChecksum + 1] = true;
    // What import makes of the fields over the image with the held bytes
    // taken from the start-up image.
    OpenedTable back = WithBytesOf(base, stored, held);
    if (ApplyFields(fields, back, true) != kExitOk || !same(back.image)) std::fill(held.begin(), held.end(), false);
    return held;
}

int runImport(const std::vector<std::string>& args) {
    const Command& self = CommandByName("import");
    ParsedArgs parsed;
    const std::string expected = "expected IN.json and OUT.tbl";
    if (auto error = TakeArguments(args, {{}, {}, {expected, expected}, 2, expected}, parsed))
        return UsageError(self, TerminalText(*error));
    std::string error;
    const std::string& input = parsed.positional[0];
    std::ifstream in(input, std::ios::binary);
    if (!in) return Fail("cannot read " + input);
    Json doc;
    if (!ReadJsonDocument(in, doc, error)) return Fail(input + ": " + error);
    if (!doc.is_object()) return Fail(input + ": the document is not a JSON object");
    if (!OnlyKnownKeys(doc, {"schema", "model", "fields", "image"}, "", error)) return Fail(error);
    // The version is the whole number itself: 1.0 or 1e0 is another text.
    if (!doc.contains("schema") || !doc["schema"].is_number_integer() || doc["schema"] != kSchemaVersion)
        return Fail("schema: unknown schema version (this program reads version " + std::to_string(kSchemaVersion) +
                    ", written as the whole number " + std::to_string(kSchemaVersion) + ")");
    if (!doc.contains("model") || !doc["model"].is_object() || !doc["model"].contains("identity") ||
        !doc["model"]["identity"].is_string())
        return Fail("model.identity: the model identity is missing");
    if (!OnlyKnownKeys(doc["model"], {"identity"}, "model.", error)) return Fail(error);
    if (!doc.contains("image") || !doc["image"].is_array()) return Fail("image: the section is missing");
    if (!doc.contains("fields") || !doc["fields"].is_object()) return Fail("fields: the section is missing");
    if (!OnlyKnownFields(doc["fields"], error)) return Fail(error);

    // The bytes first, over the start-up image. The section may leave out
    // only bytes that the fields give back; a document that lacks any other
    // byte is refused rather than mixed with the start-up image.
    OpenedTable table;
    table.image = StartupImage();
    std::vector<bool> given = BytesFieldsMayHold();
    std::size_t index = 0;
    for (const Json& region : doc["image"]) {
        const std::string where = "image[" + std::to_string(index++) + "].";
        if (!region.is_object() || !region.contains("bytes") || !region["bytes"].is_array())
            return Fail("image: every region needs its 'bytes' lines");
        if (!OnlyKnownKeys(region, {"region", "bytes"}, where, error)) return Fail(error);
        for (const Json& line : region["bytes"]) {
            if (!line.is_string()) return Fail("image: a line is not a text");
            if (!ReadImageLine(line.get<std::string>(), table.image, error)) return Fail(error);
            const std::string& s = line.get_ref<const std::string&>();
            const std::size_t colon = s.find(':');
            const std::size_t first = std::stoul(s.substr(0, colon), nullptr, 16);
            std::size_t digits = 0;
            for (std::size_t k = colon + 1; k < s.size(); ++k) digits += s[k] != ' ';
            for (std::size_t k = first; k < first + digits / 2 && k < kImageSize; ++k) given[k] = true;
        }
    }
    for (std::size_t k = 0; k < kImageSize; ++k)
        if (!given[k]) return Fail("image: byte " + Hex(k, 4) + " is missing");
    // The identity the document names is the one its bytes hold, and the
    // one a table file must hold to be opened again.
    const auto id = table.image.range(layout::kIdentity.offset, layout::kIdentity.length);
    const std::string identity = Cp1252ToUtf8(std::string(id.begin(), id.end()));
    if (doc["model"]["identity"] != identity)
        return Fail("model.identity: '" + doc["model"]["identity"].get<std::string>() +
                    "' is not the identity the image section holds ('" + identity + "')");
    if (!HasModelIdentity(table.image.range(0, kImageSize)))
        return Fail("model.identity: '" + identity + "' is not the model " + std::string(kModelName));
    table.context = ContextAfterOpen(table.image);
    if (ApplyFields(doc["fields"], table, false) != kExitOk) return kExitFailed;
    // Every capcode slot of the image section is kept: the fields' rules
    // already refuse capcodes beyond those a table file keeps.
    table.capcodeCount = kMaxCapcodeCount;
    FileLock lock;
    StderrNotifier notifier;
    if (!LockTable(parsed.positional[1], lock, notifier)) return kExitFailed;
    return SaveTable(parsed.positional[1], table) ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace zrv::cli
