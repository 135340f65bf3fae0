#include "ui/kit/window_setup.h"

namespace zrv::kit {

void SetUpWindow(QDialog& window, const i18n::WindowCaption& caption) {
    window.setObjectName(QString::fromLatin1(caption.key));
    window.setWindowTitle(QString::fromUtf8(caption.designed));
    window.setProperty("designedClass", QStringLiteral("TForm"));
    window.setModal(true);
}

}  // namespace zrv::kit
