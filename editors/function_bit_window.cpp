#include "editors/function_bit_window.h"

#include "i18n/ui/window_setup.h"

namespace zrv {

FunctionBitWindow::FunctionBitWindow(QWidget* parent) : QDialog(parent) {
    i18n::ui::SetUpWindow(*this, i18n::kFunctionBitWindow);
    resize(320, 80);
}

}  // namespace zrv
