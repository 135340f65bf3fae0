#include "i18n/lang_file.h"

#include <system_error>

#include "core/cp1252.h"
#include "core/table_file.h"
#include "i18n/profile_file.h"

namespace zrv::i18n {

std::vector<std::string> ReadKeyList(const ProfileData& file) {
    std::vector<std::string> keys;
    for (std::size_t n = 1;; ++n) {
        std::string key = file.read(kCommandSection, "cmd" + std::to_string(n));
        if (key.empty()) break;
        keys.push_back(std::move(key));
    }
    return keys;
}

std::string LangFileBytes(const std::vector<std::string>& texts) {
    std::string out;
    for (const auto& text : texts) {
        if (text.empty()) {
            out += kEmptyLangLine;
        } else {
            out += Utf8ToCp1252(text);
            out += '\t';
        }
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> SplitLangLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos <= bytes.size()) {
        const auto end = bytes.find_first_of("\r\n", pos);
        const auto stop = end == std::string_view::npos ? bytes.size() : end;
        if (stop > pos) lines.push_back(Cp1252ToUtf8(bytes.substr(pos, stop - pos)));
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return lines;
}

std::string LangLineText(std::string_view line) {
    if (line == kEmptyLangLine) return {};
    if (!line.empty() && line.back() == '\t') line.remove_suffix(1);
    return std::string(line);
}

std::optional<std::vector<std::string>> ReadLangFile(const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return SplitLangLines(*bytes);
}

bool SaveLangFile(const std::filesystem::path& path, const std::vector<std::string>& texts) {
    return WriteFileAtomically(path, LangFileBytes(texts));
}

// ---------------------------------------------------------------- TextEditorModel

TextEditorModel::TextEditorModel(MessageCatalogue& catalogue) : catalogue_(catalogue) {}

void TextEditorModel::setCurrent(std::size_t index, std::string text) {
    if (index < rows_.size()) rows_[index].current = std::move(text);
}

void TextEditorModel::Fill(std::string_view section) {
    catalogue_.open(catalogue_.programLanguageFile());
    const ProfileData& file = catalogue_.data();

    const TextEditorCaptions designed;
    captions_.window = file.read(section, "frmLang", designed.window);
    captions_.no = file.read(section, "NO", designed.no);
    captions_.command = file.read(section, "Command", designed.command);
    captions_.original = file.read(section, "Original", designed.original);
    captions_.current = file.read(section, "Current", designed.current);
    captions_.load = file.read(section, "btnLoad", designed.load);
    captions_.apply = file.read(section, "btnApply", designed.apply);
    captions_.save = file.read(section, "btnSave", designed.save);
    captions_.loadDefault = file.read(section, "btnLoadDef", designed.loadDefault);

    rows_.clear();
    for (const auto& key : ReadKeyList(file))
        rows_.push_back(TextRow{key, file.read(kEnglish, key), file.read(section, key)});
}

bool TextEditorModel::Store(std::string_view section) {
    catalogue_.open(catalogue_.programLanguageFile());
    ProfileFile& file = catalogue_.handle();
    // The section's texts go out in one replacement of the file. Rows without
    // a key (Load adds them beyond the key list) would go out under an empty
    // key name, and a key list entry that is no valid key name would break
    // the file's lines; both are skipped.
    bool ok = file.writeString(kSettingSection, kLanguageKey, section);
    if (ok) {
        std::vector<std::pair<std::string, std::string>> values;
        for (const auto& row : rows_)
            if (IsWritableKey(row.key)) values.emplace_back(row.key, row.current);
        ok = values.empty() || file.writeStrings(section, values);
    }
    Fill(section);
    if (applyMainWindowCaptions) applyMainWindowCaptions();
    return ok;
}

bool TextEditorModel::Apply() { return Store(catalogue_.currentLanguage()); }

bool TextEditorModel::Load(const std::filesystem::path& path, Notifier& notifier) {
    const auto lines = ReadLangFile(path);
    if (!lines) {
        Message refused = OpenErrorMessage(path.string(), OpenFailureReason(path));
        refused.caption = kLoadErrorCaption;
        notifier.show(refused);
        return false;
    }
    rows_.resize(lines->size());
    for (std::size_t k = 0; k < lines->size(); ++k) rows_[k].current = LangLineText((*lines)[k]);
    return Store(catalogue_.currentLanguage());
}

bool TextEditorModel::SaveAs(const std::filesystem::path& path) const {
    std::vector<std::string> texts;
    texts.reserve(rows_.size());
    for (const auto& row : rows_) texts.push_back(row.current);
    return SaveLangFile(path, texts);
}

Message LoadDefaultQuestion() {
    return Message{"MsgLoadDefaultAsk",
                   "Replace every text of the language file with the factory texts? Texts not saved as a "
                   ".lang file may be lost.",
                   MsgIcon::Question};
}

Message LoadDefaultFailedMessage() {
    return Message{"MsgLoadDefaultFailed",
                   "The factory texts could not be written; the language file was left as it was."};
}

namespace {

/// Moves \p from to \p to: a rename, or across file systems a copy whose
/// original goes only once the copy is safely there.
bool MoveFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (!ec) return true;
    if (!std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec)) return false;
    std::filesystem::remove(from, ec);
    return true;
}

}  // namespace

TextEditorModel::LoadDefaultResult TextEditorModel::LoadDefault(Notifier& notifier) {
    const auto language = catalogue_.programLanguageFile();
    const auto backup = catalogue_.backupFile();
    // A Language.ini that is there but no regular file (a device, a FIFO, a
    // link to one) is neither moved nor written through.
    if (const FileState state = ReadFileBytes(language, 0).state;
        state == FileState::NotRegular || state == FileState::Unreadable) {
        notifier.show(LoadDefaultFailedMessage());
        return LoadDefaultResult::WriteFailed;
    }
    std::error_code ec;
    // The oldest backup survives: with a backup present the file is not moved.
    bool moved = false;
    if (!std::filesystem::exists(backup, ec) && std::filesystem::is_regular_file(language, ec))
        moved = MoveFile(language, backup);
    LoadDefaultResult result = LoadDefaultResult::NoFactory;
    if (const auto factory = ReadWholeFile(catalogue_.defaultCatalogueFile())) {
        if (!WriteFileAtomically(language, *factory)) {
            // Nothing was written: the user's file goes back where it was.
            if (moved) MoveFile(backup, language);
            notifier.show(LoadDefaultFailedMessage());
            return LoadDefaultResult::WriteFailed;
        }
        result = LoadDefaultResult::Restored;
    }
    catalogue_.open(language);
    catalogue_.ReloadCurrentLanguage();
    if (applyMainWindowCaptions) applyMainWindowCaptions();
    return result;
}

}  // namespace zrv::i18n
