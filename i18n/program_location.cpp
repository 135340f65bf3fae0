#include "i18n/program_location.h"

#include <system_error>

#include "i18n/message_catalogue.h"

namespace zrv::i18n {

namespace fs = std::filesystem;

fs::path InstalledCatalogue(const fs::path& executableFolder) {
    return executableFolder.parent_path() / "share" / "zrv41k" / kDefaultCatalogueName;
}

ProgramFolders ResolveProgramFolders(const fs::path& executableFolder, const fs::path& currentFolder,
                                     const fs::path& dataHome) {
    std::error_code ec;
    const bool besideExecutable = fs::exists(executableFolder / kDefaultCatalogueName, ec);
    const bool installed = !besideExecutable && fs::exists(InstalledCatalogue(executableFolder), ec);
    if (!installed) return {executableFolder, currentFolder, false};
    const fs::path data = dataHome / "zrv41k";
    return {data, data, true};
}

}  // namespace zrv::i18n
