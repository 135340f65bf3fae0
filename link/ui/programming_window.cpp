#include "link/ui/programming_window.h"

#include "i18n/ui/window_setup.h"

namespace zrv::link::ui {

ProgrammingWindow::ProgrammingWindow(QWidget* parent) : QDialog(parent) {
    i18n::ui::SetUpWindow(*this, i18n::kProgrammingWindow);
    resize(320, 80);
}

}  // namespace zrv::link::ui
