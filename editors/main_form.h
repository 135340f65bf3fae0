#pragma once
/// \file
/// What the main window offers the editor modules: the image, the shared
/// state, the control registry, the named controls and the shared rules of
/// the window (refresh, dependent enabling, text-field sizing, committing the
/// field being edited). The window implements it; editors only see this.

#include <QAction>
#include <QString>
#include <QWidget>

#include "core/image.h"
#include "core/notifier.h"
#include "editors/control_registry.h"
#include "editors/form_state.h"

namespace zrv {

class MainForm {
public:
    virtual ~MainForm() = default;

    virtual ConfigImage& image() = 0;
    virtual FormState& state() = 0;
    virtual const ControlRegistry& registry() const = 0;
    virtual Notifier& notifier() = 0;
    /// The main window itself (parent of dialogs).
    virtual QWidget* window() = 0;

    /// The control named \p name on the main window or its pages, or nullptr.
    virtual QWidget* control(const QString& name) const = 0;
    template <class T>
    T* find(const QString& name) const {
        return qobject_cast<T*>(control(name));
    }
    /// The menu item (action) named \p name, e.g. "mnuWrite", or nullptr.
    virtual QAction* action(const QString& name) const = 0;

    /// Rebuilds every control from the image.
    virtual void refreshAll() = 0;
    /// Enabling rules that depend on option boxes (first part): alarm,
    /// priority and group music types, tone type, RD-key boxes.
    virtual void applyDependentEnablingFirstPart() = 0;
    /// All dependent enabling rules that Modify mode re-applies.
    virtual void applyModifyModeRules() = 0;
    /// Width and maximum length of the prompt and source-text edits.
    virtual void sizeTextFields() = 0;
    /// Rebuilds cboCCPage, cboSrcPage and cboMTPage for the capcode count.
    virtual void rebuildCapcodePageSelectors() = 0;
    /// Moves the focus to the focus sink, so the edit being typed in
    /// commits its value through its exit handler.
    virtual void commitEditing() = 0;
    /// True while Write mode locks the editors.
    virtual bool writeMode() const = 0;
    /// Shows a text in the status line.
    virtual void setStatus(const QString& text) = 0;
};

}  // namespace zrv
