// `.lang` exchange files and the UI text editor's model: any bytes as a
// `.lang` file loaded into the grid over any language file, stored, saved
// and read again. Saving what was read gives the same lines back.
#include <cstdint>
#include <fstream>

#include "core/notifier.h"
#include "fuzz/fuzz_support.h"
#include "i18n/lang_file.h"
#include "i18n/message_catalogue.h"

using namespace zrv;
using namespace zrv::i18n;

namespace {

class QuietNotifier : public Notifier {
public:
    void show(const Message&) override {}
    bool ask(const Message&) override { return false; }
};

void Put(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::size_t split = in.word() % (size + 1);
    const std::string_view rest = in.rest();
    const std::string_view iniBytes = rest.substr(0, std::min(split, rest.size()));
    const std::string_view langBytes = rest.substr(std::min(split, rest.size()));

    // The lines of a .lang file, saved and read again, are the same lines.
    const auto lines = SplitLangLines(langBytes);
    const auto langPath = fuzz::WorkFolder() / "in.lang";
    Put(langPath, langBytes);
    const auto read = ReadLangFile(langPath);
    fuzz::Require(read && *read == lines, "a .lang file reads as its split lines");

    const auto folder = fuzz::WorkFolder();
    Put(folder / kLanguageFileName, iniBytes);
    MessageCatalogue catalogue(folder, folder);
    catalogue.StartUp();
    TextEditorModel model(catalogue);
    model.Fill(catalogue.currentLanguage());
    QuietNotifier notifier;
    if (model.Load(langPath, notifier)) {
        const auto savedPath = folder / "saved.lang";
        if (model.SaveAs(savedPath)) {
            const auto again = ReadLangFile(savedPath);
            fuzz::Require(again.has_value(), "a saved .lang file reads");
            fuzz::Require(again->size() <= model.rows().size(), "a saved .lang file has a line per row at most");
        }
    }
    return 0;
}
