#include "i18n/message_catalogue.h"

#include "i18n/safe_format.h"

namespace zrv::i18n {

MessageCatalogue::MessageCatalogue(std::filesystem::path workingFolder,
                                   std::filesystem::path programFolder)
    : workingFolder_(std::move(workingFolder)),
      programFolder_(std::move(programFolder)),
      handle_(workingFolder_ / kLanguageFileName) {}

std::filesystem::path MessageCatalogue::workingLanguageFile() const {
    return workingFolder_ / kLanguageFileName;
}
std::filesystem::path MessageCatalogue::programLanguageFile() const {
    return programFolder_ / kLanguageFileName;
}
std::filesystem::path MessageCatalogue::defaultCatalogueFile() const {
    return programFolder_ / kDefaultCatalogueName;
}
std::filesystem::path MessageCatalogue::backupFile() const {
    return workingFolder_ / kLanguageBackupName;
}

void MessageCatalogue::open(const std::filesystem::path& path) { handle_ = ProfileFile(path); }

const ProfileData& MessageCatalogue::data() const {
    FileBytes file = ReadFileBytes(handle_.path());
    if (parsedPath_ == handle_.path() && parsedState_ == file.state && parsedBytes_ == file.bytes) return parsed_;
    parsed_ = file.state == FileState::Regular ? ProfileData::Parse(file.bytes) : ProfileData{};
    parsedPath_ = handle_.path();
    parsedState_ = file.state;
    parsedBytes_ = std::move(file.bytes);
    return parsed_;
}

std::optional<std::string> MessageCatalogue::find(std::string_view key) const {
    return data().find(currentLanguage_, key);
}

std::string MessageCatalogue::LookupMessage(std::string_view key, std::string_view english) const {
    auto text = find(key);
    return text ? std::move(*text) : std::string(english);
}

void MessageCatalogue::markLanguage(std::string_view language) {
    if (language == kEnglish) {
        englishChecked_ = true;
        germanChecked_ = false;
    } else if (language == kGerman) {
        englishChecked_ = false;
        germanChecked_ = true;
    }
}

void MessageCatalogue::ReloadCurrentLanguage() {
    currentLanguage_ = data().read(kSettingSection, kLanguageKey, kEnglish);
    markLanguage(currentLanguage_);
}

std::optional<std::string> MessageCatalogue::StartUp() {
    open(workingLanguageFile());
    const ProfileData& file = data();
    const std::string path = handle_.path().string();
    startUpProblem_.reset();
    if (parsedState_ == FileState::NotRegular)
        startUpProblem_ = Message{"MsgLanguageFileNotRegular",
                                  "The language file " + path +
                                      " is not a regular file; it is neither read nor written, and the "
                                      "English texts are used.",
                                  MsgIcon::Exclamation, {path}};
    else if (parsedState_ == FileState::TooLarge)
        startUpProblem_ = Message{"MsgLanguageFileTooLarge",
                                  "The language file " + path +
                                      " is larger than 16 MB and is not read; the English texts are used.",
                                  MsgIcon::Exclamation, {path}};
    if (startUpProblem_) {
        // The built-in English texts stay; nothing is written into the file.
        currentLanguage_ = kEnglish;
        markLanguage(currentLanguage_);
        return std::nullopt;
    }
    currentLanguage_ = file.read(kSettingSection, kLanguageKey, kEnglish);
    // The menu's two languages are compared as written, as the start-up rule
    // names them; any other section keeps the designed captions.
    if (currentLanguage_ == kEnglish || currentLanguage_ == kGerman) {
        markLanguage(currentLanguage_);
        return currentLanguage_;
    }
    return std::nullopt;
}

bool MessageCatalogue::SelectLanguage(std::string_view language) {
    currentLanguage_ = std::string(language);
    markLanguage(currentLanguage_);
    ProfileFile file(workingLanguageFile());
    return file.writeString(kSettingSection, kLanguageKey, currentLanguage_);
}

namespace {

std::string Compose(std::optional<std::string> text, const Message& message) {
    if (!text) return message.english;
    if (message.args.empty()) return std::move(*text);
    std::vector<FormatArg> args(message.args.begin(), message.args.end());
    return SafeFormat(*text, args);
}

}  // namespace

std::string MessageText(const MessageCatalogue& catalogue, const Message& message) {
    return Compose(catalogue.find(message.key), message);
}

std::string MessageText(const ProfileData& file, std::string_view section, const Message& message) {
    return Compose(file.find(section, message.key), message);
}

Message LocalisedNotifier::localised(const Message& message) const {
    Message shown = message;
    shown.english = MessageText(catalogue_, message);
    return shown;
}

void LocalisedNotifier::show(const Message& message) { target_.show(localised(message)); }

bool LocalisedNotifier::ask(const Message& message) { return target_.ask(localised(message)); }

}  // namespace zrv::i18n
