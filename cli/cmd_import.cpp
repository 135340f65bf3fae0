// zrv41k-cli import: a table file made from an exported JSON document, its
// bytes over the start-up image and its fields through the fields' rules.
#include <algorithm>
#include <fstream>
#include <string_view>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/field_cli.h"
#include "cli/json_document.h"
#include "cli/table_cli.h"
#include "cli/table_document.h"
#include "core/capcode_rules.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/field_table.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/table_file.h"

namespace zrv::cli {
namespace {

int runImport(const std::vector<std::string>& args);

/// Capcodes of the largest page count.
constexpr int kMaxCapcodeCount = kCapcodePageCount * kCapcodeSlotsPerPage;

int Fail(const std::string& message) { return ImportFailure(message); }

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
