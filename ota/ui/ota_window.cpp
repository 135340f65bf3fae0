#include "ota/ui/ota_window.h"

#include <QPlainTextEdit>

#include "i18n/ui/window_setup.h"

namespace zrv::ota::ui {

namespace {
/// The OTA window is not localised: its caption has no key of its own.
constexpr i18n::WindowCaption kOtaWindow{"frmOTA", "OTA Command"};
}  // namespace

OtaWindow::OtaWindow(QWidget* parent) : QDialog(parent) {
    i18n::ui::SetUpWindow(*this, kOtaWindow);
    resize(320, 80);
    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    memo1_->setGeometry(8, 8, 304, 64);
}

}  // namespace zrv::ota::ui
