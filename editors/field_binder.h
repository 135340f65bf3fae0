#pragma once
/// \file
/// The binding of the main window's hint-bound check boxes and combos to
/// their fields of the field catalogue (core/field_table.h). The full
/// refresh shows each control by its field's binding; a user's click or
/// choice is stored by the field's own store rule, the one the command
/// line's `set` runs, so a field's side effects exist once. Controls that
/// share image bits show one another's change, and the editor modules then
/// apply what follows the control on the window (EditorModule::
/// boundControlChanged).

#include <vector>

#include "core/binding_hint.h"
#include "core/field_table.h"

class QCheckBox;
class QComboBox;
class QWidget;

namespace zrv {

class EditorModule;
class MainForm;

/// Stores \p value (as the command line's `set` takes it: an item's index,
/// "on"/"off", a text) for \p field through the field's rule, as a user's
/// change on the window does, and shows the message the rule gives. False
/// when the rule refused it; the image is then as it was.
bool StoreFieldFromWindow(MainForm& form, const FieldDef& field, const std::string& value);

class FieldBinder {
public:
    /// Binds every control under \p root whose designed Hint names a generic
    /// binding, in creation order, and connects its click or choice.
    /// \p modules is read at every change (it may be filled later).
    FieldBinder(MainForm& form, QWidget* root, const std::vector<EditorModule*>& modules);

    /// The full refresh's step: every bound control shows its field.
    void refreshHintBoundControls();
    /// The shared check box handler of the bound boxes.
    void chkCtl0Click(QCheckBox* box);
    /// The shared combo handler of the bound combos.
    void cboCtl1Change(QComboBox* combo);

    /// A bound control with its binding and its catalogue field (null for a
    /// hidden control no field names, which follows its designed Hint).
    struct BoundControl {
        QWidget* control;
        BindingHint hint;
        const FieldDef* field;
    };
    const std::vector<BoundControl>& boundControls() const { return boundControls_; }

private:
    const BoundControl* boundOf(const QWidget* control) const;
    /// Sets one bound control from the image field its binding names.
    void showBoundValue(const BoundControl& bound);
    /// After a store through \p changed: every other control bound to the
    /// same bits shows the new value.
    void showFieldInOtherControls(const BoundControl& changed);
    void setBoundCheck(QCheckBox* box, bool checked);
    /// Stores a user's \p value ("on"/"off" or an item index) through the
    /// field's rule and shows its message; false when the rule refused it
    /// (the image is as it was and the control shows it again).
    bool storeThroughField(const BoundControl& bound, const std::string& value);
    void tellModules(QWidget* control);

    MainForm& form_;
    const std::vector<EditorModule*>& modules_;
    std::vector<BoundControl> boundControls_;  ///< in creation order
};

}  // namespace zrv
