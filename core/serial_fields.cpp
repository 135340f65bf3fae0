#include "core/serial_fields.h"

#include <cstdio>

#include "core/cp1252.h"
#include "core/image_layout.h"
#include "core/image_rules.h"

namespace zrv {

namespace {
std::string HexDigits(const ConfigImage& image, layout::Span span) {
    std::string text;
    for (const std::uint8_t b : image.range(span.offset, span.length)) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%X", b);
        text += buf;
    }
    return text;
}
}  // namespace

std::string SsnText(const ConfigImage& image) { return HexDigits(image, layout::kSsn); }
std::string PsnText(const ConfigImage& image) { return HexDigits(image, layout::kPsn); }

std::string PagerSerialText(const ConfigImage& image) {
    if (!SerialNumberValid(image)) return {};
    return Cp1252ToUtf8(PagerSerialNumber(image));
}

}  // namespace zrv
