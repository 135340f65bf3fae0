#include "ota/ota_types.h"

#include <algorithm>

#include "ota/ota_command.h"

namespace zrv::ota {
namespace {

constexpr const char* kUnofferedNote =
    " Not offered: this command type would carry prompt fields 44 to 59, which the main window does not have.";

/// Types 3-9 and 10-16 each carry one source-text switch and two prompts,
/// chosen by the selector k of the type (0, 4, ... 24 and 2, 6, ... 26):
/// the switch of source k/2 of the first source page and prompts 32+k, 33+k.
OtaCommandType SourcePromptType(int type) {
    const int k = type <= 9 ? 4 * (type - 3) : 2 + 4 * (type - 10);
    const int source = k / 2;
    OtaCommandType t;
    t.type = type;
    t.name = "Prompts " + std::to_string(32 + k) + ", " + std::to_string(33 + k);
    t.description = "The source-text switch of capcode " + std::to_string(source / 4 + 1) + ", function bit " +
                    std::string(1, "ABCD"[source % 4]) + " and the prompts " + std::to_string(32 + k) + " and " +
                    std::to_string(33 + k) + ".";
    if (IsUnofferedType(type)) t.description += kUnofferedNote;
    return t;
}

std::vector<OtaCommandType> BuildTypes() {
    std::vector<OtaCommandType> types;
    types.push_back({1, "Capcodes 1-7",
                     "Capcodes 1 to 7 with the display, message type and priority of their function bits."});
    types.push_back({2, "Option set",
                     "The pager's options: alert lengths, lockout, battery gauge, music types, menu items, "
                     "source texts and the other option boxes, with the alert type chosen here."});
    for (int type = 3; type <= 16; ++type) types.push_back(SourcePromptType(type));
    types.push_back({17, "Logo and its font", "The language font of the power-on logo and the logo's text (prompt 0)."});
    types.push_back({kTypeRawData, "Raw memory data",
                     "Up to 32 bytes of hexadecimal data, written into the pager's memory at the start address."});
    types.push_back({kTypeLast, "Last command",
                     "Ends a send: the success and failure prompts, the batch number and the number of packages."});
    return types;
}

/// \p text broken into lines of at most \p width characters at spaces, each
/// line after the first indented by \p indent spaces.
std::string Wrapped(const std::string& text, std::size_t width, std::size_t indent) {
    std::string out;
    std::size_t lineLength = 0;
    std::size_t from = 0;
    while (from < text.size()) {
        auto space = text.find(' ', from);
        if (space == std::string::npos) space = text.size();
        const std::string word = text.substr(from, space - from);
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            out += "\n" + std::string(indent, ' ');
            lineLength = 0;
        } else if (lineLength > 0) {
            out += ' ';
            ++lineLength;
        }
        out += word;
        lineLength += word.size();
        from = space + 1;
    }
    return out;
}

}  // namespace

const std::vector<OtaCommandType>& OtaCommandTypes() {
    static const std::vector<OtaCommandType> types = BuildTypes();
    return types;
}

const OtaCommandType* FindOtaCommandType(int type) {
    const auto& types = OtaCommandTypes();
    const auto it = std::find_if(types.begin(), types.end(), [type](const OtaCommandType& t) { return t.type == type; });
    return it == types.end() ? nullptr : &*it;
}

std::string OtaTypeCaption(int type) {
    const OtaCommandType* t = FindOtaCommandType(type);
    return std::to_string(type) + "  " + (t ? t->name : std::string("?"));
}

std::string OtaTypeHelp() {
    constexpr std::size_t kIndent = 8;
    std::string text;
    for (const OtaCommandType& t : OtaCommandTypes()) {
        std::string number = std::to_string(t.type);
        text += "  " + number + std::string(kIndent - 2 - number.size(), ' ') +
                Wrapped(t.name + ": " + t.description, 78 - kIndent, kIndent) + "\n";
    }
    return text;
}

}  // namespace zrv::ota
