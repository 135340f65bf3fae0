// Language files and the catalogue: parsing any bytes, looking texts up and
// formatting messages with them, and writing keys. A write that reports
// success must read back, and every other key must read as before.
#include <cstdint>
#include <fstream>
#include <map>

#include "core/cp1252.h"
#include "fuzz/fuzz_support.h"
#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"

using namespace zrv;
using namespace zrv::i18n;

namespace {

// What every first section reads, by folded section and key.
std::map<std::pair<std::string, std::string>, std::string> Everything(const ProfileData& p) {
    std::map<std::pair<std::string, std::string>, std::string> out;
    for (const auto& s : p.sections())
        for (const auto& [k, v] : p.entries(s)) out.emplace(std::make_pair(FoldName(s), FoldName(k)), v);
    return out;
}

std::string Expected(const std::string& value) {
    std::string bytes = Utf8ToCp1252(value);
    for (char& c : bytes)
        if (c == '\r' || c == '\n') c = ' ';
    return Cp1252ToUtf8(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const bool german = in.flag();
    const std::string section = german ? "German" : in.text(12);
    std::vector<std::pair<std::string, std::string>> values;
    const unsigned count = 1 + in.below(3);
    for (unsigned i = 0; i < count; ++i) {
        std::string key = in.text(10);
        if (in.flag()) key = "Msg" + std::to_string(in.below(80));
        values.emplace_back(key, in.text(40));
    }
    const std::string_view fileBytes = in.rest();

    const ProfileData parsed = ProfileData::Parse(fileBytes);
    for (const auto& s : parsed.sections()) (void)parsed.entries(s);
    const Message message{"Msg45", "The file %s is not the correct format !", MsgIcon::Exclamation, {"x.tbl"}};
    (void)MessageText(parsed, german ? "German" : "English", message);

    const auto path = fuzz::WorkFolder() / "Language.ini";
    { std::ofstream(path, std::ios::binary | std::ios::trunc).write(fileBytes.data(), static_cast<std::streamsize>(fileBytes.size())); }
    MessageCatalogue catalogue(fuzz::WorkFolder(), fuzz::WorkFolder());
    (void)catalogue.StartUp();
    (void)catalogue.LookupMessage("Msg1", "fallback");

    ProfileFile file(path);
    const auto before = Everything(file.load());
    const bool ok = values.size() == 1 ? file.writeString(section, values[0].first, values[0].second)
                                       : file.writeStrings(section, values);
    const ProfileData after = file.load();
    if (!ok) {
        fuzz::Require(Everything(after) == before, "a refused write leaves the file");
        return 0;
    }
    std::map<std::string, std::string> written;  // folded key -> last value
    for (const auto& [k, v] : values) written[FoldName(k)] = v;
    for (const auto& [k, v] : values)
        fuzz::Require(after.find(section, k) == Expected(written[FoldName(k)]), "a written key reads back");
    const auto now = Everything(after);
    for (const auto& [where, value] : before) {
        if (SameName(where.first, section) && written.count(where.second)) continue;
        const auto it = now.find(where);
        fuzz::Require(it != now.end() && it->second == value, "no other key changes");
    }
    return 0;
}
