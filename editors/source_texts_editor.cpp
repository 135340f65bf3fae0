// The source texts of the "Source Prompts" page: for each function bit of
// four capcodes (one source page) an enable box and two 21-character lines,
// offered only when source texts are on ("Source Text" = "Enable") and the
// line pair's box is checked. Each line is stored padded when it is left.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "ui/kit/caption_fit.h"
#include "core/cp1252.h"
#include "core/prompts.h"
#include "editors/edit_events.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"
#include "i18n/safe_format.h"

namespace zrv {
namespace {

/// Built-in formats of the enable boxes' captions, by function bit; the
/// language file's chkSource0, 2, .. 30 replace them.
constexpr const char* kSourceCaptionFormats[] = {"Cap #%d: Source A", "Cap #%d: Source B",
                                                 "Cap #%d: Source C", "Cap #%d: Source D"};

class SourceTextsEditor : public EditorModule {
public:
    std::string name() const override { return "source texts"; }
    std::vector<RefreshSlot> refreshSlots() const override { return {RefreshSlot::SourceTexts}; }

    void connectHandlers(MainForm& form) override {
        QComboBox& source = form.require(ctl::cboSource);
        QObject::connect(&source, &QComboBox::activated, &source, [&form](int item) {
            if (item < 0) return;
            StoreSourceTextsItem(form.image(), item);
            showControls(form);
        });
        QComboBox& page = form.require(ctl::cboSrcPage);
        QObject::connect(&page, &QComboBox::activated, &page, [&form](int item) {
            if (item < 0 || item >= kMaxSourcePages) return;
            form.state().sourcePage = item;
            showTexts(form);
            showControls(form);
        });
        for (int k = 0; k < kSourcesPerPage; ++k) {
            QCheckBox& enable = form.require(ctl::family::chkSource, 2 * k);
            QObject::connect(&enable, &QCheckBox::toggled, &enable, [&form, k](bool on) {
                StoreSourceEnabled(form.image(), form.state().sourcePage, k, on);
                enableLines(form, k, on);
            });
            for (int line = 0; line < 2; ++line) {
                QLineEdit& box = form.require(ctl::family::txtSource, 2 * k + line);
                OnEnter(&box, [&box] {
                    QString text = box.text();
                    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
                    box.setText(text);
                });
                OnExit(&box, [&form, &box, k, line] {
                    const SourceLineResult stored = StoreTypedSourceLine(form.image(), form.state().sourcePage, k,
                                                                         line, box.text().toStdString());
                    if (!stored.outcome.Report(form.notifier())) {
                        GiveFocusBack(&box);
                        return;
                    }
                    box.setText(QString::fromStdString(stored.shown));
                });
            }
        }
    }

    void refresh(MainForm& form, RefreshSlot) override {
        showTexts(form);
        showControls(form);
    }

    void applyModifyModeRules(MainForm& form) override { applyEnabling(form); }

private:
    static int page(MainForm& form) { return form.state().sourcePage; }

    /// "Source Text" and the enable boxes of the page from the image, then
    /// their enabling.
    static void showControls(MainForm& form) {
        form.require(ctl::cboSource).setCurrentIndex(SourceTextsItem(form.image()));
        for (int k = 0; k < kSourcesPerPage; ++k)
            form.require(ctl::family::chkSource, 2 * k).setChecked(SourceEnabled(form.image(), page(form), k));
        applyEnabling(form);
    }

    /// The page selector and the enable boxes only with "Enable"; a box's
    /// lines only while it is checked and sources are on.
    static void applyEnabling(MainForm& form) {
        const bool sources = form.require(ctl::cboSource).currentIndex() == 1;
        form.require(ctl::cboSrcPage).setEnabled(sources);
        for (int k = 0; k < kSourcesPerPage; ++k) {
            QCheckBox& enable = form.require(ctl::family::chkSource, 2 * k);
            enable.setEnabled(sources);
            enableLines(form, k, sources && enable.isChecked());
        }
    }

    static void enableLines(MainForm& form, int k, bool on) {
        form.require(ctl::family::txtSource, 2 * k).setEnabled(on);
        form.require(ctl::family::txtSource, 2 * k + 1).setEnabled(on);
    }

    /// The enable boxes numbered for the page, then the stored lines.
    static void showTexts(MainForm& form) {
        for (int k = 0; k < kSourcesPerPage; ++k) {
            const std::string key = "chkSource" + std::to_string(2 * k);
            const std::string format = form.catalogueText(key.c_str(), kSourceCaptionFormats[k % 4]);
            QCheckBox& enable = form.require(ctl::family::chkSource, 2 * k);
            enable.setText(QString::fromStdString(i18n::SafeFormat(format, {SourceCapcode(page(form), k)})));
            for (int line = 0; line < 2; ++line)
                form.require(ctl::family::txtSource, 2 * k + line)
                    .setText(QString::fromStdString(Cp1252ToUtf8(SourceLine(form.image(), page(form), k, line))));
        }
    }
};

const EditorModuleRegistration registration{"source texts", [] { return std::make_unique<SourceTextsEditor>(); }};

}  // namespace
}  // namespace zrv
