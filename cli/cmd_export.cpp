// zrv41k-cli export: a table file as one readable JSON document (every field
// as the window shows it, grouped as in the field table, and the image bytes
// by region that no field gives back).
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>

#include <nlohmann/json.hpp>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/field_cli.h"
#include "cli/table_document.h"
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

int runExport(const std::vector<std::string>& args);
std::vector<bool> HeldBytes(const Json& fields, const ConfigImage& stored);

/// Bytes per hexadecimal line of the image section.
constexpr std::size_t kBytesPerLine = 32;

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

}  // namespace
}  // namespace zrv::cli
