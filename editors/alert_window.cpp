#include "editors/alert_window.h"

#include "i18n/ui/window_setup.h"

namespace zrv {

AlertWindow::AlertWindow(QWidget* parent) : QDialog(parent) {
    i18n::ui::SetUpWindow(*this, i18n::kAlertWindow);
    resize(320, 80);
}

}  // namespace zrv
