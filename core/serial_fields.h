#pragma once
/// \file
/// The serial fields as the main window shows them: the secret and public
/// serial numbers (one hexadecimal digit per image byte) and the pager's own
/// serial number (shown only when its sum bytes match).

#include <string>

#include "core/image.h"

namespace zrv {

/// The bytes 0x4FD..0x50C as upper-case hexadecimal, at least one digit
/// each, concatenated ("0123456789ABCDEF"; a byte 0x1F adds "1F").
std::string SsnText(const ConfigImage& image);
/// The bytes 0x513..0x51E in the same form.
std::string PsnText(const ConfigImage& image);
/// The twelve serial-number characters 0x4D6..0x4E1 (as UTF-8) when the
/// stored sum matches, else "".
std::string PagerSerialText(const ConfigImage& image);

}  // namespace zrv
