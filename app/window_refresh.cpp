#include "app/window_refresh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "core/default_image.h"
#include "core/frequency.h"
#include "core/image_rules.h"
#include "core/text_field_sizes.h"
#include "editors/field_binder.h"
#include "editors/main_form.h"

namespace zrv::app {

void RunFullRefresh(MainForm& form, const std::vector<EditorModule*>& modules, FieldBinder& binder, QLabel& ruler) {
    FormState& state = form.state();
    for (const RefreshStep& step : kFullRefresh) {
        const RefreshPhaseScope scope(state, step.phase);
        // The window's own parts of the refresh; the modules follow at every slot.
        switch (step.slot) {
            case RefreshSlot::SourcePageSelector: {
                QComboBox& src = form.require(ctl::cboSrcPage);
                if (state.sourcePage < src.count()) src.setCurrentIndex(state.sourcePage);
                break;
            }
            case RefreshSlot::HintBoundControls: binder.refreshHintBoundControls(); break;
            case RefreshSlot::TextFieldSizes: SizeTextFields(form, ruler); break;
            case RefreshSlot::ForcedValues: ApplyRefreshForcedValues(form.image()); break;
            default: break;
        }
        RunRefreshSlot(modules, step.slot, form);
    }
}

void SizeTextFields(MainForm& form, QLabel& ruler) {
    QFont rulerFont = ruler.font();
    rulerFont.setPointSizeF(form.require(ctl::family::edtPrompt, 0).font().pointSizeF());
    // The ruler measures in the font style of the field it sizes.
    const auto size = [&](QLineEdit& edit, const TextFieldSize& rule) {
        QFont f = rulerFont;
        f.setBold(rule.bold);
        ruler.setFont(f);
        ruler.setText(QString(rule.rulerLetters, QLatin1Char('A')));
        ruler.adjustSize();
        QFont ef = edit.font();
        ef.setBold(rule.bold);
        edit.setFont(ef);
        edit.resize(ruler.width(), edit.height());
        edit.setMaxLength(rule.maxLength);
    };
    const bool largeLogo = form.require(ctl::chkLogoLargeFont).isChecked();
    for (int i = 0; i < kPromptFieldCount; ++i)
        size(form.require(ctl::family::edtPrompt, i), PromptFieldSize(i, largeLogo));
    for (int i = 0; i < kSourceFieldCount; ++i) size(form.require(ctl::family::txtSource, i), SourceFieldSize(i));
}

void SelectBandFromImage(MainForm& form) {
    QComboBox& freq = form.require(ctl::cboFreq);
    if (const auto band = BandFromImage(form.image()); band && *band < freq.count())
        freq.setCurrentIndex(*band);  // no change handler here
}

void ShowLoadedTable(MainForm& form) {
    for (const char* name : {"lblPrompt42", "edtPrompt42"})
        if (QWidget* w = form.control(QString::fromLatin1(name))) w->setVisible(true);
    SelectBandFromImage(form);
    form.rebuildCapcodePageSelectors();
    form.refreshAll();
}

void ShowDesignedDefaults(MainForm& form) {
    if (QComboBox& freq = form.require(ctl::cboFreq); freq.count() > 0) freq.setCurrentIndex(0);
    for (const char* name : {"cboLng", "cboLogo"}) {
        if (auto* combo = form.find<QComboBox>(name); combo && combo->count() > kLanguageGerman) {
            combo->setCurrentIndex(kLanguageGerman);
            emit combo->activated(kLanguageGerman);  // its change handler
        }
    }
}

}  // namespace zrv::app
