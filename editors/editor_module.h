#pragma once
/// \file
/// The plug-in point of the editor modules. Each editor group (frequency,
/// capcodes, prompts, melodies, options, alert lengths, keys) is one module:
/// it connects its handlers to the main window's controls once, and
/// contributes a refresher that the full refresh calls at the module's slot.
///
/// A module registers itself in its own .cpp file:
/// \code
///   static zrv::EditorModuleRegistration reg{"options", [] {
///       return std::make_unique<OptionsEditor>(); }};
/// \endcode
/// zrv_editors is linked as a whole archive, so such a file needs no other
/// reference to be part of the program.
///
/// Signal conventions of the window (they mirror when the handlers run):
/// - check box click handlers connect to QCheckBox::toggled, which also
///   fires when the refresh changes the box (the refresh relies on that);
/// - combo change handlers connect to QComboBox::activated: setting a
///   combo from the image runs no handler;
/// - edit exit handlers run when the edit loses the focus (an event filter
///   on QEvent::FocusOut), so moving the focus to Edit1 commits the edit.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace zrv {

class MainForm;

/// Where a module's refresher runs inside the full refresh. Slots are run in
/// this order; CapcodePage is step 2, the others are the editors' own
/// refreshers of step 13, in their required order.
enum class RefreshSlot {
    None,               ///< the module has no refresher
    CapcodePage,        ///< capcodes of the current capcode page
    BandFrequency,      ///< band base frequency and channel frequency
    MenuPrompts,        ///< menu prompts
    CapcodeBits,        ///< enable and manual bits, summary rows of the page
    AlertLengths,       ///< alert length labels
    RwPassword,         ///< the R/W password
    BatteryThresholds,  ///< battery level thresholds
    SourceTexts,        ///< source-text controls and texts
    MusicTypes,         ///< music types, melodies, alert tone/types, cboRDC, reminder
    SerialFields,       ///< SSN and PSN
    AlertWindow,        ///< the alert window's controls
    OtaAlertType,       ///< the OTA window's alert-type selector
    PagerSerial,        ///< the pager serial number
    BatteryLowTone,     ///< battery-low tone length and reminder tone type
};

class EditorModule {
public:
    virtual ~EditorModule() = default;
    /// Short name for diagnostics ("options", "capcodes").
    virtual std::string name() const = 0;
    /// Connects the module's handlers to the window's controls; called once,
    /// after the control registry is built and before the first refresh.
    virtual void connectHandlers(MainForm& form) { (void)form; }
    /// The slot at which refresh() runs.
    virtual RefreshSlot refreshSlot() const { return RefreshSlot::None; }
    /// Sets the module's controls from the image.
    virtual void refresh(MainForm& form) { (void)form; }
    /// A hint-bound check box or combo changed and its value is already in
    /// the image (generic write-back done, first-part enabling re-applied):
    /// the control's own side effects run here.
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

/// One fresh instance of every registered module, in registration-name order
/// (the refresh orders them by slot).
std::vector<std::unique_ptr<EditorModule>> CreateEditorModules();

/// Runs the refreshers of \p modules that sit at \p slot, in list order.
void RunRefreshSlot(const std::vector<EditorModule*>& modules, RefreshSlot slot, MainForm& form);

}  // namespace zrv
