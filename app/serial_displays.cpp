#include "app/serial_displays.h"

#include <QLineEdit>
#include <cstdio>

#include "core/cp1252.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "editors/main_form.h"

namespace zrv::app {

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

void SetEditText(MainForm& form, const char* name, const std::string& utf8) {
    if (auto* edit = form.find<QLineEdit>(name)) edit->setText(QString::fromStdString(utf8));
}
}  // namespace

std::string SsnText(const ConfigImage& image) { return HexDigits(image, layout::kSsn); }
std::string PsnText(const ConfigImage& image) { return HexDigits(image, layout::kPsn); }

std::string PagerSerialText(const ConfigImage& image) {
    if (!SerialNumberValid(image)) return {};
    return Cp1252ToUtf8(PagerSerialNumber(image));
}

void SerialFieldsRefresher::refresh(MainForm& form) {
    SetEditText(form, "edtSSN", SsnText(form.image()));
    SetEditText(form, "edtPSN", PsnText(form.image()));
}

void PagerSerialRefresher::refresh(MainForm& form) {
    SetEditText(form, "txtSN", PagerSerialText(form.image()));
}

}  // namespace zrv::app
