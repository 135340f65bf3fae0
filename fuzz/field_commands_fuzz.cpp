// The CLI's field commands (set, get, export, import) run as zrv41k-cli
// dispatches them, through the command registry, on a table file made from
// the input: any field names and values, any JSON document, any edit of an
// exported document. No command may crash or end otherwise than with its
// exit status; a command that fails writes no file; an exported table
// comes back byte for byte through import.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/command.h"
#include "core/default_image.h"
#include "core/field_table.h"
#include "core/table_file.h"
#include "fuzz/fuzz_support.h"

using namespace zrv;
namespace fs = std::filesystem;

namespace {

/// Swallows what the commands print, so the fuzzer's own output stays readable.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c == EOF ? 0 : c; }
};

int Run(const std::string& name, const std::vector<std::string>& args) {
    for (const cli::Command& c : cli::Commands())
        if (c.name == name) {
            const int status = c.run(args);
            fuzz::Require(status == cli::kExitOk || status == cli::kExitFailed || status == cli::kExitUsage,
                          "a command ends with 0, 1 or 2");
            return status;
        }
    fuzz::Require(false, "the command is registered");
    return -1;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

/// A field's name, and now and then a name of no field.
std::string FieldName(fuzz::Input& in) {
    if (in.below(16) == 0) return in.text(24);
    const auto& table = FieldTable();
    return table[in.word() % table.size()].name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullBuffer null;
    std::cout.rdbuf(&null);
    std::cerr.rdbuf(&null);
    fuzz::Input in(data, size);
    const fs::path dir = fuzz::WorkFolder();
    const fs::path table = dir / "table.tbl";
    const fs::path out = dir / "out.tbl";
    const fs::path json = dir / "doc.json";
    fs::remove(out);

    // The table file: the start-up image, scrambled in places as a hostile
    // file may be.
    ConfigImage image = StartupImage();
    for (unsigned n = in.below(32); n > 0; --n) image.setByte(in.word() % kImageSize, in.byte());
    fuzz::Require(!SaveTableFile(table, image, 16).has_value(), "the table file is written");
    const std::string tableBytes = ReadAll(table);

    // Export takes the longest (it tries which bytes each field gives back),
    // so it gets the smallest share of the runs.
    const unsigned pick = in.below(16);
    switch (pick < 6 ? 0 : pick < 8 ? 1 : pick < 15 ? 2 : 3) {
        case 0: {  // set FIELD=VALUE... -o out
            std::vector<std::string> args = {table.string()};
            for (unsigned n = 1 + in.below(4); n > 0; --n) args.push_back(FieldName(in) + "=" + in.text(40));
            args.insert(args.end(), {"-o", out.string()});
            if (Run("set", args) != cli::kExitOk) fuzz::Require(!fs::exists(out), "a refused set writes nothing");
            fuzz::Require(ReadAll(table) == tableBytes, "set -o leaves its input alone");
            break;
        }
        case 1: {  // get FIELD... [--json]
            std::vector<std::string> args = {table.string()};
            for (unsigned n = in.below(4); n > 0; --n) args.push_back(FieldName(in));
            if (in.flag()) args.push_back("--json");
            Run("get", args);
            break;
        }
        case 2: {  // import of any text
            WriteAll(json, std::string(in.rest()));
            if (Run("import", {json.string(), out.string()}) != cli::kExitOk)
                fuzz::Require(!fs::exists(out), "a refused import writes nothing");
            break;
        }
        default: {  // export, edit some values, import
            // A table whose scrambled identity Open refuses has nothing to export.
            if (Run("export", {table.string(), "-o", json.string()}) != cli::kExitOk) break;
            auto doc = nlohmann::ordered_json::parse(ReadAll(json));
            const unsigned edits = in.below(4);
            for (unsigned n = edits; n > 0; --n) {
                const FieldDef& f = FieldTable()[in.word() % FieldTable().size()];
                doc["fields"][f.group][f.name] = in.text(40);
            }
            WriteAll(json, doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
            const int status = Run("import", {json.string(), out.string()});
            if (status != cli::kExitOk) fuzz::Require(!fs::exists(out), "a refused import writes nothing");
            // An unedited export of a table that Open accepts comes back byte for byte.
            if (edits == 0) fuzz::Require(status == cli::kExitOk && ReadAll(out) == tableBytes, "export and import give back the table");
            break;
        }
    }
    return 0;
}
