#include "app/companion_windows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/window_components.h"
#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "i18n/safe_format.h"
#include "ui_about_window.h"
#include "ui_password_dialog.h"

namespace zrv::app {

namespace {
constexpr const char* kAdvancePassword = "KV3R8T52";

QString Lookup(const i18n::MessageCatalogue* catalogue, const char* key, const char* english) {
    if (!catalogue) return QString::fromUtf8(english);
    return QString::fromStdString(catalogue->LookupMessage(key, english));
}
}  // namespace

QString ChannelSpacingPattern(int mode) {
    switch (mode) {
        case 1: return QStringLiteral("                %s : %s = 6.25KHz");
        case 2: return QStringLiteral("                %s : %s = Auto");
        default: return QStringLiteral("%s : %s = 5KHz");
    }
}

bool AdvancePasswordAccepted(const QString& typed) {
    const QString password = QString::fromLatin1(kAdvancePassword);
    return typed == password || typed == password.toLower();
}

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
    const std::string text = i18n::SafeFormat(ChannelSpacingPattern(state_.channelSpacingMode).toStdString(),
                                              {state_.bandText, label});
    ui_->lblCS->setText(QString::fromStdString(text));
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
                            catalogue_->currentLanguage(), state_.capcodeCount);
        ApplyComponents(this, components);
    }
    ui_->Password->setFocus();
}

void PasswordDialog::OKBtnClick() {
    if (AdvancePasswordAccepted(ui_->Password->text())) {
        state_.advanceMode = true;
        if (onAdvance) onAdvance();
    } else {
        notifier_.show({"Msg29", "Password Error!", MsgIcon::Exclamation, {}});
    }
    accept();  // closes after OK in both cases; the typed text stays
}

// Shells -----------------------------------------------------------------------------

WindowShell::WindowShell(const QString& name, const QString& title, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    setProperty("designedClass", QStringLiteral("TForm"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("btnShellClose"));
    layout->addWidget(close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(320, 80);
}

CompanionWindows::CompanionWindows(MainWindow& main) {
    // Top-level windows without a parent: they must not count among the
    // main window's components (registry, captions, rescaling).
    QWidget* parent = nullptr;
    auto add = [this](QDialog* w) {
        order_ << w->objectName();
        return w;
    };
    frmOTA = add(new WindowShell("frmOTA", "OTA", parent));
    fm_FunBit = static_cast<WindowShell*>(
        add(new WindowShell("fm_FunBit", i18n::kFunctionBitWindow.designed, parent)));
    fm_About = static_cast<AboutWindow*>(add(new AboutWindow(main.state(), &main.catalogue(), parent)));
    Form1 = add(new WindowShell("Form1", i18n::kProgrammingWindow.designed, parent));
    frmAlert = add(new WindowShell("frmAlert", i18n::kAlertWindow.designed, parent));
    frmLang = add(new WindowShell("frmLang", i18n::kTextEditorWindow.designed, parent));
    PasswordDlg1 = static_cast<PasswordDialog*>(
        add(new PasswordDialog(main.state(), &main.catalogue(), main.notifier(), parent)));
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
