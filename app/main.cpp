// zrv41k: the desktop programming tool for ZRV41K pagers.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <chrono>
#include <cstdio>
#include <filesystem>

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
    // One window drives the board: a second start hands its table file to
    // the running program and ends here, before any probe.
    const zrv::app::SingleInstance instance(zrv::app::SingleInstance::DefaultPath());
    if (!instance.acquired()) {
        const QString file = line->tableFile.empty()
                                 ? QString()
                                 : QString::fromStdString(std::filesystem::absolute(line->tableFile).string());
        using namespace std::chrono_literals;
        if (zrv::app::HandOver(zrv::app::SingleInstance::DefaultServerName(), file, 1s, 10s)) return 0;
        std::fprintf(stderr, "zrv41k: %s\n", instance.refusal().toLocal8Bit().constData());
        return 1;
    }
    // Listening at once: a second program started from now on is answered
    // as soon as the window is there.
    zrv::app::InstanceServer handOvers(zrv::app::SingleInstance::DefaultServerName());
    if (!handOvers.listening())
        std::fprintf(stderr, "zrv41k: a second start cannot hand its file over to this one: %s\n",
                     handOvers.error().toLocal8Bit().constData());
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
    options.practice = line->practice;
    if (!line->tableFile.empty()) options.openAtStart = std::filesystem::absolute(line->tableFile);
    zrv::app::Application app(std::move(options));
    // ZRV41K_PRINT_HANDOVER=1 (for tests): the caption after each hand-over
    // is printed, showing the table file it opened.
    const bool printHandOver = qEnvironmentVariableIntValue("ZRV41K_PRINT_HANDOVER") == 1;
    handOvers.setHandler([&app, printHandOver](const QString& file) {
        app.takeHandOver(file);
        if (!printHandOver) return;
        std::printf("handed over: %s\n", app.mainWindow().windowTitle().toLocal8Bit().constData());
        std::fflush(stdout);
    });
    // Showing the window may wait on a message about the board: hand-overs
    // are taken from here on.
    app.mainWindow().show();
    return qapp.exec();
}
