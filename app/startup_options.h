#pragma once
/// \file
/// How the main window starts: folders, ports, dialogs and the board probe.

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/document_commands.h"
#include "link/connection_check.h"

namespace zrv {
class Notifier;
}

namespace zrv::app {

/// How the window starts. The defaults are those of a normal start; tests
/// and tools replace the folders, the dialogs and the board probe.
struct StartupOptions {
    std::filesystem::path programFolder;  ///< empty: the executable's folder
    std::filesystem::path workingFolder;  ///< empty: the current folder
    std::vector<std::string> ports;       ///< --port PATH overrides of discovery
    std::string encoderPort;              ///< --encoder-port PATH of the OTA window
    int channelSpacingMode = 0;           ///< --channel-spacing 0|1|2
    std::filesystem::path openAtStart;    ///< FILE.tbl of the command line, opened after the default table
    /// The settings file of File > Open Recent; empty: the user's
    /// configuration folder (~/.config/zrv41k/zrv41k.conf).
    QString settingsFile;
    bool probeBoard = true;               ///< FormShow probes once for the board
    /// --practice: the board is the board simulator with a sample pager.
    bool practice = false;
    /// The board simulator for practice; empty: the one beside the program.
    std::filesystem::path boardSimulator;
    /// Who asks and where the system's files are, for the reasons a probe
    /// finds no board; none: this process and the real system.
    std::optional<link::SystemView> systemView;
    /// The user guide Help > User Guide shows; empty: the one beside the
    /// program or installed with it (UserGuideFile).
    std::filesystem::path userGuide;
    bool maximise = true;                 ///< FormCreate maximises the window
    Notifier* notifier = nullptr;         ///< nullptr: message boxes
    /// Open / save dialogs: return the chosen path, empty when cancelled.
    /// Default: the Qt file dialogs with the program folder as start.
    PathDialog openDialog;
    /// Where File > Open and Save As first start (no file of the user's
    /// open, none used before); empty: the current folder.
    QString firstDialogFolder;
    PathDialog saveDialog;

    /// A start-up nobody watches (screenshots, benchmarks, tests): program and
    /// working folder \p folder, no board probe, not maximised, messages to
    /// \p notifier.
    static StartupOptions Unattended(const std::filesystem::path& folder, Notifier& notifier) {
        StartupOptions options;
        options.programFolder = folder;
        options.workingFolder = folder;
        options.probeBoard = false;
        options.maximise = false;
        options.notifier = &notifier;
        return options;
    }
};

}  // namespace zrv::app
