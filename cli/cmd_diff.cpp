// zrv41k-cli diff: the byte ranges, or the fields, in which two table files differ.
#include <algorithm>
#include <iostream>
#include <sstream>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/field_cli.h"
#include "cli/table_cli.h"
#include "core/field_compare.h"
#include "core/image_layout.h"

namespace zrv::cli {
namespace {

int runDiff(const std::vector<std::string>& args);

const CommandRegistration kDiff{{
    "diff", "list the byte ranges in which two table files differ",
    "Usage: zrv41k-cli diff [--fields] [--json] A.tbl B.tbl\n\n"
    "Compares the bytes of two table files as stored and prints each range of\n"
    "differing bytes with the region of the image it lies in, for example\n"
    "  0x1280-0x1282  capcode slots\n"
    "A range that spans two regions is printed once per region. When one file\n"
    "is a short table file, the bytes it lacks count as differing.\n"
    "Each file must have a table file's size (22016 or 3456 bytes); its identity\n"
    "and checksum are not required, so a rejected file can be compared too.\n\n"
    "--fields  opens both files as File > Open does and prints one line per field\n"
    "          whose value differs, as 'get' shows it:\n"
    "            capcode.1: 1200 -> 1300\n"
    "          then the differing bytes no differing field shows, by region:\n"
    "            0x07FE-0x07FF  checksum: 12 34 -> 56 78\n"
    "--json    the same as a JSON array of {\"field\", \"a\", \"b\"} and\n"
    "          {\"bytes\", \"region\", \"a\", \"b\"} objects (implies --fields).\n"
    "Exit status: 0 the files are equal, 1 they differ or one cannot be read.\n",
    runDiff,
}};

struct Range {
    std::size_t first;
    std::size_t last;
};

/// Differing ranges, cut at the region boundaries of the image map.
std::vector<Range> differingRanges(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    const std::size_t end = std::max(a.size(), b.size());
    auto differs = [&](std::size_t i) { return i >= a.size() || i >= b.size() || a[i] != b[i]; };
    std::vector<Range> out;
    for (const auto& region : layout::kRegionMap) {
        const std::size_t stop = std::min(region.last + 1, end);
        for (std::size_t i = region.first; i < stop; ++i) {
            if (!differs(i)) continue;
            std::size_t j = i;
            while (j + 1 < stop && differs(j + 1)) ++j;
            out.push_back({i, j});
            i = j;
        }
    }
    return out;
}

/// The fields in which two opened table files differ, as lines or JSON.
int diffFields(const ParsedArgs& parsed) {
    OpenedTable a, b;
    if (!OpenTable(parsed.positional[0], a) || !OpenTable(parsed.positional[1], b)) return kExitFailed;
    const ImageComparison c = CompareImages(a.image, b.image);
    std::ostringstream out;
    if (parsed.flags.count("--json")) {
        const auto hex = [](const std::vector<std::uint8_t>& bytes) {
            std::string text;
            for (std::uint8_t v : bytes) text += (text.empty() ? "" : " ") + Hex(v, 2).substr(2);
            return text;
        };
        out << '[';
        const char* sep = "\n  ";
        for (const FieldDifference& d : c.fields) {
            out << sep << "{\"field\": " << JsonString(d.field->name) << ", \"a\": " << JsonString(d.a)
                << ", \"b\": " << JsonString(d.b) << '}';
            sep = ",\n  ";
        }
        for (const ByteDifference& d : c.bytes) {
            out << sep << "{\"bytes\": " << JsonString(Hex(d.first, 4) + "-" + Hex(d.last, 4))
                << ", \"region\": " << JsonString(d.region) << ", \"a\": " << JsonString(hex(d.a))
                << ", \"b\": " << JsonString(hex(d.b)) << '}';
            sep = ",\n  ";
        }
        out << (c.equal() ? "]\n" : "\n]\n");
    } else {
        for (const FieldDifference& d : c.fields) out << DifferenceLine(d, [](const std::string& v) { return TerminalText(v); }) << '\n';
        for (const ByteDifference& d : c.bytes) out << DifferenceLine(d) << '\n';
    }
    std::cout << out.str();
    return c.equal() ? kExitOk : kExitFailed;
}

int runDiff(const std::vector<std::string>& args) {
    const Command& self = CommandByName("diff");
    ParsedArgs parsed;
    const std::string expected = "expected two table files";
    if (auto error = TakeArguments(args, {{}, {"--fields", "--json"}, {expected, expected}, 2, expected}, parsed))
        return UsageError(self, *error);
    if (parsed.flags.count("--fields") || parsed.flags.count("--json")) return diffFields(parsed);
    StderrNotifier notifier;
    const auto a = ReadStoredTable(parsed.positional[0], notifier);
    if (!a) return kExitFailed;
    const auto b = ReadStoredTable(parsed.positional[1], notifier);
    if (!b) return kExitFailed;
    const auto ranges = differingRanges(*a, *b);
    for (const auto& r : ranges) {
        std::cout << Hex(r.first, 4) << '-' << Hex(r.last, 4) << "  " << layout::RegionNameAt(r.first);
        if (r.first >= a->size()) std::cout << " (only in " << parsed.positional[1] << ")";
        else if (r.first >= b->size()) std::cout << " (only in " << parsed.positional[0] << ")";
        std::cout << '\n';
    }
    return ranges.empty() ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace zrv::cli
