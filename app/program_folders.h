#pragma once
/// \file
/// Where the desktop program keeps its files. Run from the build folder, the
/// program folder is the executable's folder and the working folder is the
/// current folder, as they always were. Installed under a prefix (the
/// executable in PREFIX/bin, the factory catalogue in PREFIX/share/zrv41k),
/// the executable's folder is not the user's to write: the program folder
/// and the working folder are then both the user's data folder
/// (~/.local/share/zrv41k), which receives the factory catalogue and, as its
/// first Language.ini, a copy of it. Nothing is then written beside the
/// executable or in whatever folder the desktop started the program in.

#include <filesystem>
#include <string>

namespace zrv::app {

struct ProgramFolders {
    std::filesystem::path program;  ///< default.tbl, DefLang.dat, the text editor's Language.ini, exports
    std::filesystem::path working;  ///< the main window's Language.ini
    bool installed = false;         ///< an installed program (the user's data folder)
};

/// The factory catalogue of an installed program whose executable lies in
/// \p executableFolder: PREFIX/share/zrv41k/DefLang.dat.
std::filesystem::path InstalledCatalogue(const std::filesystem::path& executableFolder);

/// The folders of a program whose executable lies in \p executableFolder,
/// started in \p currentFolder; \p dataHome is the user's data home
/// ($XDG_DATA_HOME or ~/.local/share). A build folder holds DefLang.dat
/// beside the executable; an installed program has it under share/zrv41k.
ProgramFolders ResolveProgramFolders(const std::filesystem::path& executableFolder,
                                     const std::filesystem::path& currentFolder,
                                     const std::filesystem::path& dataHome);

/// For an installed program: creates the user's data folder, puts the
/// installed factory catalogue there (refreshed when the installed one
/// changed) and, when the folder has no Language.ini yet, a copy of it as
/// the first one. False (and a reason in \p error) when the folder cannot be
/// made. Run from the build folder: the program folder's and the working
/// folder's Language.ini, where there is none yet, become copies of the
/// DefLang.dat beside the program. An existing Language.ini (or a link of
/// that name) is never replaced.
bool PrepareProgramFolders(const ProgramFolders& folders, const std::filesystem::path& executableFolder,
                           std::string& error);

}  // namespace zrv::app
