#include "i18n/ui/window_setup.h"

namespace zrv::i18n::ui {

void SetUpWindow(QDialog& window, const WindowCaption& caption) {
    window.setObjectName(QString::fromLatin1(caption.key));
    window.setWindowTitle(QString::fromUtf8(caption.designed));
    window.setProperty("designedClass", QStringLiteral("TForm"));
    window.setModal(true);
}

}  // namespace zrv::i18n::ui
