#pragma once
/// \file
/// Caption application and caption export over plain descriptions of a
/// window's controls, so a window only describes its controls, calls these
/// functions and puts the results back on the controls.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"

namespace zrv::i18n {

/// One control of a window, as caption application and export see it.
/// A window describes every control it owns, in creation order.
struct Component {
    /// The control's name (Qt objectName), e.g. "lblCS", "btnLoad", "cboCCPage".
    std::string name;
    /// The exact designed class name: "TLabel", "TStaticText", "TGroupBox",
    /// "TCheckBox", "TRadioButton", "TButton", "TBitBtn", "TComboBox",
    /// "TMenuItem", "TForm", "TEdit", "TPanel"… Matching is exact: a class
    /// not named by the rules (including a subclass such as "TMyLabel") is
    /// left alone.
    std::string designedClass;
    /// The control's Hint; a Hint containing "NULL" (case-sensitive, anywhere)
    /// keeps the designed caption of labels, group boxes, check boxes, static
    /// texts, forms, menu items and combo boxes (not of buttons or radio buttons).
    std::string hint;
    /// The current caption (UTF-8). ApplyCaptions replaces it.
    std::string caption;
    /// Combo boxes: the current item texts (UTF-8). ApplyCaptions replaces them.
    std::vector<std::string> items;
    /// Combo boxes: the selected item, -1 for none. ApplyCaptions keeps it
    /// (set to -1 when the rebuilt list is shorter).
    int selectedIndex = -1;
};

/// A window's controls in creation order.
using ComponentList = std::vector<Component>;

/// The NULL marker: true when \p hint contains "NULL".
bool HasNullMarker(std::string_view hint);

/// The capcode page selectors whose entries are built from the capcode count.
inline constexpr const char* kCapcodePageSelector = "cboCCPage";
inline constexpr const char* kEncryptionPageSelector = "cboECPage";
inline constexpr const char* kSourcePageSelector = "cboSrcPage";
inline constexpr const char* kMusicTypePageSelector = "cboMTPage";
/// Default format of every capcode page entry.
inline constexpr const char* kCapcodePageFormat = "Capcode %d - %d";
/// The largest capcode count; larger counts are clamped to it.
inline constexpr int kMaxCapcodeCount = 48;

/// Entries of a capcode page selector for \p capcodeCount capcodes (clamped
/// to 0..48): `cboCCPage` and `cboECPage` get count/8 entries of eight
/// capcodes ("Capcode 1 - 8"…), `cboSrcPage` and `cboMTPage` 2·count/8
/// entries of four ("Capcode 1 - 4"…). Entry j is formatted from the value
/// of \p selectorName + "Item" + j in \p section (default "Capcode %d - %d").
/// Any other name gives no entries.
std::vector<std::string> CapcodePageEntries(const ProfileData& file, std::string_view section,
                                            std::string_view selectorName, int capcodeCount);
/// True for the four capcode page selectors.
bool IsCapcodePageSelector(std::string_view name);

/// Sets the captions and combo box items of \p window from \p section of
/// \p file, by exact designed class. Every default is the control's current
/// text, so a key the section lacks keeps the caption already shown.
void ApplyCaptions(ComponentList& window, const ProfileData& file, std::string_view section,
                   int capcodeCount);
/// The same with the working folder's `Language.ini` read now, which also
/// becomes the catalogue handle, and the section \p section.
void ApplyCaptions(MessageCatalogue& catalogue, ComponentList& window, std::string_view section,
                   int capcodeCount);

/// The file side and the captions of a language action ("English" or
/// "German"): current language and marks, ApplyCaptions on \p mainWindow,
/// [Setting] Language written. The window then runs the change handlers of
/// `cboCCPage`, `cboECPage`, redisplays the source-bit page and runs the
/// change handler of `cboMTPage`. False when the file could not be written.
bool RunLanguageAction(MessageCatalogue& catalogue, std::string_view language,
                       ComponentList& mainWindow, int capcodeCount);

/// A window's own caption: its key and the designed caption that is the default.
struct WindowCaption {
    const char* key;
    const char* designed;
};
/// The windows that translate their own caption at show time.
inline constexpr WindowCaption kFunctionBitWindow{"fm_FunBit", "Capcode Function Bit Setting"};
inline constexpr WindowCaption kAboutWindow{"fm_About", "About"};
inline constexpr WindowCaption kProgrammingWindow{"Form1", "Pager Programmer"};
inline constexpr WindowCaption kAlertWindow{"frmAlert", "Personal and Mail Drop Status Control"};
inline constexpr WindowCaption kPasswordDialog{"PasswordDlg1", "Advance Password"};
inline constexpr WindowCaption kTextEditorWindow{"frmLang", "UI Text Edit"};

/// A window's own caption in the current language, read at show time.
std::string WindowCaptionText(const MessageCatalogue& catalogue, const WindowCaption& window);

/// The export file's name, written in the program folder.
inline constexpr const char* kCaptionExportName = "ZRV37K_Caption.ini";

/// The export lines of one window (Windows-1252 bytes, CR LF line ends):
/// "Name TAB caption" for labels, group boxes, check boxes, static texts and
/// forms without the NULL marker, menu items without it, every button and
/// bit button; "Name" + "Item" + n TAB item text for each item of a combo box
/// without the NULL marker. Radio buttons and other classes are not exported.
std::string CaptionExportLines(const ComponentList& window);

/// Writes the export file \p path from \p windows in the given order (main
/// window, function-bit window, alert window, UI text editor, About window,
/// Advance Password dialog, programming window), replacing it atomically.
/// False when the file could not be written, so the window can say so
/// instead of reporting success.
bool ExportCaptions(const std::filesystem::path& path,
                    const std::vector<const ComponentList*>& windows);

}  // namespace zrv::i18n
