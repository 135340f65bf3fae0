#pragma once
/// \file
/// Start-up of the desktop program: the application title, the windows in
/// their creation order (main window first, its FormCreate running as it is
/// created), and the command line (--port PATH, --encoder-port PATH,
/// --channel-spacing 0|1|2, --practice).

#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window.h"

namespace zrv::app {

class CompanionWindows;
class CompareCommands;
class ConnectionCommands;

/// The program's own command-line options (Qt's options are taken by
/// QApplication before these are read).
struct CommandLine {
    std::vector<std::string> ports;
    std::string encoderPort;  ///< --encoder-port PATH; empty: /dev/ttyS0
    int channelSpacingMode = 0;
    std::string tableFile;  ///< FILE.tbl to open at start-up, empty for none
    bool practice = false;  ///< --practice: the practice board instead of a real one
};

/// Parses \p arguments (without the program name). Returns nothing and sets
/// \p error for an unknown option or a bad value.
std::optional<CommandLine> ParseCommandLine(const QStringList& arguments, QString& error);

/// The text `zrv41k --help` prints.
std::string UsageText();
/// The program name and version, "zrv41k 1.09", as `zrv41k --version` prints it.
std::string VersionLine();
/// The answer to --help (-h) or --version among the raw program arguments
/// \p argv (argv[0] is the program), or nothing. The program prints it and
/// ends before a display is opened, so both work without one.
std::optional<std::string> InformationRequest(int argc, const char* const* argv);

/// The windows of one run, created in order and kept until the end.
class LogCommands;
class HelpCommands;

class Application {
public:
    explicit Application(StartupOptions options);
    ~Application();
    MainWindow& mainWindow() { return *main_; }
    CompanionWindows& companions() { return *companions_; }
    CompareCommands& compareCommands() { return *compare_; }
    LogCommands& logCommands() { return *logCommands_; }
    /// Help > Check Board Connection, the practice board, the board's reasons.
    ConnectionCommands& connection() { return *connection_; }
    /// Help > User Guide and F1.
    HelpCommands& help() { return *help_; }
    /// What a second start handed over: the main window comes forward and
    /// opens \p file as File > Open does (nothing to open when empty).
    void takeHandOver(const QString& file);

private:
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<CompanionWindows> companions_;
    std::unique_ptr<CompareCommands> compare_;
    std::unique_ptr<LogCommands> logCommands_;  ///< goes first: its window reads the log
    std::unique_ptr<ConnectionCommands> connection_;
    std::unique_ptr<HelpCommands> help_;
};

/// The 9-point design font every window is laid out for.
void UseDesignFont();

}  // namespace zrv::app
