// zrv41k: the desktop programming tool for ZRV41K pagers.
#include <QApplication>
#include <cstdio>

#include "app/application.h"

int main(int argc, char** argv) {
    // --help and --version answer before QApplication opens a display.
    if (const auto answer = zrv::app::InformationRequest(argc, argv)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    QApplication qapp(argc, argv);  // takes Qt's own options (-platform, -style, ...)
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    QString error;
    const auto line = zrv::app::ParseCommandLine(arguments, error);
    if (!line) {
        std::fprintf(stderr, "zrv41k: %s\nRun 'zrv41k --help' for the options.\n",
                     error.toLocal8Bit().constData());
        return 2;
    }
    zrv::app::UseDesignFont();
    zrv::app::StartupOptions options;
    options.ports = line->ports;
    options.encoderPort = line->encoderPort;
    options.channelSpacingMode = line->channelSpacingMode;
    zrv::app::Application app(std::move(options));
    app.mainWindow().show();
    return qapp.exec();
}
