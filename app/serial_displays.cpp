#include "app/serial_displays.h"

#include <QLineEdit>

#include "editors/main_form.h"

namespace zrv::app {

namespace {
void SetEditText(MainForm& form, const char* name, const std::string& utf8) {
    if (auto* edit = form.find<QLineEdit>(name)) edit->setText(QString::fromStdString(utf8));
}
}  // namespace

void SerialFieldsRefresher::refresh(MainForm& form) {
    SetEditText(form, "edtSSN", SsnText(form.image()));
    SetEditText(form, "edtPSN", PsnText(form.image()));
}

void PagerSerialRefresher::refresh(MainForm& form) {
    SetEditText(form, "txtSN", PagerSerialText(form.image()));
}

}  // namespace zrv::app
