// The full refresh of the main window: every control is rebuilt from the
// image after start-up, a load, a read or a write. This file keeps the order
// of the steps; each editor module refreshes the controls it owns at its
// slots, and the window itself does the generic binding and the text-field
// sizing. Each step runs under its own refresh phase.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/main_window.h"
#include "core/binding_hint.h"
#include "core/image_rules.h"
#include "core/text_field_sizes.h"
#include "ui_main_window.h"

namespace zrv::app {

namespace {

/// The step-13 refreshers, in their required order.
constexpr RefreshSlot kEditorRefreshOrder[] = {
    RefreshSlot::BandFrequency, RefreshSlot::MenuPrompts,  RefreshSlot::CapcodeBits,
    RefreshSlot::AlertLengths,  RefreshSlot::RwPassword,   RefreshSlot::BatteryThresholds,
    RefreshSlot::SourceTexts,   RefreshSlot::MusicTypes,   RefreshSlot::SerialFields,
    RefreshSlot::AlertWindow,   RefreshSlot::OtaAlertType, RefreshSlot::PagerSerial,
    RefreshSlot::BatteryLowTone,
};

constexpr int kPromptEdits = kPromptFieldCount;
constexpr int kSourceEdits = kSourceFieldCount;

}  // namespace

void MainWindow::refreshAll() {
    const auto step = [this](RefreshPhase phase, auto&& run) {
        const RefreshPhaseScope scope(state_, phase);
        run();
    };
    const auto runSlots = [this](std::initializer_list<RefreshSlot> list) {
        for (const RefreshSlot slot : list) RunRefreshSlot(moduleOrder_, slot, *this);
    };
    step(RefreshPhase::SourcePage, [&] {
        QComboBox& src = require(ctl::cboSrcPage);
        if (state_.sourcePage < src.count()) src.setCurrentIndex(state_.sourcePage);
    });
    step(RefreshPhase::CapcodePage, [&] { runSlots({RefreshSlot::CapcodePage}); });
    step(RefreshPhase::HintBound, [&] { refreshHintBoundControls(); });
    step(RefreshPhase::BoundEnabling, [&] { runSlots({RefreshSlot::BoundEnabling}); });
    step(RefreshPhase::Selectors, [&] {
        runSlots({RefreshSlot::Lockout, RefreshSlot::OutOfRangeTimer, RefreshSlot::LanguageSelectors});
    });
    step(RefreshPhase::Contrast, [&] { runSlots({RefreshSlot::Contrast}); });
    step(RefreshPhase::MenuBoxes, [&] { runSlots({RefreshSlot::MenuBoxes, RefreshSlot::MenuDependents}); });
    step(RefreshPhase::TextSizing, [&] { sizeTextFields(); });
    step(RefreshPhase::DirectShowLamp, [&] { runSlots({RefreshSlot::DirectShowLamp}); });
    step(RefreshPhase::Editors, [&] {
        for (const RefreshSlot slot : kEditorRefreshOrder) RunRefreshSlot(moduleOrder_, slot, *this);
    });
    step(RefreshPhase::Reminder, [&] { runSlots({RefreshSlot::Reminder}); });
    step(RefreshPhase::Forced, [&] { ApplyRefreshForcedValues(image_); });
    step(RefreshPhase::TransferOptions, [&] { runSlots({RefreshSlot::TransferOptions}); });
    step(RefreshPhase::CapcodeMusicType, [&] { runSlots({RefreshSlot::CapcodeMusicType}); });
    emit refreshed();
}

void MainWindow::refreshHintBoundControls() {
    for (const BoundControl& bound : boundControls_) showBoundValue(bound);
}

void MainWindow::showBoundValue(const BoundControl& bound) {
    const BindingHint& hint = bound.hint;
    if (auto* box = qobject_cast<QCheckBox*>(bound.control)) {
        if (hint.kind == BindingKind::Chk || hint.kind == BindingKind::ChkN)
            setBoundCheck(box, BoundCheckState(image_, hint));
    } else if (auto* combo = qobject_cast<QComboBox*>(bound.control)) {
        if (hint.kind == BindingKind::Cbo || hint.kind == BindingKind::CboBaud) {
            const int index = BoundComboIndex(image_, hint);
            combo->setCurrentIndex(index < combo->count() ? index : -1);
        }
    }
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
