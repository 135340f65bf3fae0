#include "i18n/ui/text_editor_window.h"

#include "i18n/ui/window_setup.h"

namespace zrv::i18n::ui {

TextEditorWindow::TextEditorWindow(QWidget* parent) : QDialog(parent) {
    SetUpWindow(*this, kTextEditorWindow);
    resize(320, 80);
}

}  // namespace zrv::i18n::ui
