#pragma once
/// \file
/// The UI text editor's logic: its grid as a list of rows, Fill and Store
/// between the rows and `Language.ini`, the `.lang` exchange files, Load,
/// Save as and Load Default. The editor window shows the rows and calls these.
///
/// A `.lang` file is Windows-1252 text without header or keys: one line per
/// grid row in order, each ending in CR LF, holding the row's Current text
/// and one TAB, or eight spaces (no TAB) when the text is empty. Its lines
/// are matched to keys by position.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/notifier.h"
#include "i18n/message_catalogue.h"

namespace zrv::i18n {

/// One grid row below the title row (grid row n is rows[n-1]; column 0 "No"
/// is the row number). Texts are UTF-8.
struct TextRow {
    std::string key;       ///< column 1 "Command": a message key or control name; may be empty after Load
    std::string original;  ///< column 2 "Original": the key's text in [English]
    std::string current;   ///< column 3 "Current": the key's text in the current language (editable)
};

/// The window and grid captions that Fill sets.
struct TextEditorCaptions {
    std::string window = "UI Text Edit";  ///< key frmLang
    std::string no = "No";                ///< key NO
    std::string command = "Command";      ///< key Command
    std::string original = "Original";    ///< key Original
    std::string current = "Current";      ///< key Current
    std::string load = "Load";            ///< key btnLoad
    std::string apply = "Apply";          ///< key btnApply
    std::string save = "Save As";         ///< key btnSave
    std::string loadDefault = "Load Default";  ///< key btnLoadDef
};

/// The section holding the key list (cmd1, cmd2, …).
inline constexpr const char* kCommandSection = "Command";
/// Caption of the box that reports a .lang file that cannot be read.
inline constexpr const char* kLoadErrorCaption = "KIRV";
/// The question Load Default asks before it replaces the language file.
Message LoadDefaultQuestion();
/// Load Default could not write the factory texts.
Message LoadDefaultFailedMessage();

/// A `.lang` line for an empty text.
inline constexpr const char* kEmptyLangLine = "        ";

/// The key list of [Command]: cmd1, cmd2, … up to the first missing or empty one.
std::vector<std::string> ReadKeyList(const ProfileData& file);

/// The `.lang` file contents (Windows-1252) for \p texts, one line each.
std::string LangFileBytes(const std::vector<std::string>& texts);
/// The lines of a `.lang` file (UTF-8): split at CR and at LF, empty lines
/// dropped, each line kept as it stands (its TAB or eight spaces included).
std::vector<std::string> SplitLangLines(std::string_view cp1252Bytes);
/// The text a `.lang` line holds: the line without the one TAB that ends it,
/// or empty for the eight-space line of an empty text. Every other character
/// stays, trailing spaces included, so a saved file loads back as it was.
std::string LangLineText(std::string_view line);
/// Reads a `.lang` file; nothing when it cannot be opened or read.
std::optional<std::vector<std::string>> ReadLangFile(const std::filesystem::path& path);
/// Writes \p texts as a `.lang` file, replacing \p path atomically. False on failure.
bool SaveLangFile(const std::filesystem::path& path, const std::vector<std::string>& texts);

/// The editor's data and operations. All files are those of the program folder.
class TextEditorModel {
public:
    explicit TextEditorModel(MessageCatalogue& catalogue);

    /// Called wherever the main window's captions must be applied again in
    /// the current language (after Store and Load Default). Set by the window.
    std::function<void()> applyMainWindowCaptions;

    /// The catalogue whose files the editor works on.
    MessageCatalogue& catalogue() const { return catalogue_; }
    /// The grid rows (title row excluded).
    const std::vector<TextRow>& rows() const { return rows_; }
    /// Column 3 of row \p index (0-based) := \p text, as the user's edit does;
    /// an index outside the rows is ignored.
    void setCurrent(std::size_t index, std::string text);
    const TextEditorCaptions& captions() const { return captions_; }

    /// Fill: reads the program folder's `Language.ini` as the catalogue
    /// handle, sets the captions from \p section and one row per key of the
    /// key list (English text and \p section's text, default empty).
    void Fill(std::string_view section);
    /// Store: [Setting] Language := \p section, then every row's Current text
    /// under its key in \p section (each of the two steps one atomic
    /// replacement of the file). Rows without a key, and key list entries that
    /// are no valid key name (an `=`, a leading `[` or `;`), are skipped. Then
    /// Fill again and apply the main window's captions. False when the file
    /// could not be written.
    bool Store(std::string_view section);
    /// Apply (`btnApply`): Store in the current language. The window closes itself.
    bool Apply();
    /// Load (`btnLoad`) of the chosen \p path: the texts of its lines
    /// (LangLineText) become column 3 of
    /// rows 1, 2, … (the rows end with the last line; rows beyond the key
    /// list have no key), then Store in the current language. When the file
    /// cannot be read: Msg62 "Open Error !" through \p notifier, rows and
    /// files unchanged, false.
    bool Load(const std::filesystem::path& path, Notifier& notifier);
    /// Save as (`btnSave`): writes column 3 of every row to \p path as a
    /// `.lang` file. False when it could not be written.
    bool SaveAs(const std::filesystem::path& path) const;
    /// How Load Default ended.
    enum class LoadDefaultResult {
        Restored,     ///< the factory catalogue is the language file now
        NoFactory,    ///< no `DefLang.dat`: no language file is left, every text is English
        WriteFailed,  ///< the factory texts could not be written: reported, the user's file put back
    };
    /// Load Default (`btnLoadDef`), once the user has agreed
    /// (LoadDefaultQuestion): renames the program folder's `Language.ini` to
    /// `Language.bak` in the working folder unless a backup is already there
    /// (the oldest backup survives), copies `DefLang.dat` over `Language.ini`,
    /// opens it as the handle, takes the current language and its marks from
    /// it, and applies the main window's captions. When the copy cannot be
    /// written, \p notifier shows why, the user's `Language.ini` is put back
    /// where it was and nothing else changes.
    LoadDefaultResult LoadDefault(Notifier& notifier);

private:
    MessageCatalogue& catalogue_;
    std::vector<TextRow> rows_;
    TextEditorCaptions captions_;
};

}  // namespace zrv::i18n
