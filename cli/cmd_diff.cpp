// zrv41k-cli diff: the byte ranges in which two table files differ.
#include <algorithm>
#include <iostream>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/table_cli.h"
#include "core/image_layout.h"

namespace zrv::cli {
namespace {

int runDiff(const std::vector<std::string>& args);

const CommandRegistration kDiff{{
    "diff", "list the byte ranges in which two table files differ",
    "Usage: zrv41k-cli diff A.tbl B.tbl\n\n"
    "Compares the bytes of two table files as stored and prints each range of\n"
    "differing bytes with the region of the image it lies in, for example\n"
    "  0x1280-0x1282  capcode slots\n"
    "A range that spans two regions is printed once per region. When one file\n"
    "is a short table file, the bytes it lacks count as differing.\n"
    "Each file must have a table file's size (22016 or 3456 bytes); its identity\n"
    "and checksum are not required, so a rejected file can be compared too.\n"
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

int runDiff(const std::vector<std::string>& args) {
    const Command& self = CommandByName("diff");
    ParsedArgs parsed;
    const std::string expected = "expected two table files";
    if (auto error = TakeArguments(args, {{}, {}, {expected, expected}, 2, expected}, parsed))
        return UsageError(self, *error);
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
