#include "app/language_commands.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <string_view>

#include "app/companion_windows.h"
#include "app/window_components.h"
#include "core/table_file.h"
#include "editors/main_form.h"
#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "i18n/ui/text_editor_window.h"
#include "ui/kit/accessible_names.h"

namespace zrv::app {

LanguageCommands::LanguageCommands(QMainWindow& window, MainForm& form, i18n::MessageCatalogue& catalogue)
    : QObject(&window), window_(window), form_(form), catalogue_(catalogue) {
    connect(form_.action(QStringLiteral("mnuEnglish")), &QAction::triggered, this, &LanguageCommands::mnuEnglishClick);
    connect(form_.action(QStringLiteral("mnuGerman")), &QAction::triggered, this, &LanguageCommands::mnuGermanClick);
    connect(form_.action(QStringLiteral("mnuEditLang")), &QAction::triggered, this, [this] {
        if (companions_ && companions_->frmLang) companions_->frmLang->exec();
    });
    if (auto* lang = window_.findChild<QPushButton*>(QStringLiteral("btnINI_Lang")))
        connect(lang, &QPushButton::clicked, this, &LanguageCommands::btnINI_LangClick);
}

void LanguageCommands::startUp() {
    if (const auto language = catalogue_.StartUp()) runLanguageAction(*language);
    if (const auto& problem = catalogue_.startUpProblem()) {
        followLanguage();              // English marked, the designed texts stay
        form_.notifier().show(*problem);  // said once
    }
    form_.state().language = catalogue_.currentLanguage();
    nameControls(window_);
    // The rows in view are renumbered with their page: their controls'
    // names and descriptions follow.
    for (const char* name : {"cboCCPage", "cboECPage", "cboSrcPage", "cboMTPage"})
        if (auto* combo = form_.find<QComboBox>(name))
            connect(combo, &QComboBox::activated, this, [this] { nameControls(window_); });
}

void LanguageCommands::mnuEnglishClick() { runLanguageAction(i18n::kEnglish); }
void LanguageCommands::mnuGermanClick() { runLanguageAction(i18n::kGerman); }

void LanguageCommands::runLanguageAction(const std::string& language) {
    auto components = DescribeComponents(&window_);
    i18n::RunLanguageAction(catalogue_, language, components, form_.document().capcodeCount());
    ApplyComponents(&window_, components);
    followLanguage();
}

void LanguageCommands::followLanguage() {
    form_.state().language = catalogue_.currentLanguage();
    form_.action(QStringLiteral("mnuEnglish"))->setChecked(catalogue_.englishChecked());
    form_.action(QStringLiteral("mnuGerman"))->setChecked(catalogue_.germanChecked());
    // Texts built from page numbers are rebuilt in the new language.
    for (const char* name : {"cboCCPage", "cboECPage", "cboSrcPage", "cboMTPage"})
        if (auto* combo = form_.find<QComboBox>(name)) emit combo->activated(combo->currentIndex());
    nameControls(window_);
    emit captionsApplied();
}

void LanguageCommands::nameControls(QWidget& window) const {
    kit::NameControls(&window, [this](const std::string& key, const std::string& english) {
        return catalogue_.LookupMessage(key, english);
    });
}

void LanguageCommands::applyCaptions() {
    auto components = DescribeComponents(&window_);
    i18n::ApplyCaptions(catalogue_, components, catalogue_.currentLanguage(), form_.document().capcodeCount());
    ApplyComponents(&window_, components);
    followLanguage();
}

std::string LanguageCommands::text(const char* key, const std::string& fallback) const {
    return catalogue_.LookupMessage(key, fallback);
}

void LanguageCommands::localise(QDialog& window, const i18n::WindowCaption& caption) {
    auto components = DescribeComponents(&window);
    i18n::ApplyCaptions(catalogue_, components, catalogue_.currentLanguage(), form_.document().capcodeCount());
    ApplyComponents(&window, components);
    window.setWindowTitle(QString::fromStdString(i18n::WindowCaptionText(catalogue_, caption)));
    nameControls(window);
}

void LanguageCommands::btnINI_LangClick() {
    std::vector<i18n::ComponentList> lists;
    lists.push_back(DescribeComponents(&window_));
    if (companions_)
        for (QWidget* w : companions_->exportOrder()) lists.push_back(DescribeComponents(w));
    std::vector<const i18n::ComponentList*> windows;
    for (const auto& l : lists) windows.push_back(&l);
    const auto path = std::filesystem::path(form_.state().programFolder) / i18n::kCaptionExportName;
    if (i18n::ExportCaptions(path, windows))
        form_.notifier().show({"", "Success !", MsgIcon::Information, {}});
    else
        form_.notifier().show(SaveErrorMessage());  // never report a file that was not written
}

void LanguageCommands::rebuildCapcodePageSelectors() {
    const i18n::ProfileData& file = catalogue_.data();
    const std::string& section = catalogue_.currentLanguage();
    FormState& state = form_.state();
    state.capcodePage = state.sourcePage = state.musicTypePage = 0;
    for (const char* name : {"cboCCPage", "cboSrcPage", "cboMTPage"}) {
        auto* combo = form_.find<QComboBox>(name);
        if (!combo) continue;
        const auto entries = i18n::CapcodePageEntries(file, section, name, form_.document().capcodeCount());
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
