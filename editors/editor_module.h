#pragma once
/// \file
/// The plug-in point of the editor modules. Each editor group (frequency,
/// capcodes, prompts, source texts, melodies, options, menu items, alert
/// lengths, keys and serial fields) is one module. A module is thin:
///
/// - it finds its controls with MainForm::require (typed names from
///   editors/control_names.h), which throws when a control is missing, never
///   with a lookup that silently returns nothing;
/// - its handlers read their control, call one rule from core/ (a plain
///   function over the image and plain values returning an Outcome), and show
///   the outcome: a message, the stored value again, the focus back;
/// - it owns the refresher of its controls (the full refresh calls it at each
///   of its refreshSlots()) and the enabling rules of its controls (Modify
///   mode and the generic write-back call them).
///
/// A module registers itself in its own .cpp file:
/// \code
///   static zrv::EditorModuleRegistration reg{"options", [] {
///       return std::make_unique<OptionsEditor>(); }};
/// \endcode
/// zrv_editors is linked as a whole archive, so such a file needs no other
/// reference to be part of the program.
///
/// Which signals fire during a full refresh (and so reach a handler while
/// MainForm::state().refreshPhase is not RefreshPhase::None):
/// - QCheckBox::toggled fires whenever the refresh changes a box: check box
///   click handlers connect to it, and setting a box from the image runs its
///   handler exactly as a user click does (the generic write-back stores the
///   same value back, the box's own side effects run). A handler that must
///   not act while the refresh sets the boxes asks for the phase (the pager
///   menu boxes: state().settingMenuBoxes()).
/// - QComboBox::activated does not fire when the refresh selects an item:
///   combo change handlers connect to it, so setting a combo from the image
///   runs no handler. Where a step must run a change handler (a page
///   selector rebuild, a language action), the window emits activated itself.
/// - QLineEdit::setText from a refresher runs no exit handler: enter and exit
///   handlers connect through OnEnter / OnExit (editors/edit_events.h), which
///   follow the keyboard focus between controls only.
/// - QSlider::valueChanged is blocked while the refresh sets the contrast.
/// A handler can tell a user change from a refresh by
/// `form.state().refreshing()`, and which step runs by the phase itself.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace zrv {

class MainForm;

/// The places inside the full refresh where modules refresh their controls.
/// The refresh runs them in the order of its steps; the step-13 slots
/// (BandFrequency .. BatteryLowTone) run in the order listed here.
enum class RefreshSlot {
    CapcodePage,        ///< step 2: capcodes of the current capcode page
    BoundEnabling,      ///< step 4: enabling that follows the option boxes (also after a write-back)
    Lockout,            ///< step 5: sequential lockout selector
    OutOfRangeTimer,    ///< step 6: out-of-range timer selector
    LanguageSelectors,  ///< step 7: prompt language and logo font selectors
    Contrast,           ///< step 8: contrast slider and its value label
    MenuBoxes,          ///< step 9: the eight pager menu boxes
    MenuDependents,     ///< step 10: music-type, alert-tone and out-of-range enabling
    DirectShowLamp,     ///< step 12: "Direct Show Lamp On" visibility
    BandFrequency,      ///< step 13: band base frequency and channel frequency
    MenuPrompts,        ///< step 13: menu prompts
    CapcodeBits,        ///< step 13: enable and manual bits, summary rows of the page
    AlertLengths,       ///< step 13: alert length labels
    RwPassword,         ///< step 13: the R/W password
    BatteryThresholds,  ///< step 13: battery level thresholds
    SourceTexts,        ///< step 13: source-text controls and texts
    MusicTypes,         ///< step 13: music types, melodies, alert tone/types, cboRDC, reminder
    SerialFields,       ///< step 13: SSN and PSN
    AlertWindow,        ///< step 13: the alert window's controls
    OtaAlertType,       ///< step 13: the OTA window's alert-type selector
    PagerSerial,        ///< step 13: the pager serial number
    BatteryLowTone,     ///< step 13: battery-low tone length and reminder tone type
    Reminder,           ///< step 14: reminder enabling
    TransferOptions,    ///< step 16: the four manual-write boxes
    CapcodeMusicType,   ///< step 17: "Capcode Music Type Enable"
};

class EditorModule {
public:
    virtual ~EditorModule() = default;
    /// Short name for diagnostics ("options", "capcodes").
    virtual std::string name() const = 0;
    /// Connects the module's handlers to the window's controls; called once,
    /// after the control registry is built and before the first refresh.
    virtual void connectHandlers(MainForm& form) { (void)form; }
    /// The slots at which refresh() runs (none by default).
    virtual std::vector<RefreshSlot> refreshSlots() const { return {}; }
    /// Sets the module's controls of \p slot from the image.
    virtual void refresh(MainForm& form, RefreshSlot slot) {
        (void)form;
        (void)slot;
    }
    /// The enabling rules of the module's controls that Modify mode applies
    /// again after it has enabled every control.
    virtual void applyModifyModeRules(MainForm& form) { (void)form; }
    /// A hint-bound check box or combo changed and its value is already in
    /// the image (generic write-back done, controls bound to the same field
    /// updated, step-4 enabling re-applied): the control's own side effects
    /// run here.
    virtual void boundControlChanged(MainForm& form, QWidget* control) {
        (void)form;
        (void)control;
    }
};

using EditorModuleFactory = std::function<std::unique_ptr<EditorModule>()>;

/// Registers a module factory at static-initialisation time.
struct EditorModuleRegistration {
    EditorModuleRegistration(std::string name, EditorModuleFactory factory);
};

/// One fresh instance of every registered module, in registration-name order.
std::vector<std::unique_ptr<EditorModule>> CreateEditorModules();

/// Runs the refreshers of \p modules that sit at \p slot, in list order.
void RunRefreshSlot(const std::vector<EditorModule*>& modules, RefreshSlot slot, MainForm& form);

}  // namespace zrv
