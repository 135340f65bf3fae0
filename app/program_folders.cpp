#include "app/program_folders.h"

#include <system_error>

#include "i18n/message_catalogue.h"

namespace zrv::app {

namespace fs = std::filesystem;

fs::path InstalledCatalogue(const fs::path& executableFolder) {
    return executableFolder.parent_path() / "share" / "zrv41k" / i18n::kDefaultCatalogueName;
}

ProgramFolders ResolveProgramFolders(const fs::path& executableFolder, const fs::path& currentFolder,
                                     const fs::path& dataHome) {
    std::error_code ec;
    const bool besideExecutable = fs::exists(executableFolder / i18n::kDefaultCatalogueName, ec);
    const bool installed = !besideExecutable && fs::exists(InstalledCatalogue(executableFolder), ec);
    if (!installed) return {executableFolder, currentFolder, false};
    const fs::path data = dataHome / "zrv41k";
    return {data, data, true};
}

bool PrepareProgramFolders(const ProgramFolders& folders, const fs::path& executableFolder, std::string& error) {
    if (!folders.installed) return true;
    std::error_code ec;
    fs::create_directories(folders.program, ec);
    if (ec) {
        error = "cannot create " + folders.program.string() + ": " + ec.message();
        return false;
    }
    const fs::path factory = InstalledCatalogue(executableFolder);
    const fs::path copy = folders.program / i18n::kDefaultCatalogueName;
    fs::copy_file(factory, copy, fs::copy_options::update_existing, ec);
    const fs::path language = folders.program / i18n::kLanguageFileName;
    if (!fs::exists(language, ec)) fs::copy_file(factory, language, ec);
    return true;
}

}  // namespace zrv::app
