#pragma once
/// \file
/// What the desktop program prepares in its folders at start-up. Which
/// folders these are is the rule of i18n/program_location.h: beside the
/// executable when run from the build folder, the user's data folder
/// (~/.local/share/zrv41k) when installed, which then receives the factory
/// catalogue and, as its first Language.ini, a copy of it. Nothing is then
/// written beside the executable or in whatever folder the desktop started
/// the program in.

#include <filesystem>
#include <string>

#include "i18n/program_location.h"

namespace zrv::app {

// The folder rule itself is shared with the command line.
using i18n::InstalledCatalogue;
using i18n::ProgramFolders;
using i18n::ResolveProgramFolders;

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

/// The user guide of a program whose executable lies in \p executableFolder:
/// help/user-guide.md beside it in the build folder, else the installed
/// PREFIX/share/zrv41k/help/user-guide.md (named even when it is missing, so
/// that the message can say where it was looked for).
std::filesystem::path UserGuideFile(const std::filesystem::path& executableFolder);

}  // namespace zrv::app
