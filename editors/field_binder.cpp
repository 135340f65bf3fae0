#include "editors/field_binder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>

#include "editors/control_registry.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {

FieldBinder::FieldBinder(MainForm& form, QWidget* root, const std::vector<EditorModule*>& modules)
    : form_(form), modules_(modules) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const auto hint = ParseBindingHint(HintOf(w).toStdString());
        if (!hint || !hint->isGeneric()) continue;
        auto* box = qobject_cast<QCheckBox*>(w);
        auto* combo = qobject_cast<QComboBox*>(w);
        if (!box && !combo) continue;
        const FieldDef* field = FieldOfControl(w->objectName().toStdString());
        if (field && !field->binding) field = nullptr;  // a field with an editor of its own
        boundControls_.push_back({w, field ? *field->binding : *hint, field});
        if (box) {
            QObject::connect(box, &QCheckBox::toggled, box, [this, box] { chkCtl0Click(box); });
        } else {
            QObject::connect(combo, &QComboBox::activated, combo, [this, combo] { cboCtl1Change(combo); });
        }
    }
}

void FieldBinder::refreshHintBoundControls() {
    for (const BoundControl& bound : boundControls_) showBoundValue(bound);
}

const FieldBinder::BoundControl* FieldBinder::boundOf(const QWidget* control) const {
    for (const BoundControl& bound : boundControls_)
        if (bound.control == control) return &bound;
    return nullptr;
}

void FieldBinder::showBoundValue(const BoundControl& bound) {
    const BindingHint& hint = bound.hint;
    if (auto* box = qobject_cast<QCheckBox*>(bound.control)) {
        if (hint.kind == BindingKind::Chk || hint.kind == BindingKind::ChkN)
            setBoundCheck(box, BoundCheckState(form_.image(), hint));
    } else if (auto* combo = qobject_cast<QComboBox*>(bound.control)) {
        if (hint.kind == BindingKind::Cbo || hint.kind == BindingKind::CboBaud) {
            const int index = BoundComboIndex(form_.image(), hint);
            combo->setCurrentIndex(index < combo->count() ? index : -1);
        }
    }
}

void FieldBinder::chkCtl0Click(QCheckBox* box) {
    const BoundControl* bound = boundOf(box);
    if (!bound) return;
    // A box the refresh sets echoes the image's value back by its binding;
    // the field's rule, with its side effects, is for the user's click.
    if (form_.state().refreshing() || !bound->field) {
        StoreBoundCheckState(form_.image(), bound->hint, box->isChecked());
    } else if (!storeThroughField(*bound, box->isChecked() ? "on" : "off")) {
        return;
    }
    showFieldInOtherControls(*bound);
    form_.applyDependentEnablingFirstPart();
    tellModules(box);
}

void FieldBinder::cboCtl1Change(QComboBox* combo) {
    const BoundControl* bound = boundOf(combo);
    if (!bound || combo->currentIndex() < 0) return;
    if (!bound->field) {
        StoreBoundComboIndex(form_.image(), bound->hint, combo->currentIndex());
    } else if (!storeThroughField(*bound, std::to_string(combo->currentIndex()))) {
        return;
    }
    showFieldInOtherControls(*bound);
    tellModules(combo);
}

bool StoreFieldFromWindow(MainForm& form, const FieldDef& field, const std::string& value) {
    FieldContext context = ContextAfterOpen(form.image());
    const SetFieldResult result = SetFieldValue(form.image(), context, field, value);
    if (result.message) form.notifier().show(*result.message);
    return result.status == SetFieldResult::Status::Stored;
}

bool FieldBinder::storeThroughField(const BoundControl& bound, const std::string& value) {
    if (StoreFieldFromWindow(form_, *bound.field, value)) return true;
    const QSignalBlocker block(bound.control);
    showBoundValue(bound);
    return false;
}

void FieldBinder::showFieldInOtherControls(const BoundControl& changed) {
    for (const BoundControl& bound : boundControls_)
        if (bound.control != changed.control && BindingFieldsOverlap(bound.hint, changed.hint)) showBoundValue(bound);
}

void FieldBinder::tellModules(QWidget* control) {
    for (EditorModule* m : modules_) m->boundControlChanged(form_, control);
}

void FieldBinder::setBoundCheck(QCheckBox* box, bool checked) {
    if (box->objectName() == QLatin1String("chkCtl22")) {
        // The hidden battery-type box follows the image without its side
        // effect: a loaded or read image keeps its own battery thresholds.
        const QSignalBlocker block(box);
        box->setChecked(checked);
        return;
    }
    box->setChecked(checked);  // a change runs the box's click handler
}

}  // namespace zrv
