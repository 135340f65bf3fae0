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
///   runs no handler. Where a slot must run a change handler (a page
///   selector rebuild, a language action), the window emits activated itself.
/// - QLineEdit::setText from a refresher runs no exit handler: enter and exit
///   handlers connect through OnEnter / OnExit (editors/edit_events.h), which
///   follow the keyboard focus between controls only.
/// - QSlider::valueChanged is blocked while the refresh sets the contrast.
/// A handler can tell a user change from a refresh by
/// `form.state().refreshing()`, and which part runs by the phase itself.

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editors/form_state.h"

class QWidget;

namespace zrv {

class MainForm;

/// The places of the full refresh of the main window, in the order it runs
/// them (kFullRefresh pairs each with its phase). The window itself does the
/// work of SourcePageSelector, HintBoundControls, TextFieldSizes and
/// ForcedValues; the modules refresh their own controls at the others.
enum class RefreshSlot {
    SourcePageSelector,  ///< the window: the source page selector
    CapcodePage,         ///< capcodes of the current capcode page
    HintBoundControls,   ///< the window: every hint-bound check box and combo
    BoundEnabling,       ///< enabling that follows the option boxes (also after a write-back)
    Lockout,             ///< sequential lockout selector
    OutOfRangeTimer,     ///< out-of-range timer selector
    LanguageSelectors,   ///< prompt language and logo font selectors
    Contrast,            ///< contrast slider and its value label
    MenuBoxes,           ///< the eight pager menu boxes
    MenuDependents,      ///< music-type, alert-tone and out-of-range enabling
    TextFieldSizes,      ///< the window: widths and lengths of the text fields
    DirectShowLamp,      ///< "Direct Show Lamp On" visibility
    BandFrequency,       ///< band base frequency and channel frequency
    MenuPrompts,         ///< menu prompts
    CapcodeBits,         ///< enable and manual bits, summary rows of the page
    AlertLengths,        ///< alert length labels
    RwPassword,          ///< the R/W password
    BatteryThresholds,   ///< battery level thresholds
    SourceTexts,         ///< source-text controls and texts
    MusicTypes,          ///< music types, melodies, alert tone/types, cboRDC, reminder
    SerialFields,        ///< SSN and PSN
    AlertWindow,         ///< the alert window's controls
    PagerSerial,         ///< the pager serial number
    BatteryLowTone,      ///< battery-low tone length and reminder tone type
    Reminder,            ///< reminder enabling
    ForcedValues,        ///< the window: the two values every refresh forces
    TransferOptions,     ///< the four manual-write boxes
    CapcodeMusicType,    ///< "Capcode Music Type Enable"
};

/// One place of the full refresh and the phase its handlers see.
struct RefreshStep {
    RefreshSlot slot;
    RefreshPhase phase;
};

/// The full refresh of the main window, in the order it runs: every slot
/// once, in the order of RefreshSlot.
inline constexpr RefreshStep kFullRefresh[] = {
    {RefreshSlot::SourcePageSelector, RefreshPhase::SourcePage},
    {RefreshSlot::CapcodePage, RefreshPhase::CapcodePage},
    {RefreshSlot::HintBoundControls, RefreshPhase::HintBound},
    {RefreshSlot::BoundEnabling, RefreshPhase::BoundEnabling},
    {RefreshSlot::Lockout, RefreshPhase::Selectors},
    {RefreshSlot::OutOfRangeTimer, RefreshPhase::Selectors},
    {RefreshSlot::LanguageSelectors, RefreshPhase::Selectors},
    {RefreshSlot::Contrast, RefreshPhase::Contrast},
    {RefreshSlot::MenuBoxes, RefreshPhase::MenuBoxes},
    {RefreshSlot::MenuDependents, RefreshPhase::MenuBoxes},
    {RefreshSlot::TextFieldSizes, RefreshPhase::TextSizing},
    {RefreshSlot::DirectShowLamp, RefreshPhase::DirectShowLamp},
    {RefreshSlot::BandFrequency, RefreshPhase::Editors},
    {RefreshSlot::MenuPrompts, RefreshPhase::Editors},
    {RefreshSlot::CapcodeBits, RefreshPhase::Editors},
    {RefreshSlot::AlertLengths, RefreshPhase::Editors},
    {RefreshSlot::RwPassword, RefreshPhase::Editors},
    {RefreshSlot::BatteryThresholds, RefreshPhase::Editors},
    {RefreshSlot::SourceTexts, RefreshPhase::Editors},
    {RefreshSlot::MusicTypes, RefreshPhase::Editors},
    {RefreshSlot::SerialFields, RefreshPhase::Editors},
    {RefreshSlot::AlertWindow, RefreshPhase::Editors},
    {RefreshSlot::PagerSerial, RefreshPhase::Editors},
    {RefreshSlot::BatteryLowTone, RefreshPhase::Editors},
    {RefreshSlot::Reminder, RefreshPhase::Reminder},
    {RefreshSlot::ForcedValues, RefreshPhase::Forced},
    {RefreshSlot::TransferOptions, RefreshPhase::TransferOptions},
    {RefreshSlot::CapcodeMusicType, RefreshPhase::CapcodeMusicType},
};

namespace detail {
constexpr bool ListsEverySlotInOrder() {
    int next = 0;
    for (const RefreshStep& step : kFullRefresh)
        if (static_cast<int>(step.slot) != next++) return false;
    return next == static_cast<int>(RefreshSlot::CapcodeMusicType) + 1;
}
}  // namespace detail
static_assert(detail::ListsEverySlotInOrder(),
              "kFullRefresh names every slot once, in the order of RefreshSlot");

/// Modules that refresh at one slot, by name, in the order they run there.
/// Every slot that more than one of the program's modules declares is
/// listed here (UndeclaredSharedSlot finds one that is not): "music"
/// sets the enabling of its own boxes before "options" applies the RD key
/// rule over the same option boxes.
struct SharedSlotOrder {
    RefreshSlot slot;
    std::initializer_list<std::string_view> modules;
};
inline const SharedSlotOrder kSharedSlotOrders[] = {
    {RefreshSlot::BoundEnabling, {"music", "options"}},
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
    /// updated, the BoundEnabling slot run again): the control's own side effects
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

/// The modules of \p modules that refresh at \p slot, in the order they run
/// there: those kSharedSlotOrders names first, in its order, then the others
/// in list order.
std::vector<EditorModule*> ModulesAt(const std::vector<EditorModule*>& modules, RefreshSlot slot);

/// A slot that two or more of \p modules declare while kSharedSlotOrders
/// does not name each of them; none when every shared slot is declared (as
/// it must be for the program's own modules).
std::optional<RefreshSlot> UndeclaredSharedSlot(const std::vector<EditorModule*>& modules);

/// Runs the refreshers of \p modules that sit at \p slot, in ModulesAt order.
void RunRefreshSlot(const std::vector<EditorModule*>& modules, RefreshSlot slot, MainForm& form);

}  // namespace zrv
