// The pager's own texts: the power-up logo with its alignment buttons, "Logo
// Large Font", the logo font and prompt language selectors (group "Prompts"
// on "Alerts && Status"), and the menu prompts of "Prompts Edit" with their
// alignment buttons. A prompt is stored when its box is left; the alignment
// buttons act on the prompt entered last.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/option_fields.h"
#include "core/prompts.h"
#include "editors/edit_events.h"
#include "editors/editor_module.h"
#include "editors/field_binder.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class PromptsEditor : public EditorModule {
public:
    std::string name() const override { return "prompts"; }
    std::vector<RefreshSlot> refreshSlots() const override {
        return {RefreshSlot::LanguageSelectors, RefreshSlot::MenuPrompts};
    }

    void connectHandlers(MainForm& form) override {
        for (int tag = 0; tag < kPromptBoxCount; ++tag) {
            QLineEdit& box = form.require(ctl::family::edtPrompt, tag);
            OnEnter(&box, [&form, tag] { form.state().currentPrompt = tag; });
            OnExit(&box, [&form, tag] { edtPrompt0Exit(form, tag); });
        }
        const auto align = [&form](ctl::Name<QPushButton> name, Alignment alignment, bool logo) {
            QPushButton& button = form.require(name);
            QObject::connect(&button, &QPushButton::clicked, &button, [&form, alignment, logo] {
                if (logo) form.state().currentPrompt = kLogoPrompt;
                alignCurrentPrompt(form, alignment);
            });
        };
        align(ctl::btnLeft1, Alignment::Left, true);
        align(ctl::btnCenter1, Alignment::Centre, true);
        align(ctl::btnRight1, Alignment::Right, true);
        align(ctl::btnLeft0, Alignment::Left, false);
        align(ctl::btnCenter0, Alignment::Centre, false);
        align(ctl::btnRight0, Alignment::Right, false);
        QComboBox& language = form.require(ctl::cboLng);
        QObject::connect(&language, &QComboBox::activated, &language, [&form] { cboLngChange(form); });
        QComboBox& logoFont = form.require(ctl::cboLogo);
        QObject::connect(&logoFont, &QComboBox::activated, &logoFont, [&form](int item) {
            if (item >= 0) StoreLogoFont(form.image(), item);
        });
    }

    void refresh(MainForm& form, RefreshSlot slot) override {
        if (slot == RefreshSlot::MenuPrompts) {
            showPrompts(form);
            return;
        }
        show(form.require(ctl::cboLogo), fields::kLogoFontCode.Get(form.image()));
        show(form.require(ctl::cboLng), fields::kPromptLanguageCode.Get(form.image()));
    }

    /// "Logo Large Font" changed by the user (stored by its field, which
    /// centres the logo for the new font): the logo box takes its new length
    /// and shows the centred logo. A refresh only shows the box; it never
    /// re-stores the loaded logo.
    void boundControlChanged(MainForm& form, QWidget* control) override {
        if (control != &form.require(ctl::chkLogoLargeFont) || form.state().refreshing()) return;
        form.sizeTextFields();
        form.state().currentPrompt = kLogoPrompt;
        showPrompts(form);
    }

private:
    /// A code that names no language leaves the selector as it is.
    static void show(QComboBox& combo, unsigned code) {
        const int item = LanguageItemFromCode(static_cast<int>(code));
        if (item >= 0 && item < combo.count()) combo.setCurrentIndex(item);
    }

    /// Stores the box's text; a text too long keeps what was typed and the
    /// focus. A box left as it was shown stores nothing, so looking at a
    /// loaded prompt never rewrites its record.
    static void edtPrompt0Exit(MainForm& form, int tag) {
        form.state().currentPrompt = tag;
        QLineEdit& box = form.require(ctl::family::edtPrompt, tag);
        const std::string typed = box.text().toStdString();
        // Unchanged: nothing to store, and no refresh that would reset what
        // is being typed into another box.
        if (typed == Cp1252ToUtf8(ShownPromptText(form.image(), tag))) return;
        const Outcome outcome = StoreTypedPrompt(form.image(), tag, typed);
        if (!outcome.Report(form.notifier())) {
            GiveFocusBack(&box);
            return;
        }
        showPrompts(form);
    }

    static void alignCurrentPrompt(MainForm& form, Alignment alignment) {
        const int tag = form.state().currentPrompt;
        if (tag < 0 || tag >= kPromptBoxCount) return;
        QLineEdit& box = form.require(ctl::family::edtPrompt, tag);
        const bool largeLogo = form.require(ctl::chkLogoLargeFont).isChecked();
        // A text the pager cannot hold is left as typed for the store to refuse.
        if (const auto bytes = PagerTextBytes(box.text().toStdString())) {
            const std::string text = AlignText(*bytes, PromptMaxLength(tag, largeLogo), alignment);
            box.setText(QString::fromStdString(Cp1252ToUtf8(text)));
        }
        edtPrompt0Exit(form, tag);
    }

    /// A prompt language chosen by the user: its field stores the built-in
    /// set and centres the logo; then the fields are sized and the prompts
    /// shown.
    static void cboLngChange(MainForm& form) {
        const int item = form.require(ctl::cboLng).currentIndex();
        if (item < 0) return;
        StoreFieldFromWindow(form, *FieldOfControl(ctl::cboLng.text), std::to_string(item));
        form.sizeTextFields();
        form.state().currentPrompt = kLogoPrompt;
        showPrompts(form);
    }

    /// Every prompt box from its record. A record may show more characters
    /// than the box takes when typing (15 leading spaces and 18 letters): the
    /// box then takes them all rather than cutting the stored prompt.
    static void showPrompts(MainForm& form) {
        for (int tag = 0; tag < kPromptBoxCount; ++tag) {
            QLineEdit& box = form.require(ctl::family::edtPrompt, tag);
            const QString text = QString::fromStdString(Cp1252ToUtf8(ShownPromptText(form.image(), tag)));
            if (text.size() > box.maxLength()) box.setMaxLength(static_cast<int>(text.size()));
            box.setText(text);
        }
    }
};

const EditorModuleRegistration registration{"prompts", [] { return std::make_unique<PromptsEditor>(); }};

}  // namespace
}  // namespace zrv
