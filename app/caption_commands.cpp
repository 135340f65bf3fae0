// The language actions, caption application and caption export of the main
// window, and the capcode page selectors whose entries come from the
// language file.
#include <QComboBox>
#include <QDialog>
#include <QSignalBlocker>
#include <algorithm>
#include <string_view>

#include "app/companion_windows.h"
#include "app/main_window.h"
#include "app/window_components.h"
#include "core/table_file.h"
#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "ui_main_window.h"

namespace zrv::app {

void MainWindow::mnuEnglishClick() { runLanguageAction(i18n::kEnglish); }
void MainWindow::mnuGermanClick() { runLanguageAction(i18n::kGerman); }

void MainWindow::runLanguageAction(const std::string& language) {
    auto components = DescribeComponents(this);
    i18n::RunLanguageAction(*catalogue_, language, components, document_.capcodeCount());
    ApplyComponents(this, components);
    followLanguage();
}

void MainWindow::followLanguage() {
    state_.language = catalogue_->currentLanguage();
    ui_->mnuEnglish->setChecked(catalogue_->englishChecked());
    ui_->mnuGerman->setChecked(catalogue_->germanChecked());
    // Texts built from page numbers are rebuilt in the new language.
    for (const char* name : {"cboCCPage", "cboECPage", "cboSrcPage", "cboMTPage"})
        if (auto* combo = find<QComboBox>(name)) emit combo->activated(combo->currentIndex());
}

void MainWindow::applyCaptionsToWindow(const std::string& section) {
    auto components = DescribeComponents(this);
    i18n::ApplyCaptions(*catalogue_, components, section, document_.capcodeCount());
    ApplyComponents(this, components);
}

void MainWindow::applyCaptions() {
    applyCaptionsToWindow(catalogue_->currentLanguage());
    followLanguage();
}

std::string MainWindow::catalogueText(const char* key, const std::string& fallback) const {
    return catalogue_->LookupMessage(key, fallback);
}

void MainWindow::localise(QDialog& window, const i18n::WindowCaption& caption) {
    auto components = DescribeComponents(&window);
    i18n::ApplyCaptions(*catalogue_, components, catalogue_->currentLanguage(), document_.capcodeCount());
    ApplyComponents(&window, components);
    window.setWindowTitle(QString::fromStdString(i18n::WindowCaptionText(*catalogue_, caption)));
}

void MainWindow::btnINI_LangClick() {
    std::vector<i18n::ComponentList> lists;
    lists.push_back(DescribeComponents(this));
    if (companions_)
        for (QWidget* w : companions_->exportOrder()) lists.push_back(DescribeComponents(w));
    std::vector<const i18n::ComponentList*> windows;
    for (const auto& l : lists) windows.push_back(&l);
    const auto path = std::filesystem::path(state_.programFolder) / i18n::kCaptionExportName;
    if (i18n::ExportCaptions(path, windows))
        notifier_->show({"", "Success !", MsgIcon::Information, {}});
    else
        notifier_->show(SaveErrorMessage());  // never report a file that was not written
}

// Capcode page selectors --------------------------------------------------------------------------------

void MainWindow::rebuildCapcodePageSelectors() {
    const i18n::ProfileData& file = catalogue_->data();
    const std::string& section = catalogue_->currentLanguage();
    state_.capcodePage = state_.sourcePage = state_.musicTypePage = 0;
    for (const char* name : {"cboCCPage", "cboSrcPage", "cboMTPage"}) {
        auto* combo = find<QComboBox>(name);
        if (!combo) continue;
        const auto entries = i18n::CapcodePageEntries(file, section, name, document_.capcodeCount());
        {
            const QSignalBlocker block(combo);
            combo->clear();
            for (const auto& e : entries) combo->addItem(QString::fromStdString(e));
            if (std::string_view(name) == "cboSrcPage") combo->setMaxVisibleItems(std::max(1, combo->count()));
            combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
        }
        emit combo->activated(combo->currentIndex());  // its change handler
    }
}

}  // namespace zrv::app
