#pragma once
/// \file
/// The pager's six-digit read/write password (the "R/W Pwd" box): stored as
/// six character codes at 0xFC3..0xFC8, first character first.

#include <string>
#include <string_view>

#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

/// Number of characters of the read/write password.
inline constexpr std::size_t kRwPasswordLength = 6;

/// Msg30, the refusal of a password that is not six digits.
Message RwPasswordMessage();

/// The box's exit rule: exactly six characters (UTF-8 in, stored as their
/// Windows-1252 codes) go to 0xFC3..0xFC8, first character first. Anything
/// else (empty, shorter, longer, malformed UTF-8, or holding a control
/// character or one that Windows-1252 lacks) is refused
/// with Msg30 and the image keeps its password.
Outcome StoreRwPassword(ConfigImage& image, std::string_view text);

/// The six stored bytes as the box shows them (UTF-8). The bytes may come
/// from any file or pager: each Windows-1252 character is shown as itself,
/// and a byte that would be a control character (NUL included) shows as
/// "?", so the text always has six visible characters.
std::string RwPasswordText(const ConfigImage& image);

}  // namespace zrv
