#include "app/companion_windows.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/language_commands.h"
#include "app/main_window.h"
#include "app/window_components.h"
#include "core/image_rules.h"
#include "core/main_window_texts.h"
#include "editors/alert_window.h"
#include "editors/function_bit_window.h"
#include "i18n/ui/text_editor_window.h"
#include "link/ui/programming_window.h"
#include "ota/ui/ota_window.h"
#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "i18n/safe_format.h"
#include "ui/kit/accessible_names.h"
#include "ui_about_window.h"
#include "ui_password_dialog.h"

namespace zrv::app {

namespace {
QString Lookup(const i18n::MessageCatalogue* catalogue, const char* key, const char* english) {
    if (!catalogue) return QString::fromUtf8(english);
    return QString::fromStdString(catalogue->LookupMessage(key, english));
}
}  // namespace

// About ---------------------------------------------------------------------------

AboutWindow::AboutWindow(const FormState& state, const i18n::MessageCatalogue* catalogue,
                         QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::fm_About>()), state_(state), catalogue_(catalogue) {
    ui_->setupUi(this);
    setModal(true);
    connect(ui_->btnOK, &QPushButton::clicked, this, &AboutWindow::btnOKClick);
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void AboutWindow::FormShow() {
    setWindowTitle(Lookup(catalogue_, i18n::kAboutWindow.key, i18n::kAboutWindow.designed));
    ui_->lblVersion->setText(QString::fromStdString(state_.versionText));
    const std::string label = Lookup(catalogue_, "lblCS", "Channel Spacing").toStdString();
    const std::string text = i18n::SafeFormat(std::string(ChannelSpacingPattern(state_.channelSpacingMode)),
                                              {state_.bandText, label});
    ui_->lblCS->setText(QString::fromStdString(text));
    kit::NameControls(this);
}

// Advance password ----------------------------------------------------------------

PasswordDialog::PasswordDialog(FormState& state, const i18n::MessageCatalogue* catalogue,
                               Notifier& notifier, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::PasswordDlg1>()), state_(state),
      catalogue_(catalogue), notifier_(notifier) {
    ui_->setupUi(this);
    setModal(true);
    connect(ui_->OKBtn, &QPushButton::clicked, this, &PasswordDialog::OKBtnClick);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

PasswordDialog::~PasswordDialog() = default;

void PasswordDialog::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void PasswordDialog::FormShow() {
    setWindowTitle(Lookup(catalogue_, i18n::kPasswordDialog.key, i18n::kPasswordDialog.designed));
    if (catalogue_) {
        auto components = DescribeComponents(this);
        i18n::ApplyCaptions(*const_cast<i18n::MessageCatalogue*>(catalogue_), components,
                            catalogue_->currentLanguage(), kDefaultCapcodeCount);  // no capcode page texts here
        ApplyComponents(this, components);
        kit::NameControls(this, [this](const std::string& key, const std::string& english) {
            return catalogue_->LookupMessage(key, english);
        });
    }
    ui_->Password->setFocus();
}

void PasswordDialog::OKBtnClick() {
    if (AdvancePasswordAccepted(ui_->Password->text().toStdString())) {
        state_.advanceMode = true;
        if (onAdvance) onAdvance();
    } else {
        notifier_.show({"Msg29", "Password Error!", MsgIcon::Exclamation, {}});
    }
    accept();  // closes after OK in both cases; the typed text stays
}

CompanionWindows::CompanionWindows(MainWindow& main) {
    // Top-level windows without a parent: they must not count among the
    // main window's components (registry, captions, rescaling).
    QWidget* parent = nullptr;
    auto add = [this]<class W>(W* w) {
        order_ << w->objectName();
        return w;
    };
    frmOTA = add(new ota::ui::OtaWindow(main.notifier(), parent));
    fm_FunBit = add(new FunctionBitWindow(main, parent));
    fm_About = add(new AboutWindow(main.state(), &main.catalogue(), parent));
    Form1 = add(new link::ui::ProgrammingWindow(parent));
    frmAlert = add(new AlertWindow(main, parent));
    frmLang = add(new i18n::ui::TextEditorWindow(main.catalogue(), main.notifier(), parent));
    frmLang->model().applyMainWindowCaptions = [&main] { main.language().applyCaptions(); };
    PasswordDlg1 = add(new PasswordDialog(main.state(), &main.catalogue(), main.notifier(), parent));
    // Help > About and the Advance command open their windows.
    QObject::connect(main.action(QStringLiteral("mnuAbout")), &QAction::triggered, fm_About, &QDialog::exec);
    QObject::connect(main.action(QStringLiteral("Advance1")), &QAction::triggered, PasswordDlg1, [this, &main] {
        PasswordDlg1->onAdvance = [&main] {
            for (const char* name : {"Label2", "textPass"})
                if (QWidget* w = main.control(QString::fromLatin1(name))) w->setVisible(true);
        };
        PasswordDlg1->exec();
    });
}

CompanionWindows::~CompanionWindows() {
    for (QWidget* w : std::initializer_list<QWidget*>{PasswordDlg1, frmLang, frmAlert, Form1, fm_About,
                                                       fm_FunBit, frmOTA})
        delete w;
}

std::vector<QWidget*> CompanionWindows::exportOrder() const {
    return {fm_FunBit, frmAlert, frmLang, fm_About, PasswordDlg1, Form1};
}

}  // namespace zrv::app
