#pragma once
/// \file
/// The message catalogue: texts of the current language from `Language.ini`
/// with the English text of the call site as the fallback, the current
/// language, the check marks of the language menu, the start-up rule and the
/// file side of the language actions ("English", "German").
///
/// Two folders matter: the working folder that was current at start-up (the
/// main window and every caption application use its `Language.ini`) and the
/// program folder (the UI text editor uses its `Language.ini` and
/// `DefLang.dat`). In a normal start they are the same folder.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/notifier.h"
#include "i18n/profile_file.h"

namespace zrv::i18n {

inline constexpr const char* kLanguageFileName = "Language.ini";
inline constexpr const char* kLanguageBackupName = "Language.bak";
inline constexpr const char* kDefaultCatalogueName = "DefLang.dat";
inline constexpr const char* kSettingSection = "Setting";
inline constexpr const char* kLanguageKey = "Language";
inline constexpr const char* kEnglish = "English";
inline constexpr const char* kGerman = "German";

/// The catalogue, the current language and the language menu's marks. The
/// main window owns one for the whole process; the command-line tool makes
/// its own.
class MessageCatalogue {
public:
    /// \p workingFolder: the current folder at start-up; \p programFolder:
    /// the folder of the program file. The handle starts on the working
    /// folder's `Language.ini`; the current language starts as "English".
    MessageCatalogue(std::filesystem::path workingFolder, std::filesystem::path programFolder);

    /// `Language.ini` in the working folder (main window, captions).
    std::filesystem::path workingLanguageFile() const;
    /// `Language.ini` in the program folder (UI text editor).
    std::filesystem::path programLanguageFile() const;
    /// `DefLang.dat` in the program folder.
    std::filesystem::path defaultCatalogueFile() const;
    /// `Language.bak` in the working folder (Load Default's backup).
    std::filesystem::path backupFile() const;
    const std::filesystem::path& workingFolder() const { return workingFolder_; }
    const std::filesystem::path& programFolder() const { return programFolder_; }

    /// Opens the file at \p path as the catalogue handle, replacing the
    /// previous one. Lookups read the file from disk each time.
    void open(const std::filesystem::path& path);
    /// The file lookups are made in.
    const ProfileFile& handle() const { return handle_; }
    ProfileFile& handle() { return handle_; }

    /// The value of \p key in the current language section, or \p english
    /// when the file, the section or the key is missing. An empty value in
    /// the file is returned as empty.
    std::string LookupMessage(std::string_view key, std::string_view english) const;
    /// The value of \p key in the current language section when the file has
    /// it, else nothing.
    std::optional<std::string> find(std::string_view key) const;

    /// The open file as parsed data. It is read from disk on every call (a
    /// non-blocking read of at most kMaxProfileBytes) but parsed again only
    /// when its bytes changed, so many lookups in a row cost one parse.
    const ProfileData& data() const;

    /// What start-up found wrong with the working folder's `Language.ini`
    /// (there but no regular file, or too large): the message to show once.
    /// The file is then neither read nor written and the texts stay English.
    const std::optional<Message>& startUpProblem() const { return startUpProblem_; }

    /// The name of the section in use.
    const std::string& currentLanguage() const { return currentLanguage_; }
    void setCurrentLanguage(std::string language) { currentLanguage_ = std::move(language); }

    /// Check marks of `mnuEnglish` and `mnuGerman`, as data for the window.
    bool englishChecked() const { return englishChecked_; }
    bool germanChecked() const { return germanChecked_; }
    /// Sets the marks for \p language: English checks `mnuEnglish` and
    /// unchecks `mnuGerman`, German the reverse; any other name leaves both.
    void markLanguage(std::string_view language);

    /// Start-up: opens the working folder's `Language.ini` and takes the
    /// current language from [Setting] Language (default "English"). Returns
    /// the language action the window must now run ("English" or "German"),
    /// or nothing for any other language (the designed captions stay). A file
    /// that is there but cannot serve as the catalogue (startUpProblem) runs
    /// no action: English is marked and nothing is written.
    std::optional<std::string> StartUp();

    /// The file side of a language action: current language := \p language,
    /// the marks follow, and [Setting] Language := \p language is written into
    /// the working folder's `Language.ini` (creating it when missing). The
    /// captions and the page selectors are the caller's part (see
    /// RunLanguageAction in captions.h). False when the file could not be
    /// written; the current language is changed in any case.
    bool SelectLanguage(std::string_view language);

    /// Reads [Setting] Language (default "English") from the open handle and
    /// makes it the current language, with its marks.
    void ReloadCurrentLanguage();

private:
    std::filesystem::path workingFolder_;
    std::filesystem::path programFolder_;
    ProfileFile handle_;
    std::string currentLanguage_ = kEnglish;
    bool englishChecked_ = false;
    bool germanChecked_ = false;
    std::optional<Message> startUpProblem_;
    /// The bytes last parsed, their file and what they parsed to.
    mutable std::optional<std::filesystem::path> parsedPath_;
    mutable std::string parsedBytes_;
    mutable ProfileData parsed_;
    mutable FileState parsedState_ = FileState::Missing;
};

/// The text a Notifier shows for \p message: the catalogue's text for its key
/// formatted with its arguments through SafeFormat, or, when the catalogue
/// has no such key, the message's English text as it is (the caller has
/// already placed the arguments into it). Both the window's Notifier and the
/// command-line tool use this.
std::string MessageText(const MessageCatalogue& catalogue, const Message& message);

/// The same for a catalogue that is only a file and a section (for tools
/// that have no process-wide catalogue).
std::string MessageText(const ProfileData& file, std::string_view section, const Message& message);

/// A Notifier that shows every message in the current language: it replaces
/// the message's English text with MessageText and passes the message on to
/// \p target (the window's message box, the command line's stderr printer).
class LocalisedNotifier : public Notifier {
public:
    LocalisedNotifier(const MessageCatalogue& catalogue, Notifier& target)
        : catalogue_(catalogue), target_(target) {}
    void show(const Message& message) override;
    bool ask(const Message& message) override;
    SaveChoice askToSave(const Message& message) override { return target_.askToSave(localised(message)); }

private:
    Message localised(const Message& message) const;
    const MessageCatalogue& catalogue_;
    Notifier& target_;
};

}  // namespace zrv::i18n
