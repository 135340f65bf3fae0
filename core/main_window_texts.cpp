#include "core/main_window_texts.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "core/image_rules.h"

namespace zrv {

namespace {
constexpr std::string_view kAdvancePassword = "KV3R8T52";
}

std::string ApplicationTitle() { return std::string(kSaveIdentityText.substr(0, 6)) + " (USB)"; }

bool AdvancePasswordAccepted(std::string_view typed) {
    std::string lower(kAdvancePassword);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return typed == kAdvancePassword || typed == lower;
}

std::string_view ChannelSpacingPattern(int mode) {
    switch (mode) {
        case 1: return "                %s : %s = 6.25KHz";
        case 2: return "                %s : %s = Auto";
        default: return "%s : %s = 5KHz";
    }
}

}  // namespace zrv
