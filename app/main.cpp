// zrv41k: the desktop programming tool for ZRV41K pagers.
#include <QApplication>
#include <cstdio>

#include "app/application.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);  // takes Qt's own options (-platform, -style, ...)
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        std::printf(
            "Usage: zrv41k [--port PATH]... [--channel-spacing 0|1|2] [Qt options]\n\n"
            "  --port PATH             probe this serial device for the programmer board\n"
            "                          (repeatable; replaces port discovery)\n"
            "  --channel-spacing MODE  channel spacing shown by the About window:\n"
            "                          0 = 5 kHz (default), 1 = 6.25 kHz, 2 = Auto\n");
        return 0;
    }
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
    options.channelSpacingMode = line->channelSpacingMode;
    zrv::app::Application app(std::move(options));
    app.mainWindow().show();
    return qapp.exec();
}
