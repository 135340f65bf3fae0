#include "i18n/captions.h"

#include <algorithm>
#include <array>

#include "core/cp1252.h"
#include "i18n/safe_format.h"

namespace zrv::i18n {

namespace {

constexpr std::array kMarkedCaptionClasses{"TLabel", "TGroupBox", "TCheckBox", "TStaticText", "TForm"};
constexpr std::array kButtonClasses{"TButton", "TBitBtn", "TRadioButton"};
constexpr std::array kExportedButtonClasses{"TButton", "TBitBtn"};

template <std::size_t N>
bool OneOf(const std::array<const char*, N>& names, std::string_view cls) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return cls == n; });
}

std::string ItemKey(std::string_view name, std::size_t n) {
    return std::string(name) + "Item" + std::to_string(n);
}

void ApplyComboItems(Component& combo, const ProfileData& file, std::string_view section,
                     int capcodeCount) {
    const int selected = combo.selectedIndex;
    if (IsCapcodePageSelector(combo.name)) {
        combo.items = CapcodePageEntries(file, section, combo.name, capcodeCount);
    } else {
        for (std::size_t n = 0; n < combo.items.size(); ++n)
            combo.items[n] = file.read(section, ItemKey(combo.name, n), combo.items[n]);
    }
    combo.selectedIndex =
        (selected >= 0 && static_cast<std::size_t>(selected) < combo.items.size()) ? selected : -1;
}

}  // namespace

bool HasNullMarker(std::string_view hint) { return hint.find("NULL") != std::string_view::npos; }

bool IsCapcodePageSelector(std::string_view name) {
    return name == kCapcodePageSelector || name == kEncryptionPageSelector ||
           name == kSourcePageSelector || name == kMusicTypePageSelector;
}

std::vector<std::string> CapcodePageEntries(const ProfileData& file, std::string_view section,
                                            std::string_view selectorName, int capcodeCount) {
    const int count = std::clamp(capcodeCount, 0, kMaxCapcodeCount);
    int entries = 0, perEntry = 0;
    if (selectorName == kCapcodePageSelector || selectorName == kEncryptionPageSelector) {
        entries = count / 8;
        perEntry = 8;
    } else if (selectorName == kSourcePageSelector || selectorName == kMusicTypePageSelector) {
        entries = 2 * (count / 8);
        perEntry = 4;
    }
    std::vector<std::string> out;
    for (int j = 0; j < entries; ++j) {
        const std::string format =
            file.read(section, ItemKey(selectorName, static_cast<std::size_t>(j)), kCapcodePageFormat);
        out.push_back(SafeFormat(format, {perEntry * j + 1, perEntry * j + perEntry}));
    }
    return out;
}

void ApplyCaptions(ComponentList& window, const ProfileData& file, std::string_view section,
                   int capcodeCount) {
    for (Component& c : window) {
        const std::string_view cls = c.designedClass;
        if (OneOf(kMarkedCaptionClasses, cls) || cls == "TMenuItem") {
            if (!HasNullMarker(c.hint)) c.caption = file.read(section, c.name, c.caption);
        } else if (OneOf(kButtonClasses, cls)) {
            c.caption = file.read(section, c.name, c.caption);
        } else if (cls == "TComboBox") {
            if (!HasNullMarker(c.hint)) ApplyComboItems(c, file, section, capcodeCount);
        }
    }
}

void ApplyCaptions(MessageCatalogue& catalogue, ComponentList& window, std::string_view section,
                   int capcodeCount) {
    catalogue.open(catalogue.workingLanguageFile());
    ApplyCaptions(window, catalogue.data(), section, capcodeCount);
}

bool RunLanguageAction(MessageCatalogue& catalogue, std::string_view language,
                       ComponentList& mainWindow, int capcodeCount) {
    catalogue.setCurrentLanguage(std::string(language));
    catalogue.markLanguage(language);
    ApplyCaptions(catalogue, mainWindow, language, capcodeCount);
    return catalogue.SelectLanguage(language);
}

std::string WindowCaptionText(const MessageCatalogue& catalogue, const WindowCaption& window) {
    return catalogue.LookupMessage(window.key, window.designed);
}

std::string CaptionExportLines(const ComponentList& window) {
    std::string out;
    auto line = [&out](std::string_view key, std::string_view text) {
        out += Utf8ToCp1252(key);
        out += '\t';
        out += Utf8ToCp1252(text);
        out += "\r\n";
    };
    for (const Component& c : window) {
        const std::string_view cls = c.designedClass;
        if (OneOf(kMarkedCaptionClasses, cls) || cls == "TMenuItem") {
            if (!HasNullMarker(c.hint)) line(c.name, c.caption);
        } else if (OneOf(kExportedButtonClasses, cls)) {
            line(c.name, c.caption);
        } else if (cls == "TComboBox" && !HasNullMarker(c.hint)) {
            for (std::size_t n = 0; n < c.items.size(); ++n) line(ItemKey(c.name, n), c.items[n]);
        }
    }
    return out;
}

bool ExportCaptions(const std::filesystem::path& path,
                    const std::vector<const ComponentList*>& windows) {
    std::string out;
    for (const ComponentList* w : windows)
        if (w) out += CaptionExportLines(*w);
    return WriteFileAtomically(path, out);
}

}  // namespace zrv::i18n
