#pragma once
/// \file
/// Where a program of this system keeps the files it writes. Run from the
/// build folder, the program folder is the executable's folder and the
/// working folder is the current folder. Installed under a prefix (the
/// executable in PREFIX/bin, the factory catalogue in PREFIX/share/zrv41k),
/// the executable's folder is not the user's to write: the program folder
/// and the working folder are then both the user's data folder
/// (~/.local/share/zrv41k). The window and the command line use the same
/// rule, so both find the files the other wrote (the programming log).

#include <filesystem>

namespace zrv::i18n {

struct ProgramFolders {
    std::filesystem::path program;  ///< default.tbl, DefLang.dat, the text editor's Language.ini, exports, the log
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

}  // namespace zrv::i18n
