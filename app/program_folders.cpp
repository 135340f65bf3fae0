#include "app/program_folders.h"

#include <system_error>

#include "i18n/message_catalogue.h"

namespace zrv::app {

namespace fs = std::filesystem;

namespace {

/// A first Language.ini: a copy of the factory catalogue \p factory, made only
/// where nothing of that name is (a link, even a dangling one, or any other
/// file is the user's and stays untouched).
void SeedLanguageFile(const fs::path& factory, const fs::path& language) {
    if (i18n::ReadFileBytes(language, 0).state != i18n::FileState::Missing) return;
    if (const auto bytes = i18n::ReadWholeFile(factory)) i18n::WriteFileAtomically(language, *bytes);
}

}  // namespace

bool PrepareProgramFolders(const ProgramFolders& folders, const fs::path& executableFolder, std::string& error) {
    if (!folders.installed) {
        // Run from the build folder: the factory catalogue beside the program
        // gives the text editor's and the main window's Language.ini their
        // first contents, so the language menu has both languages at once.
        const fs::path factory = folders.program / i18n::kDefaultCatalogueName;
        SeedLanguageFile(factory, folders.program / i18n::kLanguageFileName);
        SeedLanguageFile(factory, folders.working / i18n::kLanguageFileName);
        return true;
    }
    std::error_code ec;
    fs::create_directories(folders.program, ec);
    if (ec) {
        error = "cannot create " + folders.program.string() + ": " + ec.message();
        return false;
    }
    const fs::path factory = InstalledCatalogue(executableFolder);
    const fs::path copy = folders.program / i18n::kDefaultCatalogueName;
    fs::copy_file(factory, copy, fs::copy_options::update_existing, ec);
    SeedLanguageFile(factory, folders.program / i18n::kLanguageFileName);
    return true;
}

fs::path UserGuideFile(const fs::path& executableFolder) {
    const fs::path beside = executableFolder / "help" / "user-guide.md";
    std::error_code ec;
    if (fs::exists(beside, ec)) return beside;
    return InstalledCatalogue(executableFolder).parent_path() / "help" / "user-guide.md";
}

}  // namespace zrv::app
