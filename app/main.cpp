// zrv41k: the desktop programming tool for ZRV41K pagers.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstdio>

#include "app/application.h"
#include "app/program_folders.h"
#include "app/single_instance.h"

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
    // One window drives the board: a second start ends here, before any probe.
    const zrv::app::SingleInstance instance(zrv::app::SingleInstance::DefaultPath());
    if (!instance.acquired()) {
        std::fprintf(stderr, "zrv41k: %s\n", instance.refusal().toLocal8Bit().constData());
        return 1;
    }
    zrv::app::UseDesignFont();
    // Run from the build folder the program keeps its files beside itself;
    // installed, in the user's data folder.
    const std::filesystem::path executableFolder = QCoreApplication::applicationDirPath().toStdString();
    const auto folders = zrv::app::ResolveProgramFolders(
        executableFolder, QDir::currentPath().toStdString(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString());
    std::string folderError;
    if (!zrv::app::PrepareProgramFolders(folders, executableFolder, folderError)) {
        std::fprintf(stderr, "zrv41k: %s\n", folderError.c_str());
        return 1;
    }
    zrv::app::StartupOptions options;
    options.programFolder = folders.program;
    options.workingFolder = folders.working;
    // An installed program's dialogs start in the documents folder, never
    // in the hidden data folder; run from the build, in the current folder.
    if (folders.installed)
        options.firstDialogFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    options.ports = line->ports;
    options.encoderPort = line->encoderPort;
    options.channelSpacingMode = line->channelSpacingMode;
    if (!line->tableFile.empty()) options.openAtStart = std::filesystem::absolute(line->tableFile);
    zrv::app::Application app(std::move(options));
    app.mainWindow().show();
    return qapp.exec();
}
