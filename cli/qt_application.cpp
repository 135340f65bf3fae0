#include "cli/qt_application.h"

#include <QCoreApplication>

namespace zrv::cli {

void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "zrv41k-cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

}  // namespace zrv::cli
