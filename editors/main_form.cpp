#include "editors/main_form.h"

#include <QMetaObject>

namespace zrv {

std::string MissingControlText(const QString& what, const char* wantedClass, const QObject* found) {
    std::string text = "main window control " + what.toStdString() + " (" + wantedClass + ")";
    if (!found) return text + " does not exist";
    return text + " is a " + found->metaObject()->className() + ", not a " + wantedClass;
}

}  // namespace zrv
