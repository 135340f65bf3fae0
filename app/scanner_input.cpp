#include "app/scanner_input.h"

namespace zrv::app {

void ScannerBuffer::append(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F) text_.append(c);
}

std::optional<QString> ScannerBuffer::enter() {
    if (text_.size() == kSerialLength - 1) text_.append(QLatin1Char(' '));
    if (text_.size() == kSerialLength) return text_;
    return std::nullopt;
}

}  // namespace zrv::app
