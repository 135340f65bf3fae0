#include "core/rw_password.h"

#include "core/cp1252.h"
#include "core/image_layout.h"

namespace zrv {
namespace L = layout;
static_assert(L::kRwPassword.length == kRwPasswordLength);

Message RwPasswordMessage() { return Message{"Msg30", "Password must 6 digits only!"}; }

Outcome StoreRwPassword(ConfigImage& image, std::string_view text) {
    // Six characters of the PC code page, whatever they are; a control
    // character is never part of a typed password.
    // A character the code page lacks is refused, never stored as another.
    const auto codes = PagerTextBytes(text);
    if (!codes || codes->size() != kRwPasswordLength) return Outcome::Refused(RwPasswordMessage());
    for (std::size_t k = 0; k < kRwPasswordLength; ++k)
        image.setByte(L::kRwPassword.offset + k, static_cast<std::uint8_t>((*codes)[k]));
    return Outcome::Ok();
}

std::string RwPasswordText(const ConfigImage& image) {
    std::string shown;
    for (const std::uint8_t byte : image.range(L::kRwPassword.offset, L::kRwPassword.length)) {
        if (IsControlCharacter(Cp1252ToUnicode(byte)))
            shown += '?';
        else
            shown += Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(&byte), 1));
    }
    return shown;
}

}  // namespace zrv
