#pragma once
/// \file
/// The process-wide state the main window owns and every editor reads:
/// capcode count, page indexes, the current table file, the program folder,
/// the current language and the flags the refresh and the handlers share.

#include <string>

namespace zrv {

/// The part of the full refresh of the main window that is running (each
/// slot of kFullRefresh names its phase). Handlers that run while the refresh
/// sets their controls from the image ask for the phase: a change the
/// refresh makes is not a change the user made.
enum class RefreshPhase {
    None,              ///< no refresh running: every change comes from the user
    SourcePage,        ///< the source page selector
    CapcodePage,       ///< capcodes of the current capcode page
    HintBound,         ///< every hint-bound check box and combo
    BoundEnabling,     ///< enabling that follows the option boxes
    Selectors,         ///< lockout, out-of-range timer, prompt language, logo font
    Contrast,          ///< contrast slider
    MenuBoxes,         ///< pager menu boxes and the rules that follow them
    TextSizing,        ///< widths and lengths of the text fields
    DirectShowLamp,    ///< "Direct Show Lamp On" visibility
    Editors,           ///< the editors' own refreshers
    Reminder,          ///< reminder enabling
    Forced,            ///< the two values every refresh forces
    TransferOptions,   ///< the four manual-write boxes
    CapcodeMusicType,  ///< "Capcode Music Type Enable"
};

struct FormState {
    int capcodePage = 0;          ///< eight capcodes per page (cboCCPage)
    int sourcePage = 0;           ///< four capcodes per page (cboSrcPage)
    int musicTypePage = 0;        ///< four capcodes per page (cboMTPage)
    int currentPrompt = -1;       ///< prompt being edited on the prompts page; -1 none
    /// The part of the full refresh being run; None outside a refresh.
    RefreshPhase refreshPhase = RefreshPhase::None;
    bool otaBuilderRunning = false;  ///< the OTA builder refreshes; its selector is then kept
    bool advanceMode = false;     ///< on once the advance password was given
    int contrast = 4;             ///< working contrast value, from byte 0x89
    int channelSpacingMode = 0;   ///< 0 = 5 kHz, 1 = 6.25 kHz, 2 = Auto
    std::string bandText;         ///< text of cboFreq, shown by the About window
    std::string versionText;      ///< "Version 1.09(2014.12.30)"
    std::string programFolder;    ///< folder of the executable, with a trailing '/'
    std::string workingFolder;    ///< current folder at start-up, with a trailing '/'
    std::string languageFile;     ///< workingFolder + "Language.ini"
    std::string language = "English";

    /// True while any part of the full refresh runs.
    bool refreshing() const { return refreshPhase != RefreshPhase::None; }
    /// True while the refresh sets the pager menu boxes one by one and applies
    /// the rules that follow them: the menu-box and band handlers do nothing
    /// then.
    bool settingMenuBoxes() const { return refreshPhase == RefreshPhase::MenuBoxes; }
};

/// Sets the refresh phase for one part of the refresh and restores the
/// previous phase when the part ends, also when it ends by an exception.
class RefreshPhaseScope {
public:
    RefreshPhaseScope(FormState& state, RefreshPhase phase) : state_(state), previous_(state.refreshPhase) {
        state_.refreshPhase = phase;
    }
    ~RefreshPhaseScope() { state_.refreshPhase = previous_; }
    RefreshPhaseScope(const RefreshPhaseScope&) = delete;
    RefreshPhaseScope& operator=(const RefreshPhaseScope&) = delete;

private:
    FormState& state_;
    RefreshPhase previous_;
};

}  // namespace zrv
