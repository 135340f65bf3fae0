#include "link/ui/connection_check_window.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTextBrowser>

#include "ui/kit/accessible_names.h"
#include "ui_connection_check_window.h"

namespace zrv::link::ui {

namespace {

/// The colour of a finding's severity word.
const char* ColourOf(Severity severity) {
    switch (severity) {
        case Severity::Ok: return "#007000";
        case Severity::Note: return "#606060";
        case Severity::Warning: return "#A05A00";
        case Severity::Problem: break;
    }
    return "#D00000";
}

QString Html(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

}  // namespace

ConnectionCheckWindow::ConnectionCheckWindow(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmCheck>()) {
    ui_->setupUi(this);
    setModal(true);
    connect(ui_->btnCheckAgain, &QPushButton::clicked, this, &ConnectionCheckWindow::checkNow);
    connect(ui_->btnCheckCopy, &QPushButton::clicked, this, &ConnectionCheckWindow::copyReport);
    connect(ui_->btnCheckClose, &QPushButton::clicked, this, &QDialog::accept);
}

ConnectionCheckWindow::~ConnectionCheckWindow() = default;

std::string ConnectionCheckWindow::textOf(const Message& message) const {
    return hooks_.text ? hooks_.text(message) : message.english;
}

void ConnectionCheckWindow::applyTexts() {
    setWindowTitle(QString::fromStdString(textOf({"frmCheck", "Check Board Connection"})));
    ui_->btnCheckAgain->setText(QString::fromStdString(textOf({"btnCheckAgain", "Check Again"})));
    ui_->btnCheckCopy->setText(QString::fromStdString(textOf({"btnCheckCopy", "Copy Report"})));
    ui_->btnCheckClose->setText(QString::fromStdString(textOf({"btnCheckClose", "Close"})));
    kit::NameControls(this, [this](const std::string& key, const std::string& english) {
        return textOf(Message(key, english));
    });
}

void ConnectionCheckWindow::run() {
    started_ = false;
    findings_.clear();
    ui_->txtFindings->clear();
    exec();
}

void ConnectionCheckWindow::showEvent(QShowEvent* event) {
    applyTexts();
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // The check runs from the window's own event loop once it is up.
        QMetaObject::invokeMethod(this, &ConnectionCheckWindow::checkNow, Qt::QueuedConnection);
    }
}

void ConnectionCheckWindow::done(int result) {
    if (checking_) return;  // the probe holds the port: the window waits for it
    QDialog::done(result);
}

void ConnectionCheckWindow::checkNow() {
    if (checking_ || !hooks_.check) return;
    checking_ = true;
    ui_->btnCheckAgain->setEnabled(false);
    ui_->btnCheckCopy->setEnabled(false);
    ui_->btnCheckClose->setEnabled(false);
    ui_->lblCheckState->setText(QString::fromStdString(textOf({"MsgCheckRunning", "Checking the connection to the programmer board ..."})));
    ui_->lblCheckState->repaint();
    findings_ = hooks_.check();
    checking_ = false;
    ui_->btnCheckAgain->setEnabled(true);
    ui_->btnCheckCopy->setEnabled(true);
    ui_->btnCheckClose->setEnabled(true);
    showFindings();
}

void ConnectionCheckWindow::showFindings() {
    const auto main = MainProblem(findings_);
    ui_->lblCheckState->setText(QString::fromStdString(
        main ? textOf({"MsgCheckFoundProblem", "The board cannot be reached: the first problem below is why."})
             : textOf({"MsgCheckAllWell", "Nothing stands between this PC and the programmer board."})));
    QString html;
    for (const auto& f : findings_) {
        html += QStringLiteral("<p style=\"white-space:pre-wrap\"><b style=\"color:%1\">%2</b>  %3")
                    .arg(QLatin1String(ColourOf(f.severity)), Html(textOf(SeverityLabel(f.severity))),
                         Html(textOf(f.text)));
        if (!f.fix.key.empty()) html += QStringLiteral("<br>") + Html(textOf(f.fix));
        if (!f.command.empty()) html += QStringLiteral("<br><code>") + Html(f.command) + QStringLiteral("</code>");
        html += QStringLiteral("</p>");
    }
    ui_->txtFindings->setHtml(html);
}

std::string ConnectionCheckWindow::reportText() const {
    return ReportText(findings_, [this](const Message& m) { return textOf(m); });
}

void ConnectionCheckWindow::copyReport() {
    QApplication::clipboard()->setText(QString::fromStdString(reportText()));
}

}  // namespace zrv::link::ui
