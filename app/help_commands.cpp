#include "app/help_commands.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <stdexcept>
#include <system_error>

#include "app/main_window.h"
#include "app/page_set.h"
#include "editors/help_window.h"
#include "i18n/message_catalogue.h"

namespace zrv::app {

namespace {

/// The sections of the guide: the six pages by their panel, then the
/// windows by their name. A window not listed opens the guide at its start.
constexpr HelpSection kSections[] = {
    {"panCF", "the-freq--codes-page"},
    {"panAS", "the-alerts--status-page"},
    {"panPE", "the-prompts-edit-page"},
    {"pnlSource", "the-source-prompts-page"},
    {"pnlMusic", "the-music--tone-page"},
    {"panAES", "the-aes-encryption-page"},
    {"fm_FunBit", "the-function-bit-window"},
    {"frmAlert", "the-alert-window"},
    {"Form1", "programming-pagers"},
    {"frmCompare", "comparing-configurations"},
    {"frmBatch", "programming-a-customers-order"},
    {"frmProgLog", "the-programming-log"},
    {"frmOTA", "the-ota-window"},
    {"frmLang", "translating-the-program-the-ui-text-editor"},
    {"frmCheck", "when-the-board-is-not-found"},
    {"PasswordDlg1", "advanced-settings"},
};

const Message kGuideItem{"MenuUserGuide", "&User Guide"};

Message GuideMissing(const std::string& reason) {
    return {"MsgGuideMissing", "The user guide cannot be opened: " + reason, MsgIcon::Exclamation, {reason}};
}

}  // namespace

std::span<const HelpSection> HelpSections() { return kSections; }

QString SectionOf(const QString& name) {
    for (const HelpSection& s : kSections)
        if (name == QLatin1String(s.name)) return QString::fromLatin1(s.anchor);
    return {};
}

HelpCommands::HelpCommands(MainWindow& main, std::filesystem::path guide) : main_(main), guide_(std::move(guide)) {
    auto* help = main_.findChild<QMenu*>(QStringLiteral("mnuHelp"));
    if (!help) throw std::logic_error("the main window has no menu mnuHelp");
    // Unnamed, as the other items added in code: its text is set here. The
    // menu opens the guide at its contents; F1 is answered by the filter
    // below, in every window alike, with the section of what is in front.
    guideAction_ = new QAction(help);
    help->insertAction(help->actions().value(0), guideAction_);
    connect(help, &QMenu::aboutToShow, this, &HelpCommands::updateTexts);
    connect(guideAction_, &QAction::triggered, this, [this] { showGuide(QString()); });
    updateTexts();
    qApp->installEventFilter(this);
}

HelpCommands::~HelpCommands() { delete window_; }

HelpWindow* HelpCommands::window() const { return window_; }

void HelpCommands::updateTexts() {
    // The shortcut column of the menu shows F1.
    guideAction_->setText(QString::fromStdString(i18n::MessageText(main_.catalogue(), kGuideItem)) +
                          QStringLiteral("\tF1"));
    if (window_) window_->applyTexts();
}

void HelpCommands::showHelpFor(QWidget* window) {
    QString anchor;
    if (window == &main_) {
        if (const QFrame* page = main_.pages().currentPanel()) anchor = SectionOf(page->objectName());
    } else if (window) {
        anchor = SectionOf(window->objectName());
    }
    showGuide(anchor);
}

void HelpCommands::showGuide(const QString& anchor) {
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(guide_, ec);
    if (!window_) {
        window_ = new HelpWindow([this](const Message& m) { return i18n::MessageText(main_.catalogue(), m); });
        window_->applyTexts();
    }
    if (window_->file().empty() || ec || time != loadedTime_) {
        std::string error;
        if (!window_->load(guide_, error)) {
            main_.notifier().show(GuideMissing(error));
            return;
        }
        loadedTime_ = time;
    }
    // Opened from a modal window (the OTA window, the text editor), the guide
    // must take input above it; otherwise it stays beside the main window.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality modality = modal && modal != window_ ? Qt::ApplicationModal : Qt::NonModal;
    if (window_->windowModality() != modality) {
        window_->hide();
        window_->setWindowModality(modality);
    }
    window_->applyTexts();
    window_->show();
    window_->raise();
    window_->activateWindow();
    window_->showSection(anchor);
    // Once a window shown for the first time has its final size, the
    // section's place is known for sure.
    QTimer::singleShot(0, window_, [w = window_.data(), anchor] { w->showSection(anchor); });
}

bool HelpCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
        static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    QWidget* window = static_cast<QWidget*>(watched)->window();
    if (window == window_) return QObject::eventFilter(watched, event);
    showHelpFor(window);
    return true;
}

}  // namespace zrv::app
