// The full refresh of the main window: every control is rebuilt from the
// image after start-up, a load, a read or a write. The order is kFullRefresh
// (editors/editor_module.h); each editor module refreshes the controls it
// owns at its slots, the field binder shows the hint-bound controls, and
// the window itself does the source page selector, the text-field sizing
// and the forced values. Each slot runs under its refresh phase.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/main_window.h"
#include "editors/field_binder.h"
#include "core/image_rules.h"
#include "core/text_field_sizes.h"
#include "ui_main_window.h"

namespace zrv::app {

namespace {

constexpr int kPromptEdits = kPromptFieldCount;
constexpr int kSourceEdits = kSourceFieldCount;

}  // namespace

void MainWindow::refreshAll() {
    for (const RefreshStep& step : kFullRefresh) {
        const RefreshPhaseScope scope(state_, step.phase);
        // The window's own parts of the refresh; the modules follow at every slot.
        switch (step.slot) {
            case RefreshSlot::SourcePageSelector: {
                QComboBox& src = require(ctl::cboSrcPage);
                if (state_.sourcePage < src.count()) src.setCurrentIndex(state_.sourcePage);
                break;
            }
            case RefreshSlot::HintBoundControls: binder_->refreshHintBoundControls(); break;
            case RefreshSlot::TextFieldSizes: sizeTextFields(); break;
            case RefreshSlot::ForcedValues: ApplyRefreshForcedValues(image_); break;
            default: break;
        }
        RunRefreshSlot(moduleOrder_, step.slot, *this);
    }
    emit refreshed();
}

void MainWindow::refreshSlot(RefreshSlot slot) { RunRefreshSlot(moduleOrder_, slot, *this); }

void MainWindow::applyDependentEnablingFirstPart() { RunRefreshSlot(moduleOrder_, RefreshSlot::BoundEnabling, *this); }

void MainWindow::applyModifyModeRules() {
    for (EditorModule* m : moduleOrder_) m->applyModifyModeRules(*this);
}

// Text-field sizing ----------------------------------------------------------------------------------

void MainWindow::sizeTextFields() {
    QLabel* ruler = ui_->lblLen;
    QFont rulerFont = ruler->font();
    rulerFont.setPointSizeF(require(ctl::family::edtPrompt, 0).font().pointSizeF());
    // The ruler measures in the font style of the field it sizes.
    const auto size = [&](QLineEdit& edit, const TextFieldSize& rule) {
        QFont f = rulerFont;
        f.setBold(rule.bold);
        ruler->setFont(f);
        ruler->setText(QString(rule.rulerLetters, QLatin1Char('A')));
        ruler->adjustSize();
        QFont ef = edit.font();
        ef.setBold(rule.bold);
        edit.setFont(ef);
        edit.resize(ruler->width(), edit.height());
        edit.setMaxLength(rule.maxLength);
    };
    const bool largeLogo = require(ctl::chkLogoLargeFont).isChecked();
    for (int i = 0; i < kPromptEdits; ++i)
        size(require(ctl::family::edtPrompt, i), PromptFieldSize(i, largeLogo));
    for (int i = 0; i < kSourceEdits; ++i) size(require(ctl::family::txtSource, i), SourceFieldSize(i));
}

}  // namespace zrv::app
