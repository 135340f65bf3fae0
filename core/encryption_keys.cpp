#include "core/encryption_keys.h"

#include "core/cp1252.h"
#include "core/image_layout.h"
#include "core/index_check.h"

namespace zrv {
namespace L = layout;

static_assert(L::kKeyLength == kKeyTextLength && L::kKeyCount == kKeyCount);
static_assert(kKeySelectionPageCount * kKeyListsPerPage == L::kKeySelections.length);

namespace {

constexpr char kBlank = ' ';

std::size_t SelectionOffset(int page, int tag) {
    CheckIndex(page, kKeySelectionPageCount, "encryption capcode page");
    CheckIndex(tag, kKeyListsPerPage, "key list");
    return L::kKeySelections.offset + static_cast<std::size_t>(kKeyListsPerPage * page + tag);
}

bool StorableInKey(char32_t ch) {
    return !IsControlCharacter(ch) && UnicodeToCp1252(ch).has_value();
}

}  // namespace

int KeySelectionItem(const ConfigImage& image, int page, int tag) {
    const std::uint8_t stored = image.byte(SelectionOffset(page, tag));
    return stored < kKeySelectionItemCount ? stored : 0;
}

void StoreKeySelection(ConfigImage& image, int page, int tag, int item) {
    CheckIndex(item, kKeySelectionItemCount, "key selection item");
    image.setByte(SelectionOffset(page, tag), static_cast<std::uint8_t>(item));
}

Message KeyTextMessage() {
    return Message{"MsgKeyText",
                   "A key holds at most 16 characters of the Western European character set (Windows-1252) !"};
}

Outcome JudgeKeyCharacter(char32_t ch) {
    return StorableInKey(ch) ? Outcome::Ok() : Outcome::Refused(KeyTextMessage());
}

KeyTextResult StoreKeyText(ConfigImage& image, int key, std::string_view utf8) {
    CheckIndex(key, kKeyCount, "encryption key");
    // A character the code page lacks converts to NUL here (not to '?',
    // which would quietly store another key than the one typed) and is
    // refused like any other control character.
    const std::string codes = Utf8ToCp1252(utf8, '\0');
    bool storable = codes.size() <= static_cast<std::size_t>(kKeyTextLength);
    for (const char code : codes)
        if (code == '\0' || IsControlCharacter(Cp1252ToUnicode(static_cast<std::uint8_t>(code)))) storable = false;
    if (!storable) return {Outcome::Refused(KeyTextMessage()), {}};
    std::string padded = codes;
    padded.resize(static_cast<std::size_t>(kKeyTextLength), kBlank);
    const std::size_t offset = L::kKeys + static_cast<std::size_t>(kKeyTextLength * key);
    for (std::size_t i = 0; i < padded.size(); ++i) image.setByte(offset + i, static_cast<std::uint8_t>(padded[i]));
    return {Outcome::Ok(), Cp1252ToUtf8(padded)};
}

}  // namespace zrv
