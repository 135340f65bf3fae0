// zrv41k-cli info: a readable summary of a table file.
#include <iostream>
#include <sstream>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/table_cli.h"
#include "core/capcodes.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/frequency.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/option_fields.h"
#include "core/pager_charset.h"
#include "core/table_file.h"

namespace zrv::cli {
namespace {
namespace L = layout;

int runInfo(const std::vector<std::string>& args);

const CommandRegistration kInfo{{
    "info", "summarise a table file (identity, checksum, band, frequencies, capcodes)",
    "Usage: zrv41k-cli info FILE.tbl [--json]\n\n"
    "After the checks of File > Open, prints the identity text, the form (full\n"
    "or short), the stored and computed table checksum, the band (by the base\n"
    "frequency, as Open selects it), the base and channel frequency, capcodes\n"
    "1-16 with their ON flags, the character-set and prompt-language codes and\n"
    "the pager serial number when its checksum holds.\n"
    "A short file holds no capcodes: they are shown as the program would hold\n"
    "them after opening the file at start-up. Control characters in the\n"
    "identity and serial number are shown as \\xNN.\n\n"
    "  --json   print the same as one JSON object\n",
    runInfo,
}};

constexpr int kShownCapcodes = 16;

struct Summary {
    std::string file;
    std::string identity;  // as stored (Windows-1252)
    TableForm form = TableForm::Full;
    std::uint16_t storedChecksum = 0;
    std::uint16_t computedChecksum = 0;
    std::optional<int> band;
    std::uint32_t baseFrequency = 0;
    std::uint32_t channelFrequency = 0;
    int charsetCode = 0;
    int promptLanguageCode = 0;
    std::optional<std::string> serialNumber;  // as stored (Windows-1252)
    std::vector<std::pair<std::uint32_t, bool>> capcodes;
};

Summary summarise(const std::string& file, const ConfigImage& image, TableForm form) {
    Summary s;
    s.file = file;
    const auto id = image.range(L::kIdentity.offset, L::kIdentity.length);
    s.identity = std::string(id.begin(), id.end());
    s.form = form;
    s.storedChecksum = image.word(L::kChecksum);
    s.computedChecksum = TableChecksum(image);
    s.band = BandFromImage(image);
    s.baseFrequency = BaseFrequency(image);
    s.channelFrequency = ChannelFrequency(image);
    s.charsetCode = PagerCharsetCode(image);
    s.promptLanguageCode = static_cast<int>(fields::kPromptLanguageCode.Get(image));
    if (SerialNumberValid(image)) s.serialNumber = PagerSerialNumber(image);
    for (int n = 0; n < kShownCapcodes; ++n) s.capcodes.emplace_back(CapcodeAt(image, n), CapcodeOn(image, n));
    return s;
}

std::string mhz(std::uint32_t f) {
    std::ostringstream o;
    o << f / 10000 << '.';
    const auto frac = std::to_string(f % 10000);
    o << std::string(4 - frac.size(), '0') << frac << " MHz";
    return o.str();
}

std::string languageName(int code) {
    const int item = LanguageItemFromCode(code);
    return item < 0 ? "no set" : std::string(kLanguageItems[static_cast<std::size_t>(item)]);
}

void printText(const Summary& s) {
    const bool full = s.form == TableForm::Full;
    std::cout << "file:              " << s.file << '\n'
              << "identity:          " << ReadableText(s.identity) << '\n'
              << "form:              " << (full ? "full" : "short") << " ("
              << (full ? kImageSize : L::kShortTableSize) << " bytes)\n"
              << "table checksum:    stored " << Hex(s.storedChecksum, 4) << ", computed "
              << Hex(s.computedChecksum, 4)
              << (s.storedChecksum == s.computedChecksum ? " (matches)" : " (differs)") << '\n'
              << "band:              ";
    if (s.band)
        std::cout << *s.band << " (" << kBands[static_cast<std::size_t>(*s.band)].itemText << ")\n";
    else
        std::cout << "not recognised (the band selector keeps its choice)\n";
    std::cout << "base frequency:    " << s.baseFrequency << " (" << mhz(s.baseFrequency) << ")\n"
              << "channel frequency: " << s.channelFrequency << " (" << mhz(s.channelFrequency) << ")\n"
              << "character set:     " << s.charsetCode << " (" << languageName(s.charsetCode) << ")\n"
              << "prompt language:   " << s.promptLanguageCode << " ("
              << languageName(s.promptLanguageCode) << ")\n"
              << "serial number:     " << (s.serialNumber ? ReadableText(*s.serialNumber) : "(none, its checksum does not hold)")
              << '\n'
              << "capcodes" << (full ? "" : " (start-up values, not in a short file)") << ":\n";
    for (std::size_t k = 0; k < s.capcodes.size(); ++k) {
        char line[64];
        std::snprintf(line, sizeof line, "  %2zu  %07u  %s\n", k + 1, s.capcodes[k].first,
                      s.capcodes[k].second ? "ON" : "off");
        std::cout << line;
    }
}

void printJson(const Summary& s) {
    std::ostringstream o;
    o << "{\"file\":" << JsonString(s.file) << ",\"identity\":" << JsonString(Cp1252ToUtf8(s.identity))
      << ",\"form\":\"" << (s.form == TableForm::Full ? "full" : "short") << "\""
      << ",\"size\":" << (s.form == TableForm::Full ? kImageSize : L::kShortTableSize)
      << ",\"tableChecksum\":{\"stored\":" << s.storedChecksum << ",\"computed\":" << s.computedChecksum
      << ",\"matches\":" << (s.storedChecksum == s.computedChecksum ? "true" : "false") << "}"
      << ",\"band\":" << (s.band ? std::to_string(*s.band) : "null")
      << ",\"bandName\":"
      << (s.band ? JsonString(kBands[static_cast<std::size_t>(*s.band)].itemText) : "null")
      << ",\"baseFrequency\":" << s.baseFrequency << ",\"channelFrequency\":" << s.channelFrequency
      << ",\"charsetCode\":" << s.charsetCode << ",\"promptLanguageCode\":" << s.promptLanguageCode
      << ",\"serialNumber\":" << (s.serialNumber ? JsonString(Cp1252ToUtf8(*s.serialNumber)) : "null")
      << ",\"capcodesFromFile\":" << (s.form == TableForm::Full ? "true" : "false")
      << ",\"capcodes\":[";
    for (std::size_t k = 0; k < s.capcodes.size(); ++k) {
        if (k) o << ',';
        o << "{\"number\":" << k + 1 << ",\"capcode\":" << s.capcodes[k].first
          << ",\"on\":" << (s.capcodes[k].second ? "true" : "false") << "}";
    }
    o << "]}";
    std::cout << o.str() << '\n';
}

int runInfo(const std::vector<std::string>& args) {
    const Command& self = CommandByName("info");
    ParsedArgs parsed;
    if (auto error = TakeArguments(
            args, {{}, {"--json"}, {"FILE.tbl is missing"}, 1, "expected one file name"}, parsed))
        return UsageError(self, *error);
    const std::string& file = parsed.positional[0];
    ConfigImage image = StartupImage();
    int capcodeCount = kDefaultCapcodeCount;
    const auto result = LoadTableFile(file, image, capcodeCount);
    if (!result.ok) {
        StderrNotifier notifier;
        ShowTableRefusal(result, notifier);
        return kExitFailed;
    }
    const Summary s = summarise(file, image, result.form);
    if (parsed.flags.count("--json")) printJson(s);
    else printText(s);
    return kExitOk;
}

}  // namespace
}  // namespace zrv::cli
